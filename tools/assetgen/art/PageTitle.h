// The title art of the world table's web page: the game's name as the main menu shows it,
// cut from the menu backdrop and faded into the page's ground at its edges.
#pragma once

#include <string>

#include "engine/DIB.h"
#include "engine/GameLanguage.h"

namespace quillon::assetgen {

TDIBImage DrawPageTitle(TLanguage language);
// Writes it as a PNG file; false when it cannot.
bool WritePageTitle(const std::string& path, TLanguage language);

}  // namespace quillon::assetgen
