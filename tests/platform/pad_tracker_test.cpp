// Every pad plugged in, played as one: merged buttons, the stick's directions with a
// firm push to press and a return near the middle to let go, and pads pulled out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PadTracker.h"
#include "platform/VirtualKeys.h"
#include "support/PadEventText.h"

namespace quillon {
namespace {

using testing::DescribePadEvents;
using testing::PadDownText;
using testing::PadUpText;

TEST(PadTracker, TwoPadsHoldingOneButtonPressAndReleaseItOnce) {
    TPadTracker pads;
    std::vector<TWindowEvent> out;
    pads.Button(1, TPadButton::A, true, out);
    pads.Button(2, TPadButton::A, true, out);
    pads.Button(1, TPadButton::A, true, out);  // repeated: nothing
    EXPECT_EQ(DescribePadEvents(out), PadDownText(TPadButton::A));
    out.clear();
    pads.Button(1, TPadButton::A, false, out);
    EXPECT_TRUE(out.empty());
    pads.Button(2, TPadButton::A, false, out);
    EXPECT_EQ(DescribePadEvents(out), PadUpText(TPadButton::A));
}

TEST(PadTracker, TheStickPressesPastAFirmPushAndLetsGoNearTheMiddle) {
    const struct {
        int Position;
        std::string Events;
    } steps[] = {
        {12000, ""},                                              // a light touch
        {20000, PadDownText(TPadButton::StickRight)},
        {10000, ""},                                              // still held above the let-go point
        {5000, PadUpText(TPadButton::StickRight)},
        {-30000, PadDownText(TPadButton::StickLeft)},
        {30000, PadUpText(TPadButton::StickLeft) + PadDownText(TPadButton::StickRight)},  // flicked across
        {0, PadUpText(TPadButton::StickRight)},
    };
    TPadTracker pads;
    for (const auto& step : steps) {
        std::vector<TWindowEvent> out;
        pads.Stick(7, false, step.Position, out);
        EXPECT_EQ(DescribePadEvents(out), step.Events) << step.Position;
    }
    std::vector<TWindowEvent> out;
    pads.Stick(7, true, -32768, out);
    EXPECT_EQ(DescribePadEvents(out), PadDownText(TPadButton::StickUp));
}

TEST(PadTracker, APadPulledOutLetsGoOfWhatItHeld) {
    TPadTracker pads;
    std::vector<TWindowEvent> out;
    pads.Button(3, TPadButton::X, true, out);
    pads.Stick(3, true, 32767, out);
    pads.Button(4, TPadButton::X, true, out);
    out.clear();
    pads.Remove(3, out);
    EXPECT_EQ(DescribePadEvents(out), PadUpText(TPadButton::StickDown));  // the other pad still holds X
    out.clear();
    pads.Remove(4, out);
    pads.Remove(4, out);  // unknown by now: nothing
    EXPECT_EQ(DescribePadEvents(out), PadUpText(TPadButton::X));
}

TEST(PadTracker, SdlsButtonNamesAndNumbersMapToTheGamesButtons) {
    const struct {
        const char* Name;
        TPadButton Button;
    } names[] = {{"a", TPadButton::A},           {"b", TPadButton::B},
                 {"x", TPadButton::X},           {"y", TPadButton::Y},
                 {"start", TPadButton::Start},   {"rightshoulder", TPadButton::RightShoulder},
                 {"dpup", TPadButton::DpadUp},   {"dpdown", TPadButton::DpadDown},
                 {"dpleft", TPadButton::DpadLeft}, {"dpright", TPadButton::DpadRight}};
    for (const auto& n : names) {
        TPadButton found = TPadButton::Count;
        EXPECT_TRUE(PadButtonFromName(n.Name, found)) << n.Name;
        EXPECT_EQ(found, n.Button) << n.Name;
    }
    TPadButton found = TPadButton::Count;
    EXPECT_FALSE(PadButtonFromName("bogus", found));
    EXPECT_FALSE(PadButtonFromName("", found));
    EXPECT_FALSE(PadButtonFromSdl(-1, found));
    EXPECT_FALSE(PadButtonFromSdl(15, found));  // the extra buttons of newer pads have no use
}

}  // namespace
}  // namespace quillon
