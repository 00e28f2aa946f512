// TPlayer's draw: the rivals under it, its exhaust flame, the ship turned to its
// heading (or its explosion), then what flies and the dashboard above it.
#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"
#include "race/Shots.h"

namespace quillon {

void TPlayer::DrawSelf() {
    X = ScreenX;
    Y = ScreenY;
    if (FRace.Rivals()) FRace.Rivals()->DrawRivals();
    DrawShip();
    if (TSpriteEngine* engine = Engine(); engine && engine->Surface()) DrawShots(FRace, *engine->Surface());
    DrawDashboard();
}

void TPlayer::DrawShip() {
    TSpriteEngine* engine = Engine();
    TPictureCollection* list = SpriteWorld.List(2);
    if (!engine || !engine->Surface() || !list || !Item()) return;
    TDirectDrawSurface& surface = *engine->Surface();
    const int pattern = static_cast<int>(Trunc(FramePos));
    if (Dead && !Respawned) {
        Item()->Draw(surface, static_cast<int>(Round(X)), static_cast<int>(Round(Y)), pattern);
        return;
    }
    const int cx = static_cast<int>(Round(ShipCentreX)), cy = static_cast<int>(Round(ShipCentreY));
    if (Controls.Accelerate && !Finished) {
        // Straight ahead the flame flickers by a step either way.
        const int angle = Heading != 0 ? Heading : BlinkOn ? 1 : -2;
        TPictureCollectionItem& flame = list->Items(Groups[GroupNitro] ? 4 : 3);
        flame.DrawRotated(surface, cx, cy, 18, 34, static_cast<int>(Trunc(BlinkPhase)), 0.5,
                          -34.0 / Ship(ShipNumber).FlameOffset, angle);
    }
    Item()->DrawRotated(surface, cx, cy, Width, Height, pattern, 0.5, 0.5, Heading);
}

}  // namespace quillon
