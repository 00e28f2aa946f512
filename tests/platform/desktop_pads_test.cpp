// The desktop's gamepads end to end through SDL: a virtual pad plugged in while the game
// runs is opened, its buttons and left stick reach the game as pad events, and pulling it
// out lets go of everything it held.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DesktopPlatform.h"
#include "support/PadEventText.h"

namespace quillon {
namespace {

std::vector<TWindowEvent> PadEvents(TDesktopPlatform& platform) {
    std::vector<TWindowEvent> events;
    TWindowEvent event;
    for (int i = 0; i < 5; ++i) {  // the joystick layer may need a pump to pass a change on
        SDL_PumpEvents();
        while (platform.PollEvent(event))
            if (event.Type == TWindowEvent::TType::PadDown || event.Type == TWindowEvent::TType::PadUp)
                events.push_back(event);
    }
    return events;
}

using testing::DescribePadEvents;
using testing::PadDownText;
using testing::PadUpText;

TEST(DesktopPads, APadPluggedInPlayedAndPulledOut) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    TDesktopPlatform platform;
    PadEvents(platform);

    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    if (!SDL_IsGameController(index)) {
        SDL_JoystickDetachVirtual(index);
        GTEST_SKIP() << "this SDL does not map virtual pads as game controllers";
    }
    EXPECT_EQ(DescribePadEvents(PadEvents(platform)), "");  // plugged in: opened, nothing pressed

    SDL_Joystick* pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(DescribePadEvents(PadEvents(platform)), PadDownText(TPadButton::A));
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_EQ(DescribePadEvents(PadEvents(platform)), PadUpText(TPadButton::A) + PadDownText(TPadButton::Start));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(DescribePadEvents(PadEvents(platform)), PadDownText(TPadButton::StickLeft));

    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    const std::string released = DescribePadEvents(PadEvents(platform));
    EXPECT_NE(released.find(PadUpText(TPadButton::Start)), std::string::npos) << released;
    EXPECT_NE(released.find(PadUpText(TPadButton::StickLeft)), std::string::npos) << released;
}

}  // namespace
}  // namespace quillon
