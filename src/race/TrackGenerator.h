// The track generator: a start stretch, then row after row upward, each row derived from
// the one below it by the rule of its segment kind (straight, shift left, shift right,
// straighten), a closing stretch, the finish line and the road's left edge per row.
#pragma once

#include <functional>

#include "race/TrackMap.h"

namespace quillon {

inline constexpr int StartLineRow = 1481;
inline constexpr int StartViewCol = 318;
inline constexpr int StartViewRow = 1478;

// The six tiles of a start or finish line, left to right.
inline constexpr int LineTiles[6] = {18, 19, 20, 19, 21, 22};

struct TGeneratorState {
    TSegmentKind SegmentKind = TSegmentKind::None;
    int SegmentRows = 0;
};

// Rows a segment of each kind lasts.
int SegmentLength(TSegmentKind kind);
// The segment that follows `kind`; coin is Random(2), unused in the closing stretch.
TSegmentKind NextSegment(TSegmentKind kind, bool closingStretch, int coin);
// Row R of the map from row R + 1 under the rule of `kind`.
void GenerateRow(TTrackMap& map, int row, TSegmentKind kind);
// The finish line's row: 50 rows below the top of the track.
inline int FinishRow(int trackLength) { return 1550 - trackLength; }
// The top row of a track.
inline int TrackTopRow(int trackLength) { return 1500 - trackLength; }
// World X of the road's left edge for every row that has one; other rows keep theirs.
void ComputeRoadLeft(TTrackMap& map);

// The whole track of `trackLength` rows; random(n) is the game's generator.
void GenerateTrack(TTrackMap& map, TGeneratorState& state, int trackLength, const std::function<int(int)>& random);

}  // namespace quillon
