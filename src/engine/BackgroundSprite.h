// TBackgroundSprite: a map of cells, each showing one pattern of an item, drawn once or
// repeated endlessly in both directions.
#pragma once

#include <vector>

#include "engine/PatternImage.h"
#include "engine/Sprite.h"

namespace quillon {

class TBackgroundSprite : public TSprite {
public:
    explicit TBackgroundSprite(TSprite* parent) : TSprite(parent) {}
    ~TBackgroundSprite() override;

    // Any other size than the current one clears every cell to pattern 0; a size that is
    // not positive in both directions empties the map. Width and Height are left alone.
    void SetMapSize(int cols, int rows);
    int CellsWide() const { return FCellsWide; }
    int CellsHigh() const { return FCellsHigh; }

    int GetCell(int col, int row) const;             // -1 outside the map
    void SetCell(int col, int row, int value);       // ignored outside the map

    // Sizes the sprite to the map, so set the map size first. Not owned.
    void SetImage(IPatternImage* image);
    IPatternImage* Image() const { return FImage; }

    TRect GetBounds() const override;
    void DrawSelf() override;

    bool Wrapped = false;

private:
    IPatternImage* FImage = nullptr;
    std::vector<int> FCells;  // row-major, negative = empty
    int FCellsWide = 0;
    int FCellsHigh = 0;
};

}  // namespace quillon
