// Where two pictures of the same race frame differ: the box around the changed pixels and
// their new colours, for tests that put one thing on a known frame and look for it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "engine/PictureCollection.h"

namespace quillon::testing {

struct TPictureDiff {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;  // inclusive
    int Count = 0;
    std::vector<uint16_t> NewColours;

    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
    bool Inside(int left, int top, int right, int bottom) const {
        return Left >= left && Top >= top && Right <= right && Bottom <= bottom;
    }
};

inline TPictureDiff DiffPictures(const std::vector<uint16_t>& before, const std::vector<uint16_t>& after, int width) {
    TPictureDiff diff;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] == before[i]) continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        diff.Left = std::min(diff.Left, x);
        diff.Top = std::min(diff.Top, y);
        diff.Right = std::max(diff.Right, x);
        diff.Bottom = std::max(diff.Bottom, y);
        ++diff.Count;
        diff.NewColours.push_back(after[i]);
    }
    return diff;
}

// The colours of one pattern of a picture, without its transparent key.
inline std::set<uint16_t> PatternColours(TPictureCollectionItem& item, int pattern) {
    const TDirectDrawSurface* surface = item.PatternSurface(pattern);
    const TRect rect = item.PatternRect(pattern);
    std::set<uint16_t> colours;
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x)
            if (surface->Pixel(x, y) != item.ColorKey()) colours.insert(surface->Pixel(x, y));
    return colours;
}

// How many of the changed pixels have a colour of the pattern.
inline long OwnColours(const TPictureDiff& diff, const std::set<uint16_t>& colours) {
    return std::count_if(diff.NewColours.begin(), diff.NewColours.end(),
                         [&](uint16_t colour) { return colours.count(colour) > 0; });
}

}  // namespace quillon::testing
