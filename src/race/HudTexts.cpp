// The heads-up display's texts.
#include "race/HudTexts.h"

#include <cmath>

#include "engine/Rounding.h"

namespace quillon {

namespace {
std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
}  // namespace

std::string ClockText(int timeLeftMs) {
    return TwoDigits(timeLeftMs / 60000) + " : " + TwoDigits((timeLeftMs / 1000) % 60);
}

std::string PlaceText(int place, int racers) { return std::to_string(place) + "/" + std::to_string(racers); }

int TileDistance(double fromY, double toY) { return static_cast<int>(Round(std::fabs(fromY - toY) / 72)); }

}  // namespace quillon
