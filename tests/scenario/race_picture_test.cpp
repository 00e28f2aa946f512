// What the player sees of the race: firing changes the picture exactly where the state dump
// places the shot, and nowhere else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/PngImage.h"
#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

class RacePictureTest : public TScriptedRun {};

TEST_F(RacePictureTest, FiringChangesThePictureWhereTheShotFlies) {
    const int racing = Ready + 182 + 5, firing = racing + 60, seen = firing + 8;
    for (bool fire : {false, true}) {
        At(Ready, "race 1 1");
        At(racing, "down Up");
        if (fire) At(firing, "down Z");
        At(seen, std::string("shot ") + (fire ? "fired" : "still") + ".png");
        if (fire) Dump(seen);
        Run(seen + 1, 1);
    }
    const TJson state = State(seen);
    const TJson& race = state["race"];
    const TJson* shot = nullptr;
    for (const TJson& s : race["shots"].Array)
        if (s["Owner"].Int() == 1) shot = &s;
    ASSERT_NE(shot, nullptr) << "the player's shot is in the table";
    const double sx = (*shot)["X"].Number - 72.0 * race["ViewCol"].Int() + race["BackgroundX"].Number;
    const double sy = (*shot)["Y"].Number - 72.0 * race["ViewRow"].Int() + race["BackgroundY"].Number;

    const TPngImage fired = ReadPng(Dir + "/fired.png"), still = ReadPng(Dir + "/still.png");
    ASSERT_EQ(fired.Width, 800);
    ASSERT_EQ(still.Width, 800);
    int changed = 0, farOff = 0;
    for (int y = 0; y < fired.Height; ++y)
        for (int x = 0; x < fired.Width; ++x) {
            if (fired.At(x, y) == still.At(x, y)) continue;
            ++changed;
            // A gun shot is 10 x 25 turned about its centre: nothing of it lies further off.
            if (std::hypot(x - sx, y - sy) > 16) ++farOff;
        }
    EXPECT_GE(changed, 40) << "the shot shows at (" << sx << ", " << sy << ")";
    EXPECT_EQ(farOff, 0) << "only the shot changed the picture";
}

}  // namespace
}  // namespace quillon::testing
