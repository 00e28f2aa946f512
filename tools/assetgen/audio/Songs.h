// The game's two songs: the calm menu theme and the driving race theme.
#pragma once

#include "XmWriter.h"

namespace quillon::assetgen {

TXmModule ComposeMenuSong();
TXmModule ComposeRaceSong();

}  // namespace quillon::assetgen
