// The boss key's name on the options screen.
#include <gtest/gtest.h>

#include "menus/BossKeyName.h"

namespace quillon {
namespace {

TEST(BossKeyName, ModifierKeyAndQuestionMarkForWhatIsMissing) {
    const struct { TShiftState shift; uint16_t code; const char* name; } cases[] = {
        {{}, 123, "F12"},
        {TShiftState::Of(TShiftKey::Ctrl), 116, "CTRL+F5"},
        {TShiftState::Of(TShiftKey::Alt), 112, "ALT+F1"},
        {TShiftState::Of(TShiftKey::Shift), 0, "SHIFT+?"},
        {TShiftState::Of(TShiftKey::Ctrl), 0, "CTRL+?"},
        {{}, 0, "?"},
        {{}, 65, "?"},  // not a function key
        {TShiftState{6}, 113, "ALT+F2"},  // Alt wins over Ctrl
    };
    for (const auto& c : cases) EXPECT_EQ(BossKeyName(c.shift, c.code), c.name) << c.name;
}

}  // namespace
}  // namespace quillon
