// The gamepad played as the keyboard: which key each button stands for where, and the
// keys held while buttons are down.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/PadInput.h"

namespace quillon {
namespace {

using B = TPadButton;
using C = TPadContext;

TEST(PadInput, EachButtonStandsForTheKeyboardsKeyOfTheSameControl) {
    const struct {
        TPadButton Button;
        int Menu, YesNo, Race;
    } cases[] = {
        {B::DpadUp, 38, 38, 38},    {B::StickUp, 38, 38, 38},       {B::DpadDown, 40, 40, 40},
        {B::StickDown, 40, 40, 40}, {B::DpadLeft, 37, 37, 37},      {B::StickLeft, 37, 37, 37},
        {B::DpadRight, 39, 39, 39}, {B::StickRight, 39, 39, 39},
        {B::A, 13, 'Y', 'Z'},       // Enter, yes, fire
        {B::B, 27, 'N', 27},        // Escape, no, Escape
        {B::X, 0, 0, 'X'},          // nitro
        {B::Y, 0, 0, 'H'},          // horn
        {B::RightShoulder, 0, 0, 32},  // hard brake
        {B::Start, 'P', 'P', 'P'},  // pause
        {B::LeftShoulder, 0, 0, 0}, {B::Back, 0, 0, 0}, {B::Guide, 0, 0, 0},
    };
    const TPadInput pad;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Button));
        EXPECT_EQ(pad.KeyFor(c.Button, C::Menu), c.Menu);
        EXPECT_EQ(pad.KeyFor(c.Button, C::YesNo), c.YesNo);
        EXPECT_EQ(pad.KeyFor(c.Button, C::Race), c.Race);
    }
}

// Buttons moved by the settings: the race's controls win in the race, Enter and Escape in the
// menus, and a button the game's own layout used stands for nothing once its action moved.
TEST(PadInput, MovedButtonsStandForTheirActionsKeysWhereTheGameIs) {
    TSettings settings;
    settings.Pad[static_cast<size_t>(TAction::Fire)] = {B::RightShoulder};
    settings.Pad[static_cast<size_t>(TAction::Brake)] = {B::LeftShoulder};
    settings.Pad[static_cast<size_t>(TAction::Enter)] = {B::Start};
    settings.Pad[static_cast<size_t>(TAction::Pause)] = {B::Back};
    const TPadInput pad(settings.Pad);
    const struct {
        TPadButton Button;
        int Menu, YesNo, Race;
    } cases[] = {
        {B::RightShoulder, 0, 0, 'Z'}, {B::LeftShoulder, 0, 0, 32}, {B::Start, 13, 'Y', 0},
        {B::Back, 'P', 'P', 'P'},      {B::A, 0, 0, 0},              {B::B, 27, 'N', 27},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Button));
        EXPECT_EQ(pad.KeyFor(c.Button, C::Menu), c.Menu);
        EXPECT_EQ(pad.KeyFor(c.Button, C::YesNo), c.YesNo);
        EXPECT_EQ(pad.KeyFor(c.Button, C::Race), c.Race);
    }
}

TEST(PadInput, AButtonLetsGoOfTheKeyItPressedWhereverTheGameHasGone) {
    TPadInput pad;
    EXPECT_EQ(pad.Press(B::A, C::Menu), 13);  // Enter starts the race...
    EXPECT_EQ(pad.Press(B::A, C::Race), 0);   // ...a repeated press sends nothing
    uint8_t keys[256] = {};
    pad.AddHeldKeys(keys);
    EXPECT_EQ(keys[13], 0x80);
    EXPECT_EQ(keys['Z'], 0);
    EXPECT_EQ(pad.Release(B::A), 13);         // ...and the release lets go of Enter, not fire
    EXPECT_EQ(pad.Release(B::A), 0);
    uint8_t after[256] = {};
    pad.AddHeldKeys(after);
    EXPECT_EQ(after[13], 0);
}

TEST(PadInput, TheDpadAndTheStickShareTheArrowsUntilBothLetGo) {
    TPadInput pad;
    EXPECT_EQ(pad.Press(B::DpadLeft, C::Race), 37);
    EXPECT_EQ(pad.Press(B::StickLeft, C::Race), 0);  // already down
    EXPECT_EQ(pad.Release(B::DpadLeft), 0);          // the stick still holds it
    uint8_t keys[256] = {};
    pad.AddHeldKeys(keys);
    EXPECT_EQ(keys[37], 0x80);
    EXPECT_EQ(pad.Release(B::StickLeft), 37);
    EXPECT_EQ(pad.Press(B::X, C::Menu), 0);  // no use in the menus: nothing held
    EXPECT_EQ(pad.Release(B::X), 0);
}

}  // namespace
}  // namespace quillon
