// The pictures that carry words (buttons, titles, indicators, labels): drawn once per
// language. A collection that holds any has a copy per language, Data/Res/<code>/, with
// every item at the same index and size; the Russian ones are the game's own files in
// Data/Res. Nothing the race rules read lies in the words' pixels: the data hash skips them.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "engine/GameLanguage.h"

namespace quillon {

// The items of `file` (under Data/Res) that carry words, ascending: some of Res1.dxg (the
// menus) and of Res2.dxg (the race's instrument panel and speed unit); none of the others.
std::span<const int> WordItems(std::string_view file);

// Where the collection `file` of `language` lies, relative to the game folder:
// Data/Res/FILE for Russian and for collections without words, Data/Res/en/FILE otherwise.
std::filesystem::path CollectionPath(std::string_view file, TLanguage language);

}  // namespace quillon
