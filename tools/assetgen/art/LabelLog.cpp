#include "art/LabelLog.h"

#include <algorithm>
#include <optional>

namespace quillon::assetgen {

namespace {

struct TRect {
    double Left, Top, Right, Bottom;
};

TLabelLog* ActiveLog = nullptr;
std::optional<TRect> ActiveBox;

// The canvas' bounding rectangle of a rectangle in the current coordinates (which may be turned).
TRect ToCanvas(cairo_t* cr, double left, double top, double right, double bottom) {
    TRect out{1e9, 1e9, -1e9, -1e9};
    for (double x : {left, right})
        for (double y : {top, bottom}) {
            double dx = x, dy = y;
            cairo_user_to_device(cr, &dx, &dy);
            out = {std::min(out.Left, dx), std::min(out.Top, dy), std::max(out.Right, dx), std::max(out.Bottom, dy)};
        }
    return out;
}

}  // namespace

TLabelLog::TLabelLog() { ActiveLog = this; }
TLabelLog::~TLabelLog() { ActiveLog = nullptr; }

TLabelBox::TLabelBox(cairo_t* cr, double left, double top, double right, double bottom) {
    ActiveBox = ToCanvas(cr, left, top, right, bottom);
}
TLabelBox::~TLabelBox() { ActiveBox.reset(); }

void RecordLabel(cairo_t* cr, const std::string& text, double left, double top, double right, double bottom) {
    if (!ActiveLog) return;
    cairo_surface_t* target = cairo_get_target(cr);
    const int w = cairo_image_surface_get_width(target), h = cairo_image_surface_get_height(target);
    const TRect ink = ToCanvas(cr, left, top, right, bottom);
    const TRect box = ActiveBox.value_or(TRect{0, 0, static_cast<double>(w), static_cast<double>(h)});
    ActiveLog->Labels.push_back(
        {text, ink.Left, ink.Top, ink.Right, ink.Bottom, box.Left, box.Top, box.Right, box.Bottom, w, h});
}

}  // namespace quillon::assetgen
