// TTtfFontRasterizer: finds the game's faces by name through fontconfig (with
// the game's own substitution rules) and rasterises glyphs with SDL_ttf. Needs no
// video device, so the desktop and the headless game draw the same text.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "engine/FontPort.h"

struct _FcConfig;
struct _TTF_Font;

namespace quillon {

// The game's font rules as an installed game carries them, relative to the game folder.
inline constexpr const char* kFontsConfFile = "fonts/quillon-fonts.conf";

class TTtfFontRasterizer : public IFontRasterizer {
public:
    // Loads the system's fontconfig set-up plus the game's rules: kFontsConfFile of the
    // game folder when there is one, else the built-in copy.
    TTtfFontRasterizer();
    ~TTtfFontRasterizer() override;
    TTtfFontRasterizer(const TTtfFontRasterizer&) = delete;
    TTtfFontRasterizer& operator=(const TTtfFontRasterizer&) = delete;

    int LineHeight(const TFontRequest& font) override;
    TGlyphBitmap RenderGlyph(const TFontRequest& font, char32_t ch) override;
    bool HasGlyph(const TFontRequest& font, char32_t ch) override;
    std::string FamilyOf(const TFontRequest& font) override;

    // The font file a request resolves to ("" when none).
    std::string FileOf(const TFontRequest& font);

private:
    struct TOpenFont {
        _TTF_Font* Font = nullptr;
        std::string Family;
        std::string File;
    };
    TOpenFont& Open(const TFontRequest& font);

    _FcConfig* FConfig = nullptr;
    bool FTtfStarted = false;
    std::map<std::tuple<std::string, int, bool>, TOpenFont> FFonts;
};

}  // namespace quillon
