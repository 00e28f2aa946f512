// The track generator's rules.
#include "race/TrackGenerator.h"

namespace quillon {

int SegmentLength(TSegmentKind kind) {
    switch (kind) {
        case TSegmentKind::Straight: return 8;
        case TSegmentKind::LongStraight: return 10;
        case TSegmentKind::ShiftLeft: return 6;
        case TSegmentKind::ShiftRight: return 6;
        case TSegmentKind::Straighten: return 4;
        default: return 0;
    }
}

TSegmentKind NextSegment(TSegmentKind kind, bool closingStretch, int coin) {
    if (closingStretch) {
        switch (kind) {
            case TSegmentKind::ShiftLeft:
            case TSegmentKind::ShiftRight: return TSegmentKind::Straighten;
            default: return TSegmentKind::Straight;
        }
    }
    switch (kind) {
        case TSegmentKind::Straight: return coin == 0 ? TSegmentKind::Straight : TSegmentKind::LongStraight;
        case TSegmentKind::LongStraight: return coin == 0 ? TSegmentKind::ShiftLeft : TSegmentKind::ShiftRight;
        case TSegmentKind::ShiftLeft: return coin == 0 ? TSegmentKind::ShiftLeft : TSegmentKind::Straighten;
        case TSegmentKind::ShiftRight: return coin == 0 ? TSegmentKind::ShiftRight : TSegmentKind::Straighten;
        default: return TSegmentKind::Straight;
    }
}

namespace {
constexpr int None = -2;  // no write

// What column c of the row above becomes; f goes one column left, g one right.
void RowRule(const TTrackMap& map, int below, int c, TSegmentKind kind, int& e, int& f, int& g) {
    const int s = map.Cell(below, c);
    e = f = g = None;
    switch (kind) {
        case TSegmentKind::Straight:
        case TSegmentKind::LongStraight:
            if (s == 1 || s == 2 || s == 3) e = s;
            break;
        case TSegmentKind::ShiftLeft:
            switch (s) {
                case 1: {
                    const int right = map.Cell(below, c + 1);
                    if (right != 3 && right != 9) e = 1;
                    break;
                }
                case 2: case 6: e = 5; f = 4; break;
                case 3: case 9: e = 8; f = 7; break;
                case 4: e = 6; break;
                case 5: e = 1; break;
                case 7: e = 9; break;
                case 8: e = 10; break;
                default: break;
            }
            break;
        case TSegmentKind::ShiftRight:
            switch (s) {
                case 1: {
                    const int left = map.Cell(below, c - 1);
                    if (left != 2 && left != 14) e = 1;
                    break;
                }
                case 2: case 14: e = 11; g = 12; break;
                case 3: case 17: e = 15; g = 16; break;
                case 11: e = 13; break;
                case 12: e = 14; break;
                case 15: e = 1; break;
                case 16: e = 17; break;
                default: break;
            }
            break;
        case TSegmentKind::Straighten:
            if (s == 1) e = 1;
            else if (s == 2 || s == 6 || s == 14) e = 2;
            else if (s == 3 || s == 9 || s == 17) e = 3;
            break;
        default:
            break;
    }
}
}  // namespace

// Left to right, f before e before g, so a later column overwrites what an earlier one
// wrote: that is how a shifting edge's neighbour cells come out right.
void GenerateRow(TTrackMap& map, int row, TSegmentKind kind) {
    for (int c = 1; c <= MapCols; ++c) {
        int e, f, g;
        RowRule(map, row + 1, c, kind, e, f, g);
        if (f != None) map.SetCell(row, c - 1, f);
        if (e != None) map.SetCell(row, c, e);
        if (g != None) map.SetCell(row, c + 1, g);
    }
}

void ComputeRoadLeft(TTrackMap& map) {
    for (int row = 1; row <= MapRows; ++row) {
        for (int c = 1; c <= MapCols - 1; ++c) {
            int offset;
            switch (map.Cell(row, c)) {
                case 2: case 18: offset = 0; break;
                case 4: offset = 45; break;
                case 6: offset = 16; break;
                case 11: offset = 30; break;
                case 13: offset = 60; break;
                default: continue;
            }
            map.SetRoadLeft(row, TileSize * c + 216 + offset);
        }
    }
}

void GenerateTrack(TTrackMap& map, TGeneratorState& state, int trackLength, const std::function<int(int)>& random) {
    map.Fill(EmptyTile);
    for (int k = 1; k <= 20; ++k) {
        const int row = 1500 - k;
        static constexpr int Straight[6] = {2, 1, 1, 1, 1, 3};
        for (int i = 0; i < 6; ++i) map.SetCell(row, 320 + i, row == StartLineRow ? LineTiles[i] : Straight[i]);
        map.SetRowKind(row, TSegmentKind::Straight);
    }
    state.SegmentKind = TSegmentKind::Straight;
    state.SegmentRows = SegmentLength(TSegmentKind::Straight);
    for (int row = 1479; row >= TrackTopRow(trackLength); --row) {
        if (state.SegmentRows == 0) {
            const bool closing = row <= 1598 - trackLength;
            const TSegmentKind next = NextSegment(state.SegmentKind, closing, closing ? 0 : random(2));
            state.SegmentKind = next;
            state.SegmentRows = SegmentLength(next);
        }
        GenerateRow(map, row, state.SegmentKind);
        map.SetRowKind(row, state.SegmentKind);
        --state.SegmentRows;
    }
    const int finish = FinishRow(trackLength);
    for (int c = 1; c <= MapCols; ++c) {
        if (map.Cell(finish, c) != 2) continue;
        for (int i = 0; i < 6; ++i) map.SetCell(finish, c + i, LineTiles[i]);
        break;
    }
    ComputeRoadLeft(map);
}

}  // namespace quillon
