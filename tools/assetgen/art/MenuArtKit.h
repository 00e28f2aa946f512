// Shared tools of the menu and radar art: the interface palette, painted labels,
// plate shapes, and the flattening of a drawing over the picture that lies beneath it.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "art/CairoImage.h"
#include "engine/CollectionFiles.h"

namespace quillon::assetgen::menuart {

// Every keyed picture of the menus and the radar uses magenta: no colour of the
// interface comes near it, so no opaque pixel turns into the key in 16 bits.
inline constexpr uint32_t kKeyRGB = 0xFF00FF;

struct TColor {
    double R, G, B;
};

// The interface palette: deep-space navy bodies, electric blue frames, cyan light.
inline constexpr TColor kInk{0.016, 0.027, 0.070};         // darkest body
inline constexpr TColor kBody{0.035, 0.063, 0.145};        // panel body
inline constexpr TColor kBodyLight{0.075, 0.125, 0.260};   // raised body
inline constexpr TColor kFrame{0.196, 0.494, 0.941};       // 50,126,240: the dialog text blue
inline constexpr TColor kFrameDim{0.110, 0.260, 0.520};
inline constexpr TColor kCyan{0.430, 0.890, 1.000};
inline constexpr TColor kWhite{0.930, 0.965, 1.000};
inline constexpr TColor kSteel{0.640, 0.730, 0.860};
inline constexpr TColor kAmber{1.000, 0.690, 0.160};
inline constexpr TColor kGreen{0.376, 1.000, 0.000};       // 96,255,0: the race display green
inline constexpr TColor kRed{1.000, 0.250, 0.200};

void SetColor(cairo_t* cr, TColor c, double alpha = 1.0);

// The face of every label painted into a picture.
inline constexpr const char* kLabelFace = "Play";

struct TTextSize {
    double Width;
    double Height;
};

// Measures or outlines a one-line label; (x, y) is the top-left of its logical box.
TTextSize MeasureLabel(cairo_t* cr, const std::string& utf8, double pixelSize, bool bold, double letterSpacing = 0);
void LabelPath(cairo_t* cr, const std::string& utf8, double x, double y, double pixelSize, bool bold,
               double letterSpacing = 0);
// The largest pixel size (up to maxSize) at which the label fits maxWidth.
double FitLabelSize(cairo_t* cr, const std::string& utf8, double maxWidth, double maxSize, bool bold,
                    double letterSpacing = 0);

// A label centred on (cx, cy): dark outline, vertical gradient fill from top to bottom colour.
void PaintLabel(cairo_t* cr, const std::string& utf8, double cx, double cy, double pixelSize, bool bold,
                TColor top, TColor bottom, double outline = 2.0, double letterSpacing = 0);
// The same with a soft light around it (for opaque grounds or pictures flattened over their backdrop).
void PaintGlowLabel(cairo_t* cr, const std::string& utf8, double cx, double cy, double pixelSize, bool bold,
                    TColor top, TColor bottom, TColor glow, double glowStrength, double letterSpacing = 0);

// A rectangle with cut corners: cut is the size of the chamfer at each corner
// (top-left, top-right, bottom-right, bottom-left).
void ChamferPath(cairo_t* cr, double x, double y, double w, double h, double tl, double tr, double br, double bl);
void RoundedPath(cairo_t* cr, double x, double y, double w, double h, double r);

// A soft light: the current path stroked several times, widest and faintest first.
void GlowStroke(cairo_t* cr, TColor c, double maxWidth, double strength, int steps = 6);
// Vertical linear gradient set as the source.
void SetVerticalGradient(cairo_t* cr, double y0, double y1, TColor top, TColor bottom, double alpha = 1.0);

// Flattens a drawing that will always be shown at (atX, atY) over `backdrop`:
// nearly clear pixels become the key, the others are blended over the backdrop, so
// soft edges and lights look right in the game while the key still cuts the shape.
TDIBImage CanvasOverBackdrop(const TCairoCanvas& canvas, const TDIBImage& backdrop, int atX, int atY,
                             int minAlpha = 24);
// Copies part of a picture (clipped to its size) into a new one.
TDIBImage Crop(const TDIBImage& image, int x, int y, int w, int h);
// Places `top` (keyed with topKey) over `base` at (x, y), in place.
void Overlay(TDIBImage& base, const TDIBImage& top, uint32_t topKey, int x, int y);
// Paints a picture onto a cairo context at (x, y); pixels equal to key are skipped.
void PaintPicture(cairo_t* cr, const TDIBImage& image, uint32_t key, double x, double y, double scale = 1.0);

// Stacks same-sized pattern pictures top to bottom into one collection item.
TPictureItemData PatternItem(const std::string& name, const std::vector<TDIBImage>& patterns);
// A one-pattern keyed item.
TPictureItemData KeyedItem(const std::string& name, TDIBImage picture);
// An item that exists only to keep the numbering: one key-coloured pixel.
TPictureItemData PlaceholderItem(const std::string& name);

// Turns any pixel of an opaque-only picture that would read as the key in 16 bits off it.
void KeepOffKey(TDIBImage& image);

}  // namespace quillon::assetgen::menuart
