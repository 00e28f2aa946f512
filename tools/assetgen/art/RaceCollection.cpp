// Collection 2 (Res2.dxg): every race picture at the index the race looks it up by.
#include <stdexcept>
#include <string>

#include "art/Collections.h"
#include "art/RaceArt.h"
#include "art/RaceKit.h"
#include "art/RaceRoad.h"

namespace quillon::assetgen {

std::vector<TPictureItemData> BuildCollection2() {
    const TArtWords& words = ArtWords(TLanguage::Russian);
    std::vector<TPictureItemData> items(66);
    auto put = [&](int index, TPictureItemData item) { items.at(index) = std::move(item); };

    put(0, MakePlaceholder("Rivals"));
    put(1, BuildRoadTileSet());
    put(2, BuildHudPanel(words));
    put(3, BuildFlame(false));
    put(4, BuildFlame(true));
    for (int ship = 1; ship <= 5; ++ship) {
        put(4 + ship, BuildShip(ship));
        put(21 + 3 * ship, BuildShipTilt(ship, -1));
        put(22 + 3 * ship, BuildShipTilt(ship, +1));
    }
    const int bonusItems[8] = {11, 13, 14, 15, 59, 60, 61, 62};
    for (int kind = 1; kind <= 8; ++kind) put(bonusItems[kind - 1], BuildBonus(kind));
    put(12, BuildAsteroid(false));
    put(23, BuildAsteroid(true));
    for (int style = 0; style < 3; ++style) {
        put(16 + style, BuildSparks(style));
        put(63 + style, BuildExplosion(style));
    }
    put(26, BuildShot(26));
    put(29, BuildShot(29));
    put(32, BuildShot(32));
    put(35, BuildMegaShot());
    for (int segment = 1; segment <= 4; ++segment) put(42 + segment, BuildEnergySegment(segment));
    for (int digit = 0; digit <= 9; ++digit) put(47 + digit, BuildSpeedDigit(digit));
    put(57, BuildSpeedLabel(words));
    put(58, BuildStarField());
    for (int unused : {10, 19, 20, 21, 22, 38, 39, 40, 41, 42}) put(unused, MakePlaceholder("Unused"));

    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Picture.Width == 0) throw std::logic_error("race picture " + std::to_string(i) + " is missing");
    return items;
}

TBothLanguages BuildCollection2BothLanguages() {
    TBothLanguages both;
    both.Russian = BuildCollection2();
    // Only the instrument panel and the speed unit carry words.
    TCollectionItems translated(both.Russian.size());
    const TArtWords& english = ArtWords(TLanguage::English);
    translated.at(2) = BuildHudPanel(english);
    translated.at(57) = BuildSpeedLabel(english);
    both.English = WithWordsOf(both.Russian, translated, "Res2.dxg");
    return both;
}

}  // namespace quillon::assetgen
