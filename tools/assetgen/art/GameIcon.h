// The game's icon for the desktop: the arrow fighter climbing over a starry road, drawn
// as vectors at every size the icon theme asks for.
#pragma once

#include <string>
#include <vector>

namespace quillon::assetgen {

// The square sizes installed into the hicolor icon theme.
const std::vector<int>& GameIconSizes();
// Writes the icon of one size as a PNG file with an alpha channel; false when it cannot.
bool WriteGameIcon(const std::string& path, int size);

}  // namespace quillon::assetgen
