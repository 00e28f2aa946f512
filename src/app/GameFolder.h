// Finding the game folder: --root, else the working directory when it holds
// Data/Res, else the folder of the executable.
#pragma once

#include <string>

namespace quillon {

std::string FindGameFolder(const std::string& root, const std::string& executablePath);

}  // namespace quillon
