// TBackgroundSprite: the cell map and its drawing, wrapped or placed once.
#include "engine/BackgroundSprite.h"

#include <algorithm>

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"

namespace quillon {

TBackgroundSprite::~TBackgroundSprite() {
    SetMapSize(0, 0);
}

void TBackgroundSprite::SetMapSize(int cols, int rows) {
    if (cols == FCellsWide && rows == FCellsHigh) return;
    if (cols <= 0 || rows <= 0) {
        cols = 0;
        rows = 0;
    }
    FCellsWide = cols;
    FCellsHigh = rows;
    FCells.assign(static_cast<size_t>(cols) * static_cast<size_t>(rows), 0);
}

int TBackgroundSprite::GetCell(int col, int row) const {
    if (col < 0 || col >= FCellsWide || row < 0 || row >= FCellsHigh) return -1;
    return FCells[static_cast<size_t>(col) + static_cast<size_t>(row) * FCellsWide];
}

void TBackgroundSprite::SetCell(int col, int row, int value) {
    if (col < 0 || col >= FCellsWide || row < 0 || row >= FCellsHigh) return;
    FCells[static_cast<size_t>(col) + static_cast<size_t>(row) * FCellsWide] = value;
}

void TBackgroundSprite::SetImage(IPatternImage* image) {
    FImage = image;
    Width = image ? image->Width() * FCellsWide : 0;
    Height = image ? image->Height() * FCellsHigh : 0;
}

TRect TBackgroundSprite::GetBounds() const {
    if (Wrapped) return Engine() ? Engine()->SurfaceRect() : TRect{};  // a wrapped map covers everything
    if (!FImage) return TRect{};
    const int left = static_cast<int>(Round(AbsoluteX()));
    const int top = static_cast<int>(Round(AbsoluteY()));
    return TRect{left, top, left + FImage->Width() * FCellsWide, top + FImage->Height() * FCellsHigh};
}

// The surface is covered by a grid of cells aligned to the map's position; grid column i
// (row j) sits at i * w + ox and shows map column i - qx. Division and remainder cut
// toward zero, as the map positions of the game were worked out with.
void TBackgroundSprite::DrawSelf() {
    if (!FImage || FCellsWide <= 0 || FCellsHigh <= 0) return;
    TSpriteEngine* engine = Engine();
    if (!engine || !engine->Surface()) return;
    const TRect cell = FImage->PatternRect(0);
    const int w = cell.Width(), h = cell.Height();
    if (w <= 0 || h <= 0) return;  // no grid can be laid with empty cells

    const TRect& s = engine->SurfaceRect();
    const int nx = (s.Right + w) / w + 1;
    const int ny = (s.Bottom + h) / h + 1;
    const int ax = static_cast<int>(Round(AbsoluteX()));
    const int ay = static_cast<int>(Round(AbsoluteY()));
    const int ox = ax % w, oy = ay % h;
    const int qx = ax / w, qy = ay / h;
    TDirectDrawSurface& surface = *engine->Surface();

    if (Wrapped) {
        for (int j = -1; j <= ny; ++j)
            for (int i = -1; i <= nx; ++i) {
                const int value = GetCell(Wrap(i - qx, FCellsWide), Wrap(j - qy, FCellsHigh));
                if (value >= 0) FImage->Draw(surface, i * w + ox, j * h + oy, value);
            }
        return;
    }

    const int i0 = std::max(qx, 0), j0 = std::max(qy, 0);
    const int iEnd = std::min(i0 + FCellsWide - std::max(-qx, 0), nx);
    const int jEnd = std::min(j0 + FCellsHigh - std::max(-qy, 0), ny);
    for (int j = j0; j < jEnd; ++j)
        for (int i = i0; i < iEnd; ++i) {
            const int value = GetCell(i - qx, j - qy);
            if (value >= 0) FImage->Draw(surface, i * w + ox, j * h + oy, value);
        }
}

}  // namespace quillon
