// TTrackMap: storage of the tile map.
#include "race/TrackMap.h"

#include <algorithm>

namespace quillon {

TTrackMap::TTrackMap()
    : FCells(static_cast<size_t>(MapRows) * MapCols, static_cast<int8_t>(EmptyTile)),
      FRowKind(MapRows + 1, TSegmentKind::None),
      FRoadLeft(MapRows + 1, 0) {}

void TTrackMap::Fill(int code) { std::fill(FCells.begin(), FCells.end(), static_cast<int8_t>(code)); }

}  // namespace quillon
