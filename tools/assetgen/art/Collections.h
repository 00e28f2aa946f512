// The generator's picture side: the items of the three image collections, in index order.
#pragma once

#include <vector>

#include "engine/CollectionFiles.h"

namespace quillon::assetgen {

using TCollectionItems = std::vector<TPictureItemData>;

std::vector<TPictureItemData> BuildCollection1();  // Res1.dxg: menus and dialogs
std::vector<TPictureItemData> BuildCollection2();  // Res2.dxg: the race
std::vector<TPictureItemData> BuildCollection3();  // Res3.dxg: the radar

// A collection with words in both languages, index for index: the English one is the
// Russian one with only its pictures with words (engine/WordPictures.h) drawn again.
struct TBothLanguages {
    TCollectionItems Russian;
    TCollectionItems English;
};
TBothLanguages BuildCollection1BothLanguages();
TBothLanguages BuildCollection2BothLanguages();

// Copies the pictures with words of `file` from `translated` into a copy of `russian`.
TCollectionItems WithWordsOf(const TCollectionItems& russian, const TCollectionItems& translated, const char* file);

}  // namespace quillon::assetgen
