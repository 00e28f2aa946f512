// Release of the process-wide font caches behind the labels painted into pictures.
#include "art/FontCaches.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

namespace quillon::assetgen {

void ReleaseFontCaches() {
    pango_cairo_font_map_set_default(nullptr);
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace quillon::assetgen
