// The generator's picture side: the items of the three image collections, in index order.
#pragma once

#include <vector>

#include "engine/CollectionFiles.h"

namespace quillon::assetgen {

std::vector<TPictureItemData> BuildCollection1();  // Res1.dxg: menus and dialogs
std::vector<TPictureItemData> BuildCollection2();  // Res2.dxg: the race
std::vector<TPictureItemData> BuildCollection3();  // Res3.dxg: the radar

}  // namespace quillon::assetgen
