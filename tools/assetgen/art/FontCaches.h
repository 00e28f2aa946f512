// Hands back the font caches that pango, cairo and fontconfig keep for the whole process.
#pragma once

namespace quillon::assetgen {

// Call once no label is drawn any more (end of the generator, end of a test suite), so
// the sanitizer build's leak check at exit sees only the generator's own memory.
void ReleaseFontCaches();

}  // namespace quillon::assetgen
