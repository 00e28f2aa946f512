// Which data files a game runs with: a replay plays only with the data it was recorded with.
#pragma once

#include <cstdint>
#include <filesystem>

#include "save/ReplayFile.h"

namespace quillon {

// A hash of what the race reads of the data files under Data/Res of the game folder, the
// same whatever the run's language: Res3.dxg and Sounds.dxw whole, and of Res1.dxg and
// Res2.dxg every item's properties and size, with the pixels of all but the pictures with
// words (engine/WordPictures.h), which only the eye reads. It is taken from the Russian
// collections, which every install has.
uint64_t HashDataFiles(const std::filesystem::path& gameFolder);

// The hash games took before the pictures had languages: the four files' sizes and CRCs.
// The Russian collections have not changed since, so replays recorded then still name this
// data by it.
uint64_t HashDataFilesWhole(const std::filesystem::path& gameFolder);

// What a replay must match to be played with the data of `gameFolder` by game `version`:
// either hash.
TReplayExpectation DataExpectation(const std::string& version, const std::filesystem::path& gameFolder);

}  // namespace quillon
