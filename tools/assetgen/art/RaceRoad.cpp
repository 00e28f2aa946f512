// Road tiles: a dark panelled road between bright walls. Each wall is a band of fixed
// horizontal width around a centre line x = A + B y; neighbouring tiles share the line,
// so the walls and the road join without a seam in every combination the track makes.
#include "art/RaceRoad.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "art/CairoImage.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

constexpr double WallHalf = 8.0;  // half the band, measured across (horizontally)
constexpr double KerbHeight = 27.0;

struct TWallLine {
    double A, B;  // centre x = A + B y (tile coordinates)
    int RoadSide; // +1: road right of the wall (a left edge), -1: road left of it
};

struct TTileLayout {
    std::vector<TWallLine> Walls;
    bool StartLine = false;
    // The stone over tile 7's corner block reaches across into 8 (up to the wall) and a
    // little into 9 and 10 above them, which always lie there: x >= KerbX0, y from KerbY0
    // over KerbHeight.
    bool Kerb = false;
    double KerbX0 = 0, KerbY0 = 0;
};

TTileLayout LayoutOf(int code) {
    const TWallLine leftStraight{24.5, 0, +1}, rightStraight{46.5, 0, -1};
    TTileLayout t;
    switch (code) {
        case 2: t.Walls = {leftStraight}; break;
        case 3: t.Walls = {rightStraight}; break;
        // Left shift: both walls climb up and to the left, 72 px per two rows.
        case 4: t.Walls = {{60.5, 0.5, +1}}; break;
        case 5: t.Walls = {{-11.5, 0.5, +1}}; break;
        case 6: t.Walls = {{24.5, 0.5, +1}}; break;
        case 7: t.Kerb = true; t.KerbX0 = 63; t.KerbY0 = -6; break;
        case 8: t.Walls = {{10.5, 0.5, -1}}; t.Kerb = true; t.KerbX0 = -9; t.KerbY0 = -6; break;
        case 9: t.Walls = {{46.5, 0.5, -1}}; t.Kerb = true; t.KerbX0 = 63; t.KerbY0 = 66; break;
        case 10: t.Walls = {{-25.5, 0.5, -1}}; t.Kerb = true; t.KerbX0 = -9; t.KerbY0 = 66; break;
        // Right shift: the mirror image.
        case 11: t.Walls = {{60.5, -0.5, +1}}; break;
        case 13: t.Walls = {{96.5, -0.5, +1}}; break;
        case 14: t.Walls = {{24.5, -0.5, +1}}; break;
        case 15: t.Walls = {{82.5, -0.5, -1}}; break;
        case 16: t.Walls = {{10.5, -0.5, -1}}; break;
        case 17: t.Walls = {{46.5, -0.5, -1}}; break;
        case 18: t.Walls = {leftStraight}; t.StartLine = true; break;
        case 19: case 20: case 21: t.StartLine = true; break;
        case 22: t.Walls = {rightStraight}; t.StartLine = true; break;
        default: break;  // 0, 1, 12: plain road
    }
    return t;
}

enum class TMaterial { Space, Road, Wall };

struct TSample {
    TMaterial Material = TMaterial::Space;
    double Across = 0;  // for walls: -1 at the space side .. +1 at the road side
    double Along = 0;   // for walls: y, to place the segment joints
};

TSample Classify(const TTileLayout& t, double x, double y) {
    TSample s;
    bool road = true;
    for (const TWallLine& w : t.Walls) {
        double u = x - (w.A + w.B * y);
        if (std::abs(u) <= WallHalf) {
            s.Material = TMaterial::Wall;
            s.Across = u / WallHalf * w.RoadSide;
            s.Along = y;
            return s;
        }
        if (u * w.RoadSide < 0) road = false;
    }
    if (t.Kerb && road && x >= t.KerbX0 && y >= t.KerbY0 && y <= t.KerbY0 + KerbHeight) {
        // Rounded on its road-facing corners; a neon rim on the faces toward the road.
        const double r = 4.0, left = t.KerbX0 + r, top = t.KerbY0 + r, bottom = t.KerbY0 + KerbHeight - r;
        double dx = std::max(0.0, left - x), dy = std::max({0.0, top - y, y - bottom});
        if (dx * dx + dy * dy <= r * r) {
            double rim = std::min({x - t.KerbX0, y - t.KerbY0, t.KerbY0 + KerbHeight - y});
            s.Material = TMaterial::Wall;
            s.Across = rim < 2.0 ? 0.85 : 0.1;
            s.Along = y;
            return s;
        }
    }
    s.Material = road ? TMaterial::Road : TMaterial::Space;
    return s;
}

// Periodic value noise on a 9-px lattice that repeats every tile, so plain road tiles
// join invisibly.
double TileNoise(double x, double y, uint32_t seed) {
    constexpr int Cells = 8;
    constexpr double Step = RoadTileSize / double(Cells);
    auto lattice = [&](int i, int j) {
        uint32_t h = static_cast<uint32_t>(((i % Cells) + Cells) % Cells) * 73856093u ^
                     static_cast<uint32_t>(((j % Cells) + Cells) % Cells) * 19349663u ^ seed * 83492791u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        h ^= h >> 15;
        return (h & 0xFFFF) / 65535.0;
    };
    double fx = x / Step, fy = y / Step;
    int i = static_cast<int>(std::floor(fx)), j = static_cast<int>(std::floor(fy));
    double tx = fx - i, ty = fy - j;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = lattice(i, j) + (lattice(i + 1, j) - lattice(i, j)) * tx;
    double b = lattice(i, j + 1) + (lattice(i + 1, j + 1) - lattice(i, j + 1)) * tx;
    return a + (b - a) * ty;
}

double Luma(const TRGB& c) { return 0.299 * c.R + 0.587 * c.G + 0.114 * c.B; }

TRGB RoadColour(const TTileLayout& t, double x, double y) {
    const TRGB base = Hex(0x1A1E34), panelFace = Hex(0x242A48), seam = Hex(0x184C64), light = Hex(0x2FD8FF);
    double n = TileNoise(x, y, 7) * 0.6 + TileNoise(x * 2, y * 2, 11) * 0.4;
    // Panels of 36 x 36, each a little different in shade, with a lighter inner face and
    // faintly lit seams between them, so the road glows as a grid under the ship.
    double px = std::fmod(x, 36.0), py = std::fmod(y, 36.0);
    const int panel = (x >= 36 ? 1 : 0) + (y >= 36 ? 2 : 0);
    const double tint[4] = {1.0, 0.93, 0.96, 1.05};
    double edge = std::min(std::min(px, 36.0 - px), std::min(py, 36.0 - py));
    TRGB c = Mix(base, panel == 3 ? Hex(0x282E50) : panelFace, std::min(1.0, edge / 5.0));
    c = Scale(c, (0.85 + 0.3 * n) * tint[panel]);
    if (edge < 1.0) c = seam;
    else if (edge < 2.2) c = Mix(c, seam, 0.3 * (2.2 - edge) / 1.2);
    // Rivets near the panel corners.
    for (double rx : {4.0, 32.0})
        for (double ry : {4.0, 32.0}) {
            double d = std::hypot(px - rx, py - ry);
            if (d < 1.3) c = Mix(Hex(0x3A4266), Hex(0x11131F), (px - rx + py - ry) > 0 ? 0.6 : 0.0);
        }
    // Guide lights in the seams every half tile: a faint glow around a bright core.
    for (double ly : {18.0, 54.0}) {
        double dx = std::min(px, 36.0 - px), dy = y - ly;
        double d = std::sqrt(dx * dx + dy * dy * 0.25);
        if (d < 5.0) c = Mix(c, light, 0.45 * (1 - d / 5.0) * (1 - d / 5.0));
        if (d < 1.3) c = Mix(c, Hex(0xBFF6FF), 0.6);
    }
    if (Luma(c) > 0.34) c = Scale(c, 0.34 / Luma(c));  // the road stays darker than any wall
    if (t.StartLine && y >= 22 && y < 50) {
        if (y < 24 || y >= 48) {
            c = Hex(0xE8F8FF);
        } else {
            // Squares straddle the tile edges, so a colour change never falls on a seam.
            int cx = static_cast<int>(std::floor((x + 6) / 12.0)), cy = static_cast<int>(std::floor((y - 24) / 12.0));
            c = ((cx + cy) & 1) ? Hex(0x0B0C16) : Hex(0xD8E4F2);
        }
    }
    return c;
}

TRGB WallColour(double across, double along) {
    // From the space side (-1) to the road side (+1): amber trim, rounded steel, neon rim.
    const TRGB amber = Hex(0xD88A2A), steelDark = Hex(0x6E7894), steelLight = Hex(0xD6DEF0),
               neon = Hex(0x40E6FF), neonCore = Hex(0xC8FAFF);
    TRGB c;
    if (across < -0.78) {
        c = Mix(amber, Hex(0xA8641C), (-0.78 - across) / 0.22);
    } else if (across < 0.62) {
        double t = (across + 0.78) / 1.4;               // 0..1 across the steel
        double shade = std::sin(t * 3.14159) * 0.75 + 0.25 * (1 - t);
        c = Mix(steelDark, steelLight, shade);
        // Joints between wall segments every 24 px along the road.
        double j = std::fmod(along + 240.0, 24.0);
        if (j < 1.2) c = Mix(c, Hex(0x707A98), 0.8);
        else if (j < 2.4) c = Mix(c, Hex(0xF0F4FF), 0.5);
    } else if (across < 0.72) {
        c = Hex(0x5A6688);
    } else {
        double t = (across - 0.72) / 0.28;
        c = Mix(neon, neonCore, 1 - std::abs(t - 0.45) * 2);
    }
    return c;
}

void DrawTile(unsigned char* data, int stride, int originX, int code) {
    const TTileLayout t = LayoutOf(code);
    constexpr int SS = 4;  // samples per pixel side
    for (int py = 0; py < RoadTileSize; ++py) {
        for (int px = 0; px < RoadTileSize; ++px) {
            double r = 0, g = 0, b = 0;
            int covered = 0, wall = 0;
            for (int sy = 0; sy < SS; ++sy) {
                for (int sx = 0; sx < SS; ++sx) {
                    double x = px + (sx + 0.5) / SS, y = py + (sy + 0.5) / SS;
                    TSample s = Classify(t, x, y);
                    if (s.Material == TMaterial::Space) continue;
                    TRGB c = s.Material == TMaterial::Wall ? WallColour(s.Across, s.Along) : RoadColour(t, x, y);
                    r += c.R;
                    g += c.G;
                    b += c.B;
                    ++covered;
                    if (s.Material == TMaterial::Wall) ++wall;
                }
            }
            uint32_t argb = 0;
            if (covered * 2 >= SS * SS) {
                TRGB c{r / covered, g / covered, b / covered};
                // A pixel that is mostly wall keeps the wall's brightness, so the band
                // stays recognisable right up to its edges.
                if (wall * 2 >= covered && Luma(c) < 0.42) c = Scale(c, 0.42 / std::max(0.01, Luma(c)));
                argb = 0xFF000000u | static_cast<uint32_t>(std::lround(c.R * 255)) << 16 |
                       static_cast<uint32_t>(std::lround(c.G * 255)) << 8 | static_cast<uint32_t>(std::lround(c.B * 255));
            }
            auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(py) * stride);
            row[originX + px] = argb;
        }
    }
}

}  // namespace

const std::array<TWallShape, 13>& WallShapes() {
    static const std::array<TWallShape, 13> shapes{{
        {2, {19, 29, 20, 30}, {0, 0, 71, 71}},
        {3, {42, 51, 42, 51}, {0, 0, 71, 71}},
        {5, {3, 0, 19, 29}, {20, 35, 71, 71}},
        {6, {20, 29, 53, 64}, {0, 0, 71, 71}},
        {7, {65, 71, 65, 71}, {0, 0, 19, 19}},
        {8, {5, 14, 41, 51}, {0, 0, 71, 71}},
        {9, {40, 51, 71, 71}, {0, 0, 42, 63}},
        {11, {57, 67, 20, 30}, {0, 0, 71, 71}},
        {14, {20, 29, 0, 0}, {0, 0, 42, 63}},
        {15, {68, 71, 42, 52}, {20, 35, 71, 71}},
        {17, {42, 51, 7, 18}, {0, 0, 71, 71}},
        {18, {20, 29, 20, 29}, {0, 0, 71, 71}},
        {22, {42, 52, 41, 51}, {0, 0, 71, 71}},
    }};
    return shapes;
}

const TWallShape* WallShapeOf(int code) {
    for (const TWallShape& s : WallShapes())
        if (s.Code == code) return &s;
    return nullptr;
}

bool IsWallColour(uint32_t rgb) {
    double r = ((rgb >> 16) & 0xFF) / 255.0, g = ((rgb >> 8) & 0xFF) / 255.0, b = (rgb & 0xFF) / 255.0;
    return 0.299 * r + 0.587 * g + 0.114 * b >= 0.39;
}

TPictureItemData BuildRoadTileSet() {
    TCairoCanvas canvas(RoadTileSize * RoadTileCount, RoadTileSize);
    cairo_surface_flush(canvas.Surface);
    unsigned char* data = cairo_image_surface_get_data(canvas.Surface);
    int stride = cairo_image_surface_get_stride(canvas.Surface);
    for (int code = 0; code < RoadTileCount; ++code) DrawTile(data, stride, code * RoadTileSize, code == 0 ? 1 : code);
    cairo_surface_mark_dirty(canvas.Surface);
    TPictureItemData item;
    item.Name = "Road";
    item.Picture = CanvasToPicture(canvas, RaceKeyRGB);
    item.PatternWidth = RoadTileSize;
    item.PatternHeight = RoadTileSize;
    item.Transparent = true;
    item.TransparentColor = RaceKeyRGB;
    return item;
}

}  // namespace quillon::assetgen
