// TTtfFontRasterizer: fontconfig matching with the game's rules and SDL_ttf glyphs.
#include "platform/TtfFontRasterizer.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <tuple>

#include "platform/FontsConf.h"

namespace quillon {

TTtfFontRasterizer::TTtfFontRasterizer() {
    if (TTF_Init() == 0) FTtfStarted = true;
    FConfig = FcInitLoadConfigAndFonts();
    if (!FConfig) return;
    // An installed game carries its rules as a file beside the data, where a packager may
    // fit them to the system's fonts; otherwise, or when that file is broken, the built-in rules.
    std::error_code error;
    const std::string file = std::filesystem::absolute(kFontsConfFile, error).string();  // fontconfig's own folder otherwise
    if (!error && std::filesystem::is_regular_file(file, error) &&
        FcConfigParseAndLoad(FConfig, reinterpret_cast<const FcChar8*>(file.c_str()), FcTrue))
        return;
    FcConfigParseAndLoadFromMemory(FConfig, reinterpret_cast<const FcChar8*>(QuillonFontsConf), FcTrue);
}

TTtfFontRasterizer::~TTtfFontRasterizer() {
    for (auto& [key, open] : FFonts)
        if (open.Font) TTF_CloseFont(open.Font);
    if (FConfig) FcConfigDestroy(FConfig);
    if (FTtfStarted) TTF_Quit();
}

TTtfFontRasterizer::TOpenFont& TTtfFontRasterizer::Open(const TFontRequest& font) {
    auto key = std::make_tuple(font.Face, font.PixelHeight, font.Bold);
    auto it = FFonts.find(key);
    if (it != FFonts.end()) return it->second;
    TOpenFont& open = FFonts[key];
    if (!FConfig || !FTtfStarted || font.PixelHeight <= 0) return open;

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.Face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, font.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(FConfig, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(FConfig, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return open;

    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetString(match, FC_FILE, 0, &file);
    FcPatternGetString(match, FC_FAMILY, 0, &family);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    if (file) {
        open.File = reinterpret_cast<const char*>(file);
        open.Font = TTF_OpenFontIndex(open.File.c_str(), font.PixelHeight, index);
    }
    if (family) open.Family = reinterpret_cast<const char*>(family);
    FcPatternDestroy(match);
    if (open.Font) {
        // A bold request that found only a regular face is emboldened.
        if (font.Bold && weight < FC_WEIGHT_DEMIBOLD) TTF_SetFontStyle(open.Font, TTF_STYLE_BOLD);
        TTF_SetFontKerning(open.Font, 0);
    } else {
        open.Family.clear();
    }
    return open;
}

int TTtfFontRasterizer::LineHeight(const TFontRequest& font) {
    TOpenFont& open = Open(font);
    return open.Font ? TTF_FontHeight(open.Font) : font.PixelHeight;
}

bool TTtfFontRasterizer::HasGlyph(const TFontRequest& font, char32_t ch) {
    TOpenFont& open = Open(font);
    return open.Font && TTF_GlyphIsProvided32(open.Font, static_cast<Uint32>(ch)) != 0;
}

std::string TTtfFontRasterizer::FamilyOf(const TFontRequest& font) { return Open(font).Family; }

std::string TTtfFontRasterizer::FileOf(const TFontRequest& font) { return Open(font).File; }

// SDL_ttf renders one glyph into a cell as tall as the line, starting at the
// pen minus any negative left bearing; the ink is cropped out of that cell.
TGlyphBitmap TTtfFontRasterizer::RenderGlyph(const TFontRequest& font, char32_t ch) {
    TGlyphBitmap glyph;
    TOpenFont& open = Open(font);
    if (!open.Font) return glyph;
    int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
    if (TTF_GlyphMetrics32(open.Font, static_cast<Uint32>(ch), &minx, &maxx, &miny, &maxy, &advance) != 0)
        return glyph;
    glyph.Advance = advance;
    SDL_Surface* cell = TTF_RenderGlyph32_Blended(open.Font, static_cast<Uint32>(ch), SDL_Color{255, 255, 255, 255});
    if (!cell) return glyph;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(cell, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(cell);
    if (!argb) return glyph;
    auto alphaAt = [&](int x, int y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        return static_cast<uint8_t>(row[x] >> 24);
    };
    int left = argb->w, right = -1, top = argb->h, bottom = -1;
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x)
            if (alphaAt(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right >= 0) {
        int xstart = std::max(0, -minx);
        glyph.Left = left - xstart;
        glyph.Top = top;
        glyph.Width = right - left + 1;
        glyph.Height = bottom - top + 1;
        glyph.Coverage.resize(static_cast<size_t>(glyph.Width) * glyph.Height);
        for (int y = 0; y < glyph.Height; ++y)
            for (int x = 0; x < glyph.Width; ++x)
                glyph.Coverage[static_cast<size_t>(y) * glyph.Width + x] = alphaAt(left + x, top + y);
    }
    SDL_FreeSurface(argb);
    return glyph;
}

}  // namespace quillon
