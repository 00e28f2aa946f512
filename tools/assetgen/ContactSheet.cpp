// Contact sheets drawn with cairo: each pattern on a checkerboard so key pixels show.
#include "ContactSheet.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TrackSketch.h"
#include "art/Collections.h"
#include "art/RaceKit.h"
#include "art/RaceRoad.h"
#include "engine/Surface.h"

namespace quillon::assetgen {

namespace {

constexpr int SheetWidth = 1800, Gap = 6, HeaderH = 18;

uint16_t To565(uint32_t rgb) {
    return PackRGB565(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

uint32_t KeyAsRGB(const TPictureItemData& item) {
    uint32_t k = item.TransparentColor;  // 0x00BBGGRR
    return (k & 0xFF) << 16 | (k & 0xFF00) | (k >> 16 & 0xFF);
}

void Checker(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int cy = 0; cy * 8 < h; ++cy)
        for (int cx = 0; cx * 8 < w; ++cx) {
            double v = ((cx + cy) & 1) ? 0.42 : 0.3;
            cairo_set_source_rgb(cr, v, v, v);
            cairo_rectangle(cr, x + cx * 8, y + cy * 8, 8, 8);
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

// A cairo surface of part of a picture; key pixels (as the game compares them, in
// 16 bits) become clear.
cairo_surface_t* PatternSurface(const TDIBImage& pic, int x0, int y0, int w, int h, bool keyed, uint32_t keyRGB) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    const uint16_t key = To565(keyRGB);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            int px = x0 + x, py = y0 + y;
            uint32_t v = (px < pic.Width && py < pic.Height) ? pic.At(px, py) : keyRGB;
            row[x] = (keyed && To565(v) == key) ? 0 : (0xFF000000u | v);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

void Text(cairo_t* cr, double x, double y, const std::string& s) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 12);
    cairo_set_source_rgb(cr, 0.9, 0.92, 1.0);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
}

void WriteCollectionSheet(const std::string& path, const std::vector<TPictureItemData>& items) {
    // Two passes over the same layout: measure the height, then draw.
    auto layout = [&](cairo_t* cr) {
        int y = Gap;
        for (size_t i = 0; i < items.size(); ++i) {
            const TPictureItemData& item = items[i];
            const TDIBImage& pic = item.Picture;
            int pw = item.PatternWidth > 0 ? item.PatternWidth : pic.Width;
            int ph = item.PatternHeight > 0 ? item.PatternHeight : pic.Height;
            int cols = std::max(1, (pic.Width + item.SkipWidth) / (pw + item.SkipWidth));
            int rows = std::max(1, (pic.Height + item.SkipHeight) / (ph + item.SkipHeight));
            int count = cols * rows;
            if (cr)
                Text(cr, Gap, y + 13,
                     std::to_string(i) + "  " + item.Name + "  " + std::to_string(pw) + "x" + std::to_string(ph) + "  x" +
                         std::to_string(count) + (item.Transparent ? "" : "  opaque"));
            y += HeaderH;
            int x = Gap, rowH = 0;
            for (int k = 0; k < count; ++k) {
                int cellW = std::max(pw, 22);
                if (x + cellW > SheetWidth - Gap && x > Gap) {
                    x = Gap;
                    y += rowH + 14 + Gap;
                    rowH = 0;
                }
                if (cr) {
                    Checker(cr, x, y, pw, ph);
                    int sx = (k % cols) * (pw + item.SkipWidth), sy = (k / cols) * (ph + item.SkipHeight);
                    cairo_surface_t* s = PatternSurface(pic, sx, sy, pw, ph, item.Transparent, KeyAsRGB(item));
                    cairo_set_source_surface(cr, s, x, y);
                    cairo_paint(cr);
                    cairo_surface_destroy(s);
                    cairo_set_font_size(cr, 10);
                    cairo_set_source_rgb(cr, 0.6, 0.8, 1.0);
                    cairo_move_to(cr, x, y + ph + 11);
                    cairo_show_text(cr, std::to_string(k).c_str());
                }
                x += cellW + Gap;
                rowH = std::max(rowH, ph);
            }
            y += rowH + 14 + Gap * 2;
        }
        return y;
    };
    int height = layout(nullptr);
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, SheetWidth, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.14);
    cairo_paint(cr);
    layout(cr);
    cairo_destroy(cr);
    cairo_status_t st = cairo_surface_write_to_png(sheet, path.c_str());
    cairo_surface_destroy(sheet);
    if (st != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}

// Road stretches over the star field with the collision shapes outlined in red.
void WriteRoadSheet(const std::string& path, const std::vector<TPictureItemData>& race) {
    const TDIBImage& tiles = race.at(1).Picture;
    const TDIBImage& stars = race.at(58).Picture;
    struct TSample { const char* Title; TTrackSketch Sketch; };
    // Shifts run 6 rows and straightening 4, as in the race; rows listed top first.
    std::vector<TSample> samples = {
        {"straight", SketchFromKinds({1, 1, 1, 1, 1, 1, 1}, 10, 2, false)},
        {"left shift", SketchFromKinds({5, 3, 3, 3, 3, 3, 3, 1}, 10, 4, false)},
        {"right shift", SketchFromKinds({5, 4, 4, 4, 4, 4, 4, 1}, 10, 1, false)},
        {"start line", SketchFromKinds({1, 1, 1, 1, 1, 1, 1}, 10, 2, false)},
        {"straightening", SketchFromKinds({1, 1, 5, 5, 5, 5, 3, 3}, 10, 3, false)},
    };
    // The line sits in the middle of its stretch, as the race's start row does.
    static const uint8_t line[6] = {18, 19, 20, 19, 21, 22};
    for (int k = 0; k < 6; ++k) samples[3].Sketch.Set(4, 2 + k, line[k]);
    const int stretchW = 10 * RoadTileSize, stretchH = 8 * RoadTileSize;
    const int width = static_cast<int>(samples.size()) * (stretchW + Gap) + Gap, height = stretchH + HeaderH + Gap * 2;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.14);
    cairo_paint(cr);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double ox = Gap + i * (stretchW + Gap), oy = HeaderH + Gap;
        Text(cr, ox, 15, samples[i].Title);
        cairo_surface_t* bg = PatternSurface(stars, 0, 0, stretchW, stretchH, false, 0);
        cairo_set_source_surface(cr, bg, ox, oy);
        cairo_paint(cr);
        cairo_surface_destroy(bg);
        TDIBImage road = AssembleStretch(samples[i].Sketch, tiles, RaceKeyRGB);
        cairo_surface_t* s = PatternSurface(road, 0, 0, road.Width, road.Height, true, RaceKeyRGB);
        cairo_set_source_surface(cr, s, ox, oy);
        cairo_paint(cr);
        cairo_surface_destroy(s);
        const TTrackSketch& t = samples[i].Sketch;
        for (int r = 0; r < t.Rows; ++r)
            for (int c = 0; c < t.Cols; ++c)
                if (const TWallShape* w = WallShapeOf(t.At(r, c))) {
                    // Corners are listed top pair then bottom pair; outline their hull.
                    const int order[4] = {0, 1, 3, 2};
                    for (int k = 0; k < 4; ++k) {
                        double x = ox + c * RoadTileSize + w->X[order[k]] + 0.5, y = oy + r * RoadTileSize + w->Y[order[k]] + 0.5;
                        if (k == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
                    }
                    cairo_close_path(cr);
                    cairo_set_source_rgba(cr, 1, 0.15, 0.15, 0.9);
                    cairo_set_line_width(cr, 1);
                    cairo_stroke(cr);
                }
    }
    cairo_destroy(cr);
    cairo_status_t st = cairo_surface_write_to_png(sheet, path.c_str());
    cairo_surface_destroy(sheet);
    if (st != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}

// The instrument panel as the race shows it: full energy, a speed reading, the unit, and
// the radar with a straight road, a rival dot and its overlays.
void WriteHudPreview(const std::string& path, const std::vector<TPictureItemData>& race,
                     const std::vector<TPictureItemData>& radar) {
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 225, 600);
    cairo_t* cr = cairo_create(sheet);
    auto draw = [&](const TPictureItemData& item, int screenX, int y) {
        const TDIBImage& pic = item.Picture;
        cairo_surface_t* s = PatternSurface(pic, 0, 0, pic.Width, pic.Height, item.Transparent, KeyAsRGB(item));
        cairo_set_source_surface(cr, s, screenX - 575, y);
        cairo_paint(cr);
        cairo_surface_destroy(s);
    };
    auto put = [&](int index, int screenX, int y) { draw(race.at(index), screenX, y); };
    put(2, 575, 0);
    if (radar.size() >= 18) {
        for (int row = 1; row <= 11; ++row) draw(radar[4], 720, 18 * row + 14);
        draw(radar[10], 720 - 13, 18 * 4 + 18);
        draw(radar[16], 720, 40);
        draw(radar[14], 667, 115);
        draw(radar[12], 598, 0);
        draw(radar[13], 638, 208);
        draw(radar[11], 638, 112);
    }
    const int digits[4] = {2, 4, 6, 8}, dx[4] = {645, 656, 667, 678}, dy[4] = {439, 433, 428, 423};
    for (int k = 0; k < 4; ++k) put(47 + digits[k], dx[k], dy[k]);
    put(57, 695, 404);
    const int gx[4] = {606, 640, 693, 743}, gy[4] = {546, 511, 482, 461};
    for (int k = 0; k < 4; ++k) put(43 + k, gx[k], gy[k]);
    cairo_destroy(cr);
    cairo_status_t st = cairo_surface_write_to_png(sheet, path.c_str());
    cairo_surface_destroy(sheet);
    if (st != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}

// A whole race frame put together from the pictures: star field, road, bonuses, a rival,
// the player's ship with its flame, shots, an asteroid and the panel.
void WriteRaceMock(const std::string& path, const std::vector<TPictureItemData>& race) {
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
    cairo_t* cr = cairo_create(sheet);
    auto draw = [&](int index, int pattern, double x, double y) {
        const TPictureItemData& item = race.at(index);
        const TDIBImage& pic = item.Picture;
        int pw = item.PatternWidth > 0 ? item.PatternWidth : pic.Width;
        int ph = item.PatternHeight > 0 ? item.PatternHeight : pic.Height;
        int cols = std::max(1, pic.Width / pw);
        cairo_surface_t* s = PatternSurface(pic, (pattern % cols) * pw, (pattern / cols) * ph, pw, ph, item.Transparent,
                                            KeyAsRGB(item));
        cairo_set_source_surface(cr, s, x, y);
        cairo_paint(cr);
        cairo_surface_destroy(s);
    };
    draw(58, 0, 0, 0);
    const TTrackSketch track = RandomTrack(7, 24, 30);
    const int top = 9, left = 8;  // the window's first map row and column
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 13; ++c) {
            int code = track.At(top + r, left + c);
            if (code != EmptyTileCode) draw(1, code, c * RoadTileSize - 30, r * RoadTileSize - 20);
        }
    draw(11, 0, 300 + 19, 180 + 19);
    draw(60, 1, 372 + 19, 108 + 19);
    draw(14, 1, 228 + 19, 36 + 19);
    draw(3, 1, 412, 200);
    draw(28, 2, 394, 132);
    draw(26, 0, 426, 90);
    draw(3, 0, 351, 468);
    draw(5, 0, 328, 400);
    draw(26, 0, 355, 350);
    draw(26, 0, 355, 300);
    draw(23, 3, 180, 240);
    draw(63, 7, 420, 300);
    draw(2, 0, 575, 0);
    for (int k = 0; k < 3; ++k) draw(43 + k, 0, std::array<int, 3>{606, 640, 693}[k], std::array<int, 3>{546, 511, 482}[k]);
    draw(57, 0, 695, 404);
    const int dx[4] = {645, 656, 667, 678}, dy[4] = {439, 433, 428, 423}, digits[4] = {1, 7, 2, 9};
    for (int k = 0; k < 4; ++k) draw(47 + digits[k], 0, dx[k], dy[k]);
    cairo_destroy(cr);
    cairo_status_t st = cairo_surface_write_to_png(sheet, path.c_str());
    cairo_surface_destroy(sheet);
    if (st != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WriteContactSheets(const std::string& dir) {
    std::filesystem::create_directories(dir);
    const std::filesystem::path d(dir);
    const TBothLanguages menus = BuildCollection1BothLanguages(), races = BuildCollection2BothLanguages();
    const std::vector<TPictureItemData>& race = races.Russian;
    const std::vector<TPictureItemData> radar = BuildCollection3();
    WriteCollectionSheet((d / "Res1.png").string(), menus.Russian);
    WriteCollectionSheet((d / "Res1-en.png").string(), menus.English);
    WriteCollectionSheet((d / "Res2.png").string(), race);
    WriteCollectionSheet((d / "Res2-en.png").string(), races.English);
    WriteCollectionSheet((d / "Res3.png").string(), radar);
    WriteRoadSheet((d / "RoadStretches.png").string(), race);
    WriteHudPreview((d / "HudPreview.png").string(), race, radar);
    WriteRaceMock((d / "RaceFrame.png").string(), race);
}

}  // namespace quillon::assetgen
