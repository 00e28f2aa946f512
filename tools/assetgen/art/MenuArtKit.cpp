// The menu and radar art's shared tools: palette, labels set with pango, plate
// shapes, lights, and flattening over the backdrop.
#include "art/MenuArtKit.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "art/LabelLog.h"
#include "engine/Surface.h"

namespace quillon::assetgen::menuart {

void SetColor(cairo_t* cr, TColor c, double alpha) { cairo_set_source_rgba(cr, c.R, c.G, c.B, alpha); }

namespace {

PangoLayout* MakeLayout(cairo_t* cr, const std::string& utf8, double pixelSize, bool bold, double letterSpacing) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, kLabelFace);
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, pixelSize * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    if (letterSpacing != 0) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(static_cast<int>(letterSpacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout, utf8.c_str(), -1);
    return layout;
}

// The ink box is what the eye centres on; the logical box carries the line gap.
void InkBox(PangoLayout* layout, PangoRectangle& ink) {
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
}

}  // namespace

TTextSize MeasureLabel(cairo_t* cr, const std::string& utf8, double pixelSize, bool bold, double letterSpacing) {
    PangoLayout* layout = MakeLayout(cr, utf8, pixelSize, bold, letterSpacing);
    PangoRectangle ink;
    InkBox(layout, ink);
    g_object_unref(layout);
    return {static_cast<double>(ink.width), static_cast<double>(ink.height)};
}

void LabelPath(cairo_t* cr, const std::string& utf8, double x, double y, double pixelSize, bool bold,
               double letterSpacing) {
    PangoLayout* layout = MakeLayout(cr, utf8, pixelSize, bold, letterSpacing);
    cairo_move_to(cr, x, y);
    pango_cairo_layout_path(cr, layout);
    g_object_unref(layout);
}

double FitLabelSize(cairo_t* cr, const std::string& utf8, double maxWidth, double maxSize, bool bold,
                    double letterSpacing) {
    double size = maxSize;
    while (size > 6 && MeasureLabel(cr, utf8, size, bold, letterSpacing).Width > maxWidth) size -= 0.5;
    return size;
}

namespace {

// Builds the path of a label whose ink box is centred on (cx, cy).
void CentredLabelPath(cairo_t* cr, const std::string& utf8, double cx, double cy, double pixelSize, bool bold,
                      double letterSpacing, double& inkTop, double& inkBottom) {
    PangoLayout* layout = MakeLayout(cr, utf8, pixelSize, bold, letterSpacing);
    PangoRectangle ink;
    InkBox(layout, ink);
    double x = std::round(cx - ink.width / 2.0 - ink.x);
    double y = std::round(cy - ink.height / 2.0 - ink.y);
    inkTop = y + ink.y;
    inkBottom = inkTop + ink.height;
    RecordLabel(cr, utf8, x + ink.x, inkTop, x + ink.x + ink.width, inkBottom);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    pango_cairo_layout_path(cr, layout);
    g_object_unref(layout);
}

}  // namespace

void PaintLabel(cairo_t* cr, const std::string& utf8, double cx, double cy, double pixelSize, bool bold, TColor top,
                TColor bottom, double outline, double letterSpacing) {
    double inkTop = 0, inkBottom = 0;
    cairo_save(cr);
    CentredLabelPath(cr, utf8, cx, cy, pixelSize, bold, letterSpacing, inkTop, inkBottom);
    if (outline > 0) {
        SetColor(cr, kInk);
        cairo_set_line_width(cr, outline * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetVerticalGradient(cr, inkTop, inkBottom, top, bottom);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PaintGlowLabel(cairo_t* cr, const std::string& utf8, double cx, double cy, double pixelSize, bool bold, TColor top,
                    TColor bottom, TColor glow, double glowStrength, double letterSpacing) {
    double inkTop = 0, inkBottom = 0;
    cairo_save(cr);
    CentredLabelPath(cr, utf8, cx, cy, pixelSize, bold, letterSpacing, inkTop, inkBottom);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    GlowStroke(cr, glow, std::min(9.0, pixelSize * 0.3), glowStrength);
    SetColor(cr, kInk, 0.85);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke_preserve(cr);
    SetVerticalGradient(cr, inkTop, inkBottom, top, bottom);
    cairo_fill(cr);
    cairo_restore(cr);
}

void ChamferPath(cairo_t* cr, double x, double y, double w, double h, double tl, double tr, double br, double bl) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x + tl, y);
    cairo_line_to(cr, x + w - tr, y);
    cairo_line_to(cr, x + w, y + tr);
    cairo_line_to(cr, x + w, y + h - br);
    cairo_line_to(cr, x + w - br, y + h);
    cairo_line_to(cr, x + bl, y + h);
    cairo_line_to(cr, x, y + h - bl);
    cairo_line_to(cr, x, y + tl);
    cairo_close_path(cr);
}

void RoundedPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void GlowStroke(cairo_t* cr, TColor c, double maxWidth, double strength, int steps) {
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = steps; i >= 1; --i) {
        cairo_set_line_width(cr, maxWidth * i / steps * 2);
        SetColor(cr, c, strength / steps);
        cairo_stroke_preserve(cr);
    }
    cairo_restore(cr);
}

void SetVerticalGradient(cairo_t* cr, double y0, double y1, TColor top, TColor bottom, double alpha) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(pattern, 0, top.R, top.G, top.B, alpha);
    cairo_pattern_add_color_stop_rgba(pattern, 1, bottom.R, bottom.G, bottom.B, alpha);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}


TDIBImage CanvasOverBackdrop(const TCairoCanvas& canvas, const TDIBImage& backdrop, int atX, int atY, int minAlpha) {
    return MapCanvas(canvas, [&](uint32_t argb, int x, int y) -> uint32_t {
        uint32_t a = argb >> 24;
        int bx = atX + x, by = atY + y;
        bool inside = bx >= 0 && by >= 0 && bx < backdrop.Width && by < backdrop.Height;
        if (static_cast<int>(a) < minAlpha || (!inside && a != 255)) return kKeyRGB;
        uint32_t under = inside ? backdrop.At(bx, by) : 0;
        if (under == kKeyRGB) under = 0;
        auto channel = [&](int shift) {
            uint32_t src = (argb >> shift) & 0xFF;  // premultiplied
            uint32_t bg = (under >> shift) & 0xFF;
            return std::min<uint32_t>(255, src + bg * (255 - a) / 255);
        };
        return AwayFromKey(channel(16) << 16 | channel(8) << 8 | channel(0), kKeyRGB);
    });
}

TDIBImage Crop(const TDIBImage& image, int x, int y, int w, int h) {
    TDIBImage out;
    out.Width = w;
    out.Height = h;
    out.Pixels.assign(static_cast<size_t>(w) * h, 0);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            int sx = x + col, sy = y + row;
            if (sx >= 0 && sy >= 0 && sx < image.Width && sy < image.Height)
                out.Pixels[static_cast<size_t>(row) * w + col] = image.At(sx, sy);
        }
    return out;
}

void Overlay(TDIBImage& base, const TDIBImage& top, uint32_t topKey, int x, int y) {
    for (int row = 0; row < top.Height; ++row)
        for (int col = 0; col < top.Width; ++col) {
            int bx = x + col, by = y + row;
            uint32_t p = top.At(col, row);
            if (p == topKey || bx < 0 || by < 0 || bx >= base.Width || by >= base.Height) continue;
            base.Pixels[static_cast<size_t>(by) * base.Width + bx] = p;
        }
}

void PaintPicture(cairo_t* cr, const TDIBImage& image, uint32_t key, double x, double y, double scale) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.Width, image.Height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < image.Height; ++row) {
        uint32_t* line = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(row) * stride);
        for (int col = 0; col < image.Width; ++col) {
            uint32_t p = image.At(col, row);
            line[col] = p == key ? 0 : (0xFF000000u | p);
        }
    }
    cairo_surface_mark_dirty(surface);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

TPictureItemData PatternItem(const std::string& name, const std::vector<TDIBImage>& patterns) {
    TPictureItemData item;
    item.Name = name;
    item.Transparent = true;
    item.TransparentColor = kKeyRGB;
    const int w = patterns.front().Width, h = patterns.front().Height;
    item.Picture.Width = w;
    item.Picture.Height = h * static_cast<int>(patterns.size());
    item.Picture.Pixels.reserve(static_cast<size_t>(w) * item.Picture.Height);
    for (const TDIBImage& p : patterns) item.Picture.Pixels.insert(item.Picture.Pixels.end(), p.Pixels.begin(), p.Pixels.end());
    item.PatternWidth = w;
    item.PatternHeight = h;
    return item;
}

TPictureItemData KeyedItem(const std::string& name, TDIBImage picture) {
    TPictureItemData item;
    item.Name = name;
    item.Transparent = true;
    item.TransparentColor = kKeyRGB;
    item.PatternWidth = picture.Width;
    item.PatternHeight = picture.Height;
    item.Picture = std::move(picture);
    return item;
}

TPictureItemData PlaceholderItem(const std::string& name) {
    TDIBImage pixel;
    pixel.Width = 1;
    pixel.Height = 1;
    pixel.Pixels = {kKeyRGB};
    return KeyedItem(name, std::move(pixel));
}

void KeepOffKey(TDIBImage& image) {
    for (uint32_t& p : image.Pixels) p = AwayFromKey(p, kKeyRGB);
}

}  // namespace quillon::assetgen::menuart
