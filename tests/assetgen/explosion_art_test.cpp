// The ship explosions as a player sees them, frame by frame: a blinding start, a fireball
// that grows to fill most of its frame while its heart stays white-hot, debris near the
// edge, and a fade that still shows smoke on the last frame but less than at the height.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {
namespace {

constexpr int Size = 64;
constexpr int Frames = 17;

int Luma(uint32_t rgb) { return (((rgb >> 16) & 0xFF) * 3 + ((rgb >> 8) & 0xFF) * 6 + (rgb & 0xFF)) / 10; }

struct TFrameLook {
    int Covered = 0;      // pixels that are not the key
    int Bright = 0;       // pixels of luma 220 or more
    int CentreLuma = 0;   // brightest pixel within 4 of the centre
    int OuterRing = 0;    // covered pixels more than 22 from the centre
};

TFrameLook Look(const TDIBImage& img, int frame) {
    TFrameLook look;
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            const uint32_t p = img.At(frame * Size + x, y);
            if (p == RaceKeyRGB) continue;
            ++look.Covered;
            look.Bright += Luma(p) >= 220;
            const int dx = x - Size / 2, dy = y - Size / 2;
            if (dx * dx + dy * dy <= 16) look.CentreLuma = std::max(look.CentreLuma, Luma(p));
            look.OuterRing += dx * dx + dy * dy > 22 * 22;
        }
    }
    return look;
}

TEST(ExplosionArt, FlashFireballDebrisAndALongFadeInEveryStyle) {
    for (int style = 0; style < 3; ++style) {
        SCOPED_TRACE("explosion item " + std::to_string(63 + style));
        const TPictureItemData item = BuildExplosion(style);
        ASSERT_EQ(item.Picture.Width, Size * Frames);
        ASSERT_EQ(item.Picture.Height, Size);
        std::vector<TFrameLook> looks;
        for (int k = 0; k < Frames; ++k) looks.push_back(Look(item.Picture, k));

        EXPECT_GE(looks[0].Bright, 600) << "the first frame is a blinding flash";
        for (int k = 0; k <= 6; ++k) EXPECT_GE(looks[k].CentreLuma, 220) << "white-hot heart, frame " << k;
        int height = 0;
        for (const TFrameLook& l : looks) height = std::max(height, l.Covered);
        EXPECT_GE(height, Size * Size * 45 / 100) << "the fireball fills much of its frame";
        int reachesOut = 0;
        for (int k = 3; k <= 10; ++k) reachesOut += looks[k].OuterRing > 60;
        EXPECT_GE(reachesOut, 6) << "fire and debris reach toward the edge";
        for (int k = 0; k < Frames; ++k) EXPECT_GT(looks[k].Covered, 0) << "no empty frame, frame " << k;
        EXPECT_GE(looks[Frames - 1].Covered, 150) << "smoke still hangs on the last frame";
        EXPECT_LE(looks[Frames - 1].Covered, height / 2) << "and is fading";
    }
}

}  // namespace
}  // namespace quillon::assetgen
