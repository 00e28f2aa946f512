// TTextCanvas: font state, the glyph cache, measuring and coverage blending.
#include "engine/TextCanvas.h"

#include <algorithm>

#include "engine/Cp1251.h"
#include "engine/DXDraw.h"
#include "engine/Rounding.h"

namespace quillon {

namespace {

char32_t DecodeUtf8(const std::string& s) {
    if (s.empty()) return 0;
    auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<uint8_t>(s[i])); };
    if (b(0) < 0x80) return b(0);
    if ((b(0) & 0xE0) == 0xC0 && s.size() >= 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    if ((b(0) & 0xF0) == 0xE0 && s.size() >= 3) return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return 0xFFFD;
}

}  // namespace

char32_t CodePointOfCp1251(uint8_t byte) {
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> t{};
        for (int i = 0; i < 256; ++i) {
            char c = static_cast<char>(i);
            t[i] = DecodeUtf8(Cp1251ToUtf8(std::string_view(&c, 1)));
        }
        return t;
    }();
    return table[byte];
}

int TTextCanvas::PixelHeightOf(int points) {
    return static_cast<int>(Round(static_cast<double>(points) * PixelsPerInch / 72.0));
}

TFontRequest TTextCanvas::CurrentRequest() const {
    return TFontRequest{Font.Name, PixelHeightOf(Font.Size), Font.Bold};
}

TTextCanvas::TCachedFont& TTextCanvas::CurrentFont() {
    TFontRequest request = CurrentRequest();
    if (FLast && FLast->Request == request) return *FLast;
    for (auto& font : FCache) {
        if (font->Request == request) {
            FLast = font.get();
            return *FLast;
        }
    }
    auto font = std::make_unique<TCachedFont>();
    font->Request = request;
    font->LineHeight = FFonts.LineHeight(request);
    FLast = font.get();
    FCache.push_back(std::move(font));
    return *FLast;
}

const TGlyphBitmap& TTextCanvas::GlyphOf(TCachedFont& font, uint8_t byte) {
    auto& slot = font.Glyphs[byte];
    if (!slot) slot = std::make_unique<TGlyphBitmap>(FFonts.RenderGlyph(font.Request, CodePointOfCp1251(byte)));
    return *slot;
}

TDirectDrawSurface* TTextCanvas::Target() {
    if (FDisplay) {
        FDisplay->AcquireCanvas();
        return &FDisplay->Surface();
    }
    return FSurface;
}

int TTextCanvas::TextWidth(std::string_view text) {
    Target();
    TCachedFont& font = CurrentFont();
    int width = 0;
    for (char c : text) width += GlyphOf(font, static_cast<uint8_t>(c)).Advance;
    return width;
}

int TTextCanvas::TextHeight(std::string_view /*text*/) {
    Target();
    return CurrentFont().LineHeight;
}

void TTextCanvas::TextOut(int x, int y, std::string_view text) {
    TDirectDrawSurface* surface = Target();
    if (!surface || surface->Width() == 0) return;
    TCachedFont& font = CurrentFont();
    uint16_t colour = PackRGB565(Font.Red, Font.Green, Font.Blue);
    int pen = x;
    for (char c : text) {
        const TGlyphBitmap& glyph = GlyphOf(font, static_cast<uint8_t>(c));
        if (glyph.Width > 0) Blend(*surface, glyph, pen + glyph.Left, y + glyph.Top, colour);
        pen += glyph.Advance;
    }
}

// Mixes the font colour into the surface by each pixel's coverage, in 8-bit
// channels, and packs the result back to RGB565.
void TTextCanvas::Blend(TDirectDrawSurface& surface, const TGlyphBitmap& glyph, int x, int y, uint16_t colour) {
    int x0 = std::max(0, -x), y0 = std::max(0, -y);
    int x1 = std::min(glyph.Width, surface.Width() - x), y1 = std::min(glyph.Height, surface.Height() - y);
    const int sr = Font.Red, sg = Font.Green, sb = Font.Blue;
    for (int gy = y0; gy < y1; ++gy) {
        const uint8_t* cov = glyph.Coverage.data() + static_cast<size_t>(gy) * glyph.Width;
        uint16_t* row = surface.Row(y + gy) + x;
        for (int gx = x0; gx < x1; ++gx) {
            int a = cov[gx];
            if (a == 0) continue;
            if (a == 255) {
                row[gx] = colour;
                continue;
            }
            uint8_t dr, dg, db;
            UnpackRGB565(row[gx], dr, dg, db);
            auto mix = [a](int d, int s) { return static_cast<uint8_t>(d + ((s - d) * a + 127) / 255); };
            row[gx] = PackRGB565(mix(dr, sr), mix(dg, sg), mix(db, sb));
        }
    }
}

}  // namespace quillon
