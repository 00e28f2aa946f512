// English texts stay inside the places the game gives its texts: the same screens are taken in
// Russian (a headless run under an English locale, as it reads none) and in English (--lang en),
// one headless run each with the same script and seed, and every pixel the language changes
// inside a screen's watched area lies within one of that screen's text places, off the place's
// edge. The watched areas leave out the pictures with words, which change with the language
// on their own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "save/HighScores.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "support/PngImage.h"
#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

struct TBox {
    int X0, Y0, X1, Y1;  // X1, Y1 outside
    bool Holds(int x, int y) const { return x >= X0 && x < X1 && y >= Y0 && y < Y1; }
    bool OnEdge(int x, int y) const { return x == X0 || x == X1 - 1 || y == Y0 || y == Y1 - 1; }
};

std::ostream& operator<<(std::ostream& out, const TBox& b) {
    return out << "(" << b.X0 << "," << b.Y0 << ")-(" << b.X1 << "," << b.Y1 << ")";
}

struct TScreen {
    const char* Shot;
    TBox Watched;
    std::vector<TBox> Pictures;  // pictures with words inside the watched area: not looked at
    std::vector<TBox> Places;    // where the texts may draw
};

class LanguageLayout : public TScriptedRun {};

// LC_ALL=en_US.UTF-8 for the game runs started while it lives; the test's own value after.
class TEnglishLocale {
public:
    TEnglishLocale() {
        if (const char* old = std::getenv("LC_ALL")) FOld = old;
        setenv("LC_ALL", "en_US.UTF-8", 1);
    }
    ~TEnglishLocale() {
        if (FOld) setenv("LC_ALL", FOld->c_str(), 1);
        else unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> FOld;
};

TEST_F(LanguageLayout, EnglishTextsStayInsideTheirPlaces) {
    // Options (the first label hot, then the second), the high scores and their clearing, the
    // five help pages, the exit dialog, a race's level banner, heads-up display, pause and
    // leaving dialog, then the name for the table and the question about the world table.
    const char* script =
        "150 click 470 303\n230 shot options.png\n231 tap Down\n240 shot options-hot.png\n241 tap Escape\n"
        "250 click 470 357\n330 shot scores.png\n331 click 120 500\n360 shot clear-dialog.png\n361 tap n\n"
        "380 tap Escape\n400 click 470 228\n470 shot help1.png\n471 tap Right\n540 shot help2.png\n"
        "541 tap Right\n600 shot help3.png\n601 tap Right\n660 shot help4.png\n661 tap Right\n720 shot help5.png\n"
        "721 tap Escape\n740 tap Escape\n760 shot exit-dialog.png\n761 tap n\n780 click 470 152\n850 tap Return\n"
        "900 shot banner.png\n1200 shot race.png\n1201 tap p\n1220 shot pause.png\n1221 tap p\n1240 tap Escape\n"
        "1260 shot menu-dialog.png\n1261 tap y\n1270 shot name-entry.png\n1271 tap Return\n1280 shot send-dialog.png\n"
        "1281 tap n\n";
    for (const char* language : {"ru", "en"}) {
        // A table any score beats, so that leaving the race asks for a name.
        TSavedState state;
        ResetOptions(state);
        ResetHighScores(state.HighScores);
        state.HighScores[9].Score = -5;
        SaveOptionsAndHighScores(state, Dir + "/Data/Save");
        Script << script;
        if (std::string(language) == "ru") {
            const TEnglishLocale english;
            Run(1282, 1);
        } else {
            Run(1282, 1, "--lang en");
        }
        for (const char* shot : {"options", "options-hot", "scores", "clear-dialog", "help1", "help2", "help3", "help4",
                                 "help5", "exit-dialog", "banner", "race", "pause", "menu-dialog", "name-entry", "send-dialog"})
            std::filesystem::rename(Dir + "/" + shot + ".png", Dir + "/" + shot + "-" + language + ".png");
    }

    const TBox optionsPanel{2, 198, 436, 598}, helpPanel{2, 200, 436, 470};
    const TBox dialog{244, 232, 556, 312}, track{178, 268, 542, 332}, hudTop{590, 0, 800, 32};
    const std::vector<TBox> indicators = {{127, 205, 315, 236}, {202, 251, 306, 282}, {202, 294, 306, 325}};
    const std::vector<TBox> optionLabels = {{9, 206, 127, 236},  {37, 253, 202, 281}, {37, 296, 202, 324},
                                            {34, 342, 411, 370}, {68, 433, 376, 462}};
    const std::vector<TBox> helpText = {{6, 202, 432, 467}};
    const std::vector<TBox> helpButtons = {{37, 463, 216, 470}, {234, 463, 413, 470}};
    const std::vector<TScreen> screens = {
        {"options", optionsPanel, indicators, optionLabels},
        {"options-hot", optionsPanel, indicators, optionLabels},
        {"scores", {14, 192, 436, 218}, {}, {{16, 193, 147, 217}, {150, 193, 298, 217}, {302, 193, 434, 217}}},
        {"clear-dialog", dialog, {}, {{248, 244, 552, 306}}},
        {"help1", helpPanel, helpButtons, helpText},
        {"help2", helpPanel, helpButtons, helpText},
        {"help3", helpPanel, helpButtons, helpText},
        {"help4", helpPanel, helpButtons, helpText},
        {"help5", helpPanel, helpButtons, helpText},
        {"exit-dialog", dialog, {}, {{248, 262, 552, 302}}},
        {"menu-dialog", dialog, {}, {{248, 262, 552, 302}}},
        {"banner", track, {}, {{180, 276, 540, 324}}},
        {"pause", track, {}, {{180, 276, 540, 324}}},
        {"race", hudTop, {}, {{598, 1, 798, 29}}},
        {"name-entry", {244, 232, 556, 368}, {}, {{248, 240, 552, 311}}},
        {"send-dialog", dialog, {}, {{248, 244, 552, 306}}},
    };
    for (const TScreen& screen : screens) {
        SCOPED_TRACE(screen.Shot);
        const TPngImage ru = ReadPng(Dir + "/" + screen.Shot + "-ru.png");
        const TPngImage en = ReadPng(Dir + "/" + screen.Shot + "-en.png");
        ASSERT_EQ(ru.Width, 800);
        ASSERT_EQ(en.Width, 800);
        std::vector<int> changedIn(screen.Places.size(), 0);
        int outside = 0, onEdge = 0;
        for (int y = screen.Watched.Y0; y < screen.Watched.Y1; ++y)
            for (int x = screen.Watched.X0; x < screen.Watched.X1; ++x) {
                if (ru.At(x, y) == en.At(x, y)) continue;
                bool picture = false;
                for (const TBox& p : screen.Pictures) picture = picture || p.Holds(x, y);
                if (picture) continue;
                bool placed = false;
                for (size_t i = 0; i < screen.Places.size(); ++i) {
                    if (!screen.Places[i].Holds(x, y)) continue;
                    placed = true;
                    ++changedIn[i];
                    if (screen.Places[i].OnEdge(x, y)) ++onEdge;
                }
                if (!placed) ++outside;
            }
        EXPECT_EQ(outside, 0) << "pixels changed by the language outside every text's place";
        EXPECT_EQ(onEdge, 0) << "a text reaches the edge of its place";
        for (size_t i = 0; i < screen.Places.size(); ++i)
            EXPECT_GT(changedIn[i], 0) << "the text in " << screen.Places[i] << " does not change with the language";
    }
}

}  // namespace
}  // namespace quillon::testing
