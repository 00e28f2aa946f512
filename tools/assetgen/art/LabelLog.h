// The generator's account of the words it paints: every label's ink and the box the
// picture gives it, both in the pixels of the canvas it is painted on. The tests check
// that no word spills out of its box or is cut by its picture's edge.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace quillon::assetgen {

struct TPaintedLabel {
    std::string Text;
    double InkLeft, InkTop, InkRight, InkBottom;
    double BoxLeft, BoxTop, BoxRight, BoxBottom;
    int CanvasWidth, CanvasHeight;
};

// Records every label painted while it lives (one log at a time, on the drawing thread).
class TLabelLog {
public:
    TLabelLog();
    ~TLabelLog();
    TLabelLog(const TLabelLog&) = delete;
    TLabelLog& operator=(const TLabelLog&) = delete;

    std::vector<TPaintedLabel> Labels;
};

// The box that labels painted on `cr` keep their ink in while it lives, given in the
// drawing's current coordinates; without one, the whole canvas.
class TLabelBox {
public:
    TLabelBox(cairo_t* cr, double left, double top, double right, double bottom);
    ~TLabelBox();
    TLabelBox(const TLabelBox&) = delete;
    TLabelBox& operator=(const TLabelBox&) = delete;
};

// Called by the label painters: the ink rectangle in the drawing's current coordinates.
void RecordLabel(cairo_t* cr, const std::string& text, double left, double top, double right, double bottom);

}  // namespace quillon::assetgen
