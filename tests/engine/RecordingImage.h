// A pattern image for tests that draws nothing and records every draw in a shared log.
#pragma once

#include <vector>

#include "engine/PatternImage.h"

namespace quillon::testing {

struct TDrawCall {
    int Tag = 0;
    int X = 0;
    int Y = 0;
    int Pattern = 0;
    bool operator==(const TDrawCall&) const = default;
};

class TRecordingImage : public IPatternImage {
public:
    TRecordingImage(std::vector<TDrawCall>& log, int tag, int width, int height)
        : FLog(log), FTag(tag), FWidth(width), FHeight(height) {}

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    int PatternCount() const override { return 16; }
    TRect PatternRect(int index) const override { return Bounds(index * FWidth, 0, FWidth, FHeight); }
    void Draw(TDirectDrawSurface&, int x, int y, int patternIndex) override {
        FLog.push_back(TDrawCall{FTag, x, y, patternIndex});
    }

private:
    std::vector<TDrawCall>& FLog;
    int FTag;
    int FWidth;
    int FHeight;
};

}  // namespace quillon::testing
