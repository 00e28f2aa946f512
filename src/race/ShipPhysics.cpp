// The ships' speed functions.
#include "race/ShipPhysics.h"

#include <algorithm>
#include <cmath>

#include "engine/Rounding.h"

namespace quillon {

double TopSpeedFactor(int speedRating) { return speedRating / 11.0 / 10.0 + 0.9; }

double AccelStep(double v, int accelRating, bool nitro) {
    if (nitro || v <= 0) return 0.3;
    return std::min(0.3, (3.0 * accelRating + 80) / (v * std::sqrt(2 * v)));
}

double TurnStep(double v, int handlingRating) {
    if (v > 0) return std::min(0.8, 1000 / (v * std::sqrt(v * (4 - handlingRating / 10.0))));
    return std::min(0.8, -v / 5);
}

double BrakeStep(int brakeRating) { return (11 - brakeRating) / 40.0 + 0.25; }

double CoastStep(double v, int accelRating, bool nitro) {
    if (v <= 0) return 0;
    return std::max(0.05, (0.3 - AccelStep(v, accelRating, nitro)) / 2);
}

int EngineBand(double v, double m) {
    if (v > 0 && v <= 65 * m) return 9;
    if (v > 67 * m && v <= 97 * m) return 10;
    if (v > 97 * m && v <= 116 * m) return 11;
    if (v > 116 * m && v <= 157 * m) return 12;
    if (v > 157 * m && v <= 180 * m) return 13;
    return 0;
}

int SpeedometerReading(double speed) {
    if (speed < 0) return 0;
    return static_cast<int>(Round(speed * 1.9 * 10));
}

}  // namespace quillon
