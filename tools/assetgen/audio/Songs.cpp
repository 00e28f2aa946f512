// Writes the two songs into the game's music folder.
#include <filesystem>

#include "AudioGen.h"
#include "Songs.h"

namespace quillon::assetgen {

void WriteSongs(const std::string& musicDir) {
    const std::filesystem::path dir(musicDir);
    WriteXmFile((dir / "Menu.xm").string(), ComposeMenuSong());
    WriteXmFile((dir / "Race.xm").string(), ComposeRaceSong());
}

}  // namespace quillon::assetgen
