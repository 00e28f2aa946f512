// The port to the platform's font rasteriser: faces are asked for by name, at an
// em height in pixels, and come back as anti-aliased glyph coverage maps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

struct TFontRequest {
    std::string Face;     // the game's face name, e.g. "NewZelek"
    int PixelHeight = 0;  // em height in pixels
    bool Bold = false;
    bool operator==(const TFontRequest&) const = default;
};

// One glyph: coverage 0..255, row by row. Left and Top place the map relative to
// the pen position at the top of the text line.
struct TGlyphBitmap {
    int Advance = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Coverage;
};

class IFontRasterizer {
public:
    virtual ~IFontRasterizer() = default;
    // Height in pixels of a text line of the font (ascent plus descent).
    virtual int LineHeight(const TFontRequest& font) = 0;
    virtual TGlyphBitmap RenderGlyph(const TFontRequest& font, char32_t ch) = 0;
    // True when the face chosen for the request has its own glyph for ch.
    virtual bool HasGlyph(const TFontRequest& font, char32_t ch) = 0;
    // The family the request was resolved to ("" when no face could be opened).
    virtual std::string FamilyOf(const TFontRequest& font) = 0;
};

}  // namespace quillon
