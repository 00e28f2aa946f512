// Parsing of headless scripts: commands, key names and the errors that name the line.
#include <gtest/gtest.h>

#include "engine/PadButton.h"
#include "platform/HeadlessScript.h"

namespace quillon {
namespace {

TEST(HeadlessScript, ParsesEveryCommand) {
    THeadlessScript script = THeadlessScript::Parse(
        "# a comment\n"
        "\n"
        "3 down Up\n"
        "3 tap Left Shift\n"
        "3 text Привет мир\n"
        "4 click 400 300\n"
        "4 shot out.png\n"
        "4 state /abs/s.json\n"
        "5 quit\n"
        "6 minimize\n"
        "6 restore\n"
        "6 close\n"
        "8 race 5 10\n"
        "8 pilot on\n"
        "8 pilot off\n"
        "8 track t.json\n",
        "/base");
    const auto& frame3 = script.CommandsAt(3);
    ASSERT_EQ(frame3.size(), 3u);
    EXPECT_EQ(frame3[0].Kind, THeadlessCommand::TKind::Down);
    EXPECT_EQ(frame3[0].Key, 0x26);
    EXPECT_EQ(frame3[1].Key, 0x10);
    EXPECT_EQ(frame3[2].Text, "Привет мир");
    const auto& frame4 = script.CommandsAt(4);
    ASSERT_EQ(frame4.size(), 3u);
    EXPECT_EQ(frame4[0].X, 400);
    EXPECT_EQ(frame4[0].Y, 300);
    EXPECT_EQ(frame4[1].Text, "/base/out.png");
    EXPECT_EQ(frame4[2].Text, "/abs/s.json");
    EXPECT_EQ(script.CommandsAt(5).at(0).Kind, THeadlessCommand::TKind::Quit);
    const auto& frame6 = script.CommandsAt(6);
    ASSERT_EQ(frame6.size(), 3u);
    EXPECT_EQ(frame6[0].Kind, THeadlessCommand::TKind::Minimize);
    EXPECT_EQ(frame6[1].Kind, THeadlessCommand::TKind::Restore);
    EXPECT_EQ(frame6[2].Kind, THeadlessCommand::TKind::Close);
    EXPECT_TRUE(script.CommandsAt(7).empty());
    const auto& frame8 = script.CommandsAt(8);
    ASSERT_EQ(frame8.size(), 4u);
    EXPECT_EQ(frame8[0].Kind, THeadlessCommand::TKind::Race);
    EXPECT_EQ(frame8[0].X, 5) << "the ship";
    EXPECT_EQ(frame8[0].Y, 10) << "the level";
    EXPECT_EQ(frame8[1].Kind, THeadlessCommand::TKind::Pilot);
    EXPECT_EQ(frame8[1].X, 1);
    EXPECT_EQ(frame8[2].X, 0);
    EXPECT_EQ(frame8[3].Kind, THeadlessCommand::TKind::Track);
    EXPECT_EQ(frame8[3].Text, "/base/t.json");
}

TEST(HeadlessScript, KeyNamesMapToVirtualKeys) {
    struct Case { const char* name; int vk; } cases[] = {
        {"Return", 0x0D}, {"Escape", 0x1B}, {"Space", 0x20}, {"Y", 'Y'}, {"P", 'P'},
        {"F12", 0x7B}, {"Left Ctrl", 0x11}, {"Left Alt", 0x12}, {"Down", 0x28}, {"Backspace", 0x08},
    };
    for (const Case& c : cases) {
        THeadlessScript script = THeadlessScript::Parse(std::string("0 down ") + c.name, "/");
        EXPECT_EQ(script.CommandsAt(0).at(0).Key, c.vk) << c.name;
    }
}

TEST(HeadlessScript, PadButtonsGoDownAndUpBySdlsNames) {
    THeadlessScript script = THeadlessScript::Parse("0 pad down a\n0 pad up rightshoulder\n", "/");
    const auto& frame = script.CommandsAt(0);
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(frame[0].Kind, THeadlessCommand::TKind::PadDown);
    EXPECT_EQ(frame[0].Key, static_cast<int>(TPadButton::A));
    EXPECT_EQ(frame[1].Kind, THeadlessCommand::TKind::PadUp);
    EXPECT_EQ(frame[1].Key, static_cast<int>(TPadButton::RightShoulder));
}

TEST(HeadlessScript, BadLinesNameTheirLineNumber) {
    const char* bad[] = {
        "x tap Up", "-1 tap Up", "1 jump", "1 down NoSuchKey", "1 move 10", "1 click 1 2 3",
        "1 shot", "1 quit now", "1 move a b", "1 minimize now", "1 close 1",
        "1 race", "1 race 0 1", "1 race 6 1", "1 race 1 0", "1 race 1 11", "1 race 1 2 3", "1 race a b",
        "1 pilot", "1 pilot yes", "1 track",
        "1 pad down", "1 pad press a", "1 pad down nosuchbutton", "1 pad up a b", "1 pad down misc1",
    };
    for (const char* line : bad) {
        std::string text = std::string("# header\n0 tap Up\n") + line + "\n";
        try {
            THeadlessScript::Parse(text, "/");
            ADD_FAILURE() << "accepted: " << line;
        } catch (const EScriptError& error) {
            EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace quillon
