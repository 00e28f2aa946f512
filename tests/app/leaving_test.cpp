// How the game ends and what holds off the boss key, on a form of its own: a stop signal saves
// and opens nothing, and a mouse button of any kind held down keeps the boss key from firing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Application.h"
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

TEST_F(TLeaving, AnyMouseButtonHeldKeepsTheBossKeyFromFiring) {
    TMForm& form = StartForm();
    ASSERT_EQ(form.State.BossKeyCode, kKeyF12);
    for (int button : {1, 2, 3, 4}) {
        TWindowEvent down;
        down.Type = TWindowEvent::TType::MouseDown;
        down.Button = button;
        form.HandleEvent(down);
        TWindowEvent key;
        key.Type = TWindowEvent::TType::KeyDown;
        key.Key = kKeyF12;
        form.HandleEvent(key);
        EXPECT_FALSE(form.ResumeMusic) << "button " << button;
        TWindowEvent up = down;
        up.Type = TWindowEvent::TType::MouseUp;
        form.HandleEvent(up);
    }
    TWindowEvent key;
    key.Type = TWindowEvent::TType::KeyDown;
    key.Key = kKeyF12;
    form.HandleEvent(key);
    EXPECT_TRUE(form.ResumeMusic) << "with every button up the boss key fires";
}

}  // namespace
}  // namespace quillon::testing
