// The generator's sound side: the 27 effects of the wave collection and the two songs.
#pragma once

#include <string>
#include <vector>

#include "engine/CollectionFiles.h"

namespace quillon::assetgen {

// The effect items 0..26 in collection order.
std::vector<TWaveItemData> BuildSoundEffects();
// Writes Menu.xm and Race.xm into musicDir.
void WriteSongs(const std::string& musicDir);

}  // namespace quillon::assetgen
