// A player who has one of the game's four faces installed gets that face, not its substitute:
// a test font registered under each name in a fontconfig set-up of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/TtfFontRasterizer.h"
#include "support/HeadlessRun.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTestFont = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

TEST(InstalledFaces, AnInstalledFaceWinsOverItsSubstitute) {
    if (!fs::exists(kTestFont)) GTEST_SKIP() << kTestFont << " is missing (fonts-dejavu-core)";
    const fs::path dir = testing::MakeTempDir("faces");
    fs::create_directories(dir / "fonts");
    const char* faces[] = {"NewZelek", "Crystal", "BancoDi", "Courier"};
    // The system's fonts (and so the substitutes) stay in view; the cache of this set-up is its own
    // and comes first, so nothing is written to the system's cache.
    std::string conf = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                       "<fontconfig>\n  <cachedir>" + (dir / "cache").string() + "</cachedir>\n"
                       "  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
                       "  <dir>" + (dir / "fonts").string() + "</dir>\n";
    for (const char* face : faces) {
        const fs::path file = dir / "fonts" / (std::string(face) + ".ttf");
        fs::copy_file(kTestFont, file);
        conf += "  <match target=\"scan\"><test name=\"file\"><string>" + file.string() +
                "</string></test><edit name=\"family\" mode=\"assign_replace\"><string>" + face +
                "</string></edit></match>\n";
    }
    conf += "</fontconfig>\n";
    std::ofstream(dir / "fonts.conf") << conf;

    const char* previous = std::getenv("FONTCONFIG_FILE");
    const std::string saved = previous ? previous : "";
    setenv("FONTCONFIG_FILE", (dir / "fonts.conf").c_str(), 1);
    {
        TTtfFontRasterizer fonts;
        for (const char* face : faces) {
            for (bool bold : {false, true}) {
                const TFontRequest request{face, 20, bold};
                EXPECT_EQ(fonts.FamilyOf(request), face) << face << (bold ? " bold" : "");
                EXPECT_EQ(fonts.FileOf(request), (dir / "fonts" / (std::string(face) + ".ttf")).string()) << face;
            }
        }
        // A face that is not installed still gets a font.
        EXPECT_FALSE(fonts.FileOf({"NoSuchFace", 20, false}).empty());
    }
    if (previous)
        setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else
        unsetenv("FONTCONFIG_FILE");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quillon
