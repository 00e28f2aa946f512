// How the game ends and what holds off the boss key, on a form of its own: a stop signal saves
// and opens nothing, and a mouse button of any kind held down keeps the boss key from firing.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "app/Application.h"
#include "app/InputDoor.h"
#include "support/GameFolderFixture.h"

namespace quillon::testing {
namespace {

using TLeaving = TGameFolderTest;

TEST_F(TLeaving, AStopSignalSavesButOpensNothing) {
    std::ofstream(GameDir + "/play.url") << "[InternetShortcut]\r\nURL=https://example.org/play\r\n";
    TMForm& form = StartForm();
    TApplication application(*Platform, form);
    TApplication::RequestStop();
    application.Run();
    EXPECT_TRUE(application.StoppedBySignal());
    EXPECT_TRUE(form.Terminated());
    EXPECT_TRUE(Platform->Opened().empty());
    EXPECT_TRUE(std::filesystem::exists(GameDir + "/Data/Save/options"));
}

// A headless platform whose events are the ones the test hands it.
class TGivenEvents : public THeadlessPlatform {
public:
    TGivenEvents() : THeadlessPlatform(100, 85, THeadlessScript()) {}
    bool PollEvent(TWindowEvent& event) override {
        if (Queue.empty()) return false;
        event = Queue.front();
        Queue.pop_front();
        return true;
    }
    std::deque<TWindowEvent> Queue;
};

// The input door gives each key its shift state, mouse buttons included.
TEST_F(TLeaving, AnyMouseButtonHeldKeepsTheBossKeyFromFiring) {
    TGivenEvents platform;
    TInputDoor door(platform, TSettings{});
    TMForm form(door, TFormServices{nullptr, &Music, &Fonts});
    form.StartSeed = 1;
    form.FormCreate();
    ASSERT_EQ(form.State.BossKeyCode, kKeyF12);
    auto pass = [&](TWindowEvent event) {
        platform.Queue.push_back(event);
        ASSERT_TRUE(door.PollEvent(event));
        form.HandleEvent(event);
    };
    TWindowEvent key;
    key.Type = TWindowEvent::TType::KeyDown;
    key.Key = kKeyF12;
    for (int button : {1, 2, 3, 4}) {
        TWindowEvent down;
        down.Type = TWindowEvent::TType::MouseDown;
        down.Button = button;
        pass(down);
        pass(key);
        EXPECT_FALSE(form.ResumeMusic) << "button " << button;
        TWindowEvent up = down;
        up.Type = TWindowEvent::TType::MouseUp;
        pass(up);
    }
    pass(key);
    EXPECT_TRUE(form.ResumeMusic) << "with every button up the boss key fires";
}

}  // namespace
}  // namespace quillon::testing
