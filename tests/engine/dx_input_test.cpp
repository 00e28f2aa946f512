// Key states: the stored bindings, held keys, the foreground rule and the merge.
#include <gtest/gtest.h>

#include "engine/DXInput.h"

namespace quillon {
namespace {

struct TKeys {
    uint8_t bytes[256] = {};
    TKeys& Down(int vk) { bytes[vk] = 0x80; return *this; }
    TKeys& Up(int vk) { bytes[vk] = 0; return *this; }
};

TEST(DXInput, StoredBindingsSetTheirStates) {
    struct Case { int key; int state; } cases[] = {
        {38, StateUp}, {40, StateDown}, {37, StateLeft}, {39, StateRight}, {'H', StateButton(5)},
        {'P', StateButton(6)}, {'Y', StateButton(7)}, {'N', StateButton(8)}, {27, StateButton(9)},
        {32, StateButton(10)}, {13, StateButton(11)}, {'Z', StateButton(12)}, {'X', StateButton(13)},
        {'C', StateButton(14)}, {'B', StateButton(16)}, {'1', StateButton(17)}, {'9', StateButton(25)},
        {'0', StateButton(26)},
    };
    for (const Case& c : cases) {
        TDXInput input;
        TKeys keys;
        input.UpdateInput(keys.Down(c.key).bytes, true);
        EXPECT_TRUE(input.Has(c.state)) << c.key;
        EXPECT_EQ(input.InputStates.count(), 1u) << c.key;
    }
}

TEST(DXInput, AHeldKeyStaysOnUntilReleased) {
    TDXInput input;
    TKeys keys;
    keys.Down(38);
    for (int frame = 0; frame < 3; ++frame) {
        input.UpdateInput(keys.bytes, true);
        EXPECT_TRUE(input.Has(StateUp));
    }
    input.UpdateInput(keys.Up(38).bytes, true);
    EXPECT_FALSE(input.Has(StateUp));
}

TEST(DXInput, KeysAreIgnoredWhileAnotherWindowIsInFront) {
    TDXInput input;
    TKeys keys;
    input.UpdateInput(keys.Down('Z').bytes, false);
    EXPECT_FALSE(input.Has(StateButton(12)));
    input.ActiveOnly = false;
    input.UpdateInput(keys.bytes, false);
    EXPECT_TRUE(input.Has(StateButton(12)));
}

TEST(DXInput, UnboundAndOutOfRangeCodesNeverMatch) {
    TDXInput input;
    input.Keyboard.Assigns[StateButton(1)] = {0, 256, -5};
    TKeys keys;
    keys.bytes[0] = 0x80;
    input.UpdateInput(keys.Down('Q').bytes, true);
    EXPECT_TRUE(input.InputStates.none());
}

TEST(DXInput, AStateClearedByTheGameStaysOffWhileItsKeyIsHeld) {
    TDXInput input;
    TKeys keys;
    input.UpdateInput(keys.Down(27).bytes, true);
    input.InputStates.reset(StateButton(9));
    input.UpdateInput(keys.bytes, true);
    EXPECT_FALSE(input.Has(StateButton(9)));
    input.UpdateInput(keys.Up(27).bytes, true);
    input.UpdateInput(keys.Down(27).bytes, true);
    EXPECT_TRUE(input.Has(StateButton(9)));
}

TEST(DXInput, AnUnreadyKeyboardReportsNothing) {
    TDXInput input;
    input.Keyboard.Ready = false;
    TKeys keys;
    input.UpdateInput(keys.Down(38).bytes, true);
    EXPECT_TRUE(input.InputStates.none());
}

}  // namespace
}  // namespace quillon
