// The texts of the heads-up display, drawn over the race's pictures every race frame and
// over the race's dialogs: level, clock, score, lives, place and the rivals' distances.
#include <string>

#include "app/MainForm.h"
#include "engine/MessageCatalog.h"
#include "race/HudTexts.h"

namespace quillon {

void TMForm::DrawHud() {
    if (!Race.Running()) return;
    const TRaceState& race = Race.State;
    const std::string level = TrDrawn("УРОВЕНЬ ");
    FText.SelectFont(6);
    FText.DrawText(level + std::to_string(race.Level) + " / 10", 716, 14, true, true);
    FText.SelectFont(18);
    FText.DrawText(ClockText(race.TimeLeft), 724, 238, true, true);
    FText.DrawText(std::to_string(race.Score), 718, 318, true, true);
    FText.SelectFont(7);
    FText.DrawText(race.Lives < 0 ? "0" : std::to_string(race.Lives), 783, 575, true, true);
    FText.SelectFont(24);
    FText.DrawText(PlaceText(race.Place, race.Racers), 670, 198, false, true);
    const double player = Race.PlayerWorldY();
    if (race.BehindMarker) {
        FText.SelectFont(24);
        FText.DrawText(std::to_string(TileDistance(player, race.BehindY)), 732, 176, false, false);
    }
    if (race.AheadMarker) {
        FText.SelectFont(24);
        FText.DrawText(std::to_string(TileDistance(player, race.AheadY)), 732, 42, false, false);
    }
}

}  // namespace quillon
