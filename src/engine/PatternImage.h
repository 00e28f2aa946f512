// The view of an image collection item that sprites draw through: a picture cut
// into equal patterns, each drawn with the item's own transparency.
#pragma once

#include "engine/Geometry.h"
#include "engine/Surface.h"

namespace quillon {

class IPatternImage {
public:
    virtual ~IPatternImage() = default;
    virtual int Width() const = 0;   // effective pattern width
    virtual int Height() const = 0;  // effective pattern height
    virtual int PatternCount() const = 0;
    virtual TRect PatternRect(int index) const = 0;
    // Draws one pattern with its top-left corner at (x, y), clipped to the surface.
    virtual void Draw(TDirectDrawSurface& dest, int x, int y, int patternIndex) = 0;
};

}  // namespace quillon
