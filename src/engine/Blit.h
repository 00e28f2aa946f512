// Software drawing of RGB565 pictures onto RGB565 surfaces: the colour-keyed copy,
// the scaled blend and the rotated copy that image collection items draw with.
#pragma once

#include <cstdint>

#include "engine/Geometry.h"
#include "engine/Surface.h"

namespace quillon {

// A colour 0x00BBGGRR converted exactly as a picture pixel of that colour is.
uint16_t ColorToRGB565(uint32_t colorBGR);

// Copies srcRect of src with its top-left corner at (x, y), clipped to both surfaces;
// with transparent set, pixels equal to key are skipped.
void BlitColorKeyed(TDirectDrawSurface& dest, int x, int y, const TDirectDrawSurface& src,
                    const TRect& srcRect, bool transparent, uint16_t key);

// Scales srcRect to destRect (nearest neighbour, 16.16 steps) and blends by alpha 0..255.
void BlitBlended(TDirectDrawSurface& dest, const TRect& destRect, const TDirectDrawSurface& src,
                 const TRect& srcRect, bool transparent, uint16_t key, int alpha);

// Scales srcRect to width x height and turns it about (centerX * width, centerY * height),
// placed at (x, y); angle in 256 steps per turn, growing clockwise.
void BlitRotated(TDirectDrawSurface& dest, int x, int y, int width, int height,
                 const TDirectDrawSurface& src, const TRect& srcRect, double centerX, double centerY,
                 int angle, bool transparent, uint16_t key);

}  // namespace quillon
