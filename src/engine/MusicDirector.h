// TMusicDirector: the game's rules for music. At most one song is loaded; every
// PlayScreenMusic restarts the screen's song from its beginning; a missing or
// broken file leaves the game silent without a word; nothing plays with the
// music option off.
#pragma once

#include <string>

#include "engine/MusicPort.h"

namespace quillon {

class TMusicDirector {
public:
    static constexpr const char* MenuSong = "Data/Music/Menu.xm";
    static constexpr const char* RaceSong = "Data/Music/Race.xm";

    // gameDir is the game folder the song names are relative to ("" = current
    // directory). player may be nullptr: then nothing ever loads.
    TMusicDirector(IMusicPlayer* player, const bool& musicOn, std::string gameDir = "")
        : FPlayer(player), FMusicOn(musicOn), FGameDir(std::move(gameDir)) {}

    // fromResource is accepted for the game's calls but songs always come from files.
    void PlayMusic(const std::string& fileName, bool fromResource = false);
    void StopMusic();
    // The race song when the race screen is current, else the menu song.
    void PlayScreenMusic(bool raceScreen);

    bool SongLoaded() const { return FLoaded; }
    // The song file playing now (as the game names it), or "" when none.
    const std::string& CurrentSong() const { return FCurrent; }

private:
    IMusicPlayer* FPlayer;
    const bool& FMusicOn;
    std::string FGameDir;
    bool FLoaded = false;  // the song handle is non-zero
    std::string FCurrent;
};

}  // namespace quillon
