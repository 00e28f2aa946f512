#include "engine/WordPictures.h"

namespace quillon {

namespace {

// The menus: background with the game's name (1), main-menu tabs (2..13), options
// indicators (14..19), screen titles (24..27), dialog yes and no (34, 35), start (39),
// the high-score and help buttons (40..43), the ship panel's rating labels (52).
constexpr int kMenuWords[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                               18, 19, 24, 25, 26, 27, 34, 35, 39, 40, 41, 42, 43, 52};
// The race: the instrument panel's labels (2) and the speedometer's unit (57).
constexpr int kRaceWords[] = {2, 57};

}  // namespace

std::span<const int> WordItems(std::string_view file) {
    if (file == "Res1.dxg") return kMenuWords;
    if (file == "Res2.dxg") return kRaceWords;
    return {};
}

std::filesystem::path CollectionPath(std::string_view file, TLanguage language) {
    const std::filesystem::path res = std::filesystem::path("Data") / "Res";
    if (language == TLanguage::Russian || WordItems(file).empty()) return res / file;
    return res / LanguageCode(language) / file;
}

}  // namespace quillon
