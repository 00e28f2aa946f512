// TMusicDirector: loading, starting and releasing the one song.
#include "engine/MusicDirector.h"

namespace quillon {

void TMusicDirector::PlayMusic(const std::string& fileName, bool /*fromResource*/) {
    if (!FMusicOn) return;
    StopMusic();
    if (!FPlayer) return;
    std::string path = FGameDir.empty() ? fileName : FGameDir + "/" + fileName;
    FLoaded = FPlayer->Load(path);
    if (!FLoaded) return;
    FCurrent = fileName;
    FPlayer->Play();
}

void TMusicDirector::StopMusic() {
    if (!FLoaded) return;
    FPlayer->Free();
    FLoaded = false;
    FCurrent.clear();
}

void TMusicDirector::PlayScreenMusic(bool raceScreen) {
    PlayMusic(raceScreen ? RaceSong : MenuSong);
}

}  // namespace quillon
