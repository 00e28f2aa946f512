// The race pictures' drawing kit: colours, labels and frame packing.
#include "art/RaceKit.h"

#include <pango/pangocairo.h>

#include "art/LabelLog.h"

namespace quillon::assetgen {

TRGB Mix(const TRGB& a, const TRGB& b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TRGB Scale(const TRGB& c, double k) {
    auto clamp = [](double v) { return v < 0 ? 0.0 : (v > 1 ? 1.0 : v); };
    return {clamp(c.R * k), clamp(c.G * k), clamp(c.B * k)};
}

void SetColor(cairo_t* cr, const TRGB& c, double alpha) { cairo_set_source_rgba(cr, c.R, c.G, c.B, alpha); }

void DrawLabel(cairo_t* cr, const std::string& utf8, const std::string& font, double cx, double cy,
               const TRGB& color, double alpha) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* desc = pango_font_description_from_string(font.c_str());
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, utf8.c_str(), -1);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    cairo_save(cr);
    const double left = cx - ink.width / 2.0, top = cy - ink.height / 2.0;
    RecordLabel(cr, utf8, left, top, left + ink.width, top + ink.height);
    cairo_move_to(cr, cx - ink.x - ink.width / 2.0, cy - ink.y - ink.height / 2.0);
    SetColor(cr, color, alpha);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
}

TPictureItemData MakeFramedItem(const std::string& name, int w, int h, int count,
                                const std::function<void(cairo_t*, int)>& draw) {
    TCairoCanvas canvas(w * count, h);
    for (int k = 0; k < count; ++k) {
        cairo_save(canvas.Cr);
        cairo_rectangle(canvas.Cr, k * w, 0, w, h);
        cairo_clip(canvas.Cr);
        cairo_translate(canvas.Cr, k * w, 0);
        draw(canvas.Cr, k);
        cairo_restore(canvas.Cr);
    }
    TPictureItemData item;
    item.Name = name;
    item.Picture = CanvasToPicture(canvas, RaceKeyRGB);
    item.PatternWidth = w;
    item.PatternHeight = h;
    item.Transparent = true;
    item.TransparentColor = RaceKeyRGB;  // magenta reads the same as 0x00BBGGRR
    return item;
}

TPictureItemData MakeSpriteItem(const std::string& name, int w, int h, const std::function<void(cairo_t*)>& draw) {
    return MakeFramedItem(name, w, h, 1, [&](cairo_t* cr, int) { draw(cr); });
}

TPictureItemData MakePlaceholder(const std::string& name) {
    return MakeSpriteItem(name, 1, 1, [](cairo_t*) {});
}

}  // namespace quillon::assetgen

// Fontconfig, under pango, keeps its font caches for the life of the process and frees
// them in ways the leak checker of sanitizer builds cannot follow; that is not ours to fix.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
