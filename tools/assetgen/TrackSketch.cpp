// Track rules of the race, row by row, on a small map.
#include "TrackSketch.h"

#include "art/RaceKit.h"
#include "art/RaceRoad.h"

namespace quillon::assetgen {

uint8_t TTrackSketch::At(int row, int col) const {
    if (row < 0 || row >= Rows || col < 0 || col >= Cols) return EmptyTileCode;
    return Codes[static_cast<size_t>(row) * Cols + col];
}

void TTrackSketch::Set(int row, int col, uint8_t code) {
    if (row < 0 || row >= Rows || col < 0 || col >= Cols) return;
    Codes[static_cast<size_t>(row) * Cols + col] = code;
}

namespace {

// Writes row r from row r + 1 by the rules of segment `kind`.
void GenerateRow(TTrackSketch& t, int r, int kind) {
    for (int c = 0; c < t.Cols; ++c) {
        const int s = t.At(r + 1, c);
        int e = -1, f = -1, g = -1;
        switch (kind) {
            case 1: case 2:
                if (s == 1 || s == 2 || s == 3) e = s;
                break;
            case 3:
                if (s == 1) {
                    int right = t.At(r + 1, c + 1);
                    if (right != 3 && right != 9) e = 1;
                } else if (s == 2 || s == 6) { e = 5; f = 4; }
                else if (s == 3 || s == 9) { e = 8; f = 7; }
                else if (s == 4) e = 6;
                else if (s == 5) e = 1;
                else if (s == 7) e = 9;
                else if (s == 8) e = 10;
                break;
            case 4:
                if (s == 1) {
                    int left = t.At(r + 1, c - 1);
                    if (left != 2 && left != 14) e = 1;
                } else if (s == 2 || s == 14) { e = 11; g = 12; }
                else if (s == 3 || s == 17) { e = 15; g = 16; }
                else if (s == 11) e = 13;
                else if (s == 12) e = 14;
                else if (s == 15) e = 1;
                else if (s == 16) e = 17;
                break;
            case 5:
                if (s == 1) e = 1;
                else if (s == 2 || s == 6 || s == 14) e = 2;
                else if (s == 3 || s == 9 || s == 17) e = 3;
                break;
            default: break;
        }
        if (f >= 0) t.Set(r, c - 1, static_cast<uint8_t>(f));
        if (e >= 0) t.Set(r, c, static_cast<uint8_t>(e));
        if (g >= 0) t.Set(r, c + 1, static_cast<uint8_t>(g));
    }
}

void StraightRow(TTrackSketch& t, int r, int leftCol, bool line) {
    static const uint8_t road[6] = {2, 1, 1, 1, 1, 3}, start[6] = {18, 19, 20, 19, 21, 22};
    for (int k = 0; k < 6; ++k) t.Set(r, leftCol + k, line ? start[k] : road[k]);
}

}  // namespace

TTrackSketch SketchFromKinds(const std::vector<int>& kinds, int cols, int leftCol, bool startLine) {
    TTrackSketch t;
    t.Rows = static_cast<int>(kinds.size()) + 1;
    t.Cols = cols;
    t.Codes.assign(static_cast<size_t>(t.Rows) * cols, EmptyTileCode);
    StraightRow(t, t.Rows - 1, leftCol, false);
    for (int r = t.Rows - 2; r >= 0; --r) GenerateRow(t, r, kinds[r]);
    // As in the race the line is laid over a straight row after the rows above it are made.
    if (startLine) StraightRow(t, t.Rows - 1, leftCol, true);
    return t;
}

TTrackSketch RandomTrack(uint32_t seed, int rows, int cols) {
    TArtRandom rnd(seed);
    TTrackSketch t;
    t.Rows = rows;
    t.Cols = cols;
    t.Codes.assign(static_cast<size_t>(rows) * cols, EmptyTileCode);
    const int startRows = 6;
    for (int k = 1; k <= startRows; ++k) StraightRow(t, rows - k, cols / 2 - 3, k == startRows - 1);
    static const int segmentRows[6] = {0, 8, 10, 6, 6, 4};
    int kind = 1, left = segmentRows[1];
    for (int r = rows - startRows - 1; r >= 0; --r) {
        if (left == 0) {
            bool closing = r < 12;  // the top rows are forced straight, as in a level
            int coin = static_cast<int>(rnd.Next() & 1);
            switch (kind) {
                case 1: kind = closing ? 1 : (coin ? 2 : 1); break;
                case 2: kind = closing ? 1 : (coin ? 4 : 3); break;
                case 3: kind = closing ? 5 : (coin ? 5 : 3); break;
                case 4: kind = closing ? 5 : (coin ? 5 : 4); break;
                default: kind = 1; break;
            }
            left = segmentRows[kind];
        }
        GenerateRow(t, r, kind);
        --left;
    }
    for (int c = 0; c < cols; ++c) {  // the finish line on the first straight left edge
        if (t.At(3, c) == 2) {
            StraightRow(t, 3, c, true);
            break;
        }
    }
    return t;
}

TDIBImage AssembleStretch(const TTrackSketch& sketch, const TDIBImage& tiles, uint32_t keyColor) {
    TDIBImage out;
    out.Width = sketch.Cols * RoadTileSize;
    out.Height = sketch.Rows * RoadTileSize;
    out.Pixels.assign(static_cast<size_t>(out.Width) * out.Height, keyColor);
    for (int r = 0; r < sketch.Rows; ++r) {
        for (int c = 0; c < sketch.Cols; ++c) {
            int code = sketch.At(r, c);
            if (code == EmptyTileCode || (code + 1) * RoadTileSize > tiles.Width) continue;
            for (int y = 0; y < RoadTileSize; ++y)
                for (int x = 0; x < RoadTileSize; ++x)
                    out.Pixels[static_cast<size_t>(r * RoadTileSize + y) * out.Width + c * RoadTileSize + x] =
                        tiles.At(code * RoadTileSize + x, y);
        }
    }
    return out;
}

}  // namespace quillon::assetgen
