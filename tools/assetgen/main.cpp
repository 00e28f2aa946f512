// assetgen: writes the game's data files (--out GAMEDIR: the Russian collections in
// Data/Res, the English copies of those with words in Data/Res/en), its desktop icons (--icons DIR),
// the score server's page art (--page-art DIR) or contact sheets of the pictures for looking
// at them (--contact-sheet DIR).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "ContactSheet.h"
#include "art/Collections.h"
#include "art/GameIcon.h"
#include "art/PageTitle.h"
#include "audio/AudioGen.h"
#include "engine/CollectionFiles.h"
#include "engine/WordPictures.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: assetgen --out GAMEDIR | --icons DIR | --page-art DIR | --contact-sheet DIR\n");
    return 2;
}

void WriteGameData(const std::filesystem::path& gameDir) {
    using namespace quillon;
    const auto resDir = gameDir / "Data" / "Res";
    const auto musicDir = gameDir / "Data" / "Music";
    std::filesystem::create_directories(resDir);
    std::filesystem::create_directories(musicDir);
    const auto englishDir = gameDir / CollectionPath("Res1.dxg", TLanguage::English).parent_path();
    std::filesystem::create_directories(englishDir);
    const assetgen::TBothLanguages menus = assetgen::BuildCollection1BothLanguages();
    WriteImageCollectionFile((resDir / "Res1.dxg").string(), menus.Russian);
    WriteImageCollectionFile((englishDir / "Res1.dxg").string(), menus.English);
    const assetgen::TBothLanguages race = assetgen::BuildCollection2BothLanguages();
    WriteImageCollectionFile((resDir / "Res2.dxg").string(), race.Russian);
    WriteImageCollectionFile((englishDir / "Res2.dxg").string(), race.English);
    WriteImageCollectionFile((resDir / "Res3.dxg").string(), assetgen::BuildCollection3());
    WriteWaveCollectionFile((resDir / "Sounds.dxw").string(), assetgen::BuildSoundEffects());
    assetgen::WriteSongs(musicDir.string());
}

// One PNG per size: DIR/16.png, DIR/22.png, ...
void WriteIcons(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    for (int size : quillon::assetgen::GameIconSizes()) {
        const std::string path = (dir / (std::to_string(size) + ".png")).string();
        if (!quillon::assetgen::WriteGameIcon(path, size)) throw std::runtime_error("cannot write " + path);
    }
}

// The world table page's pictures: DIR/title.png in Russian, DIR/en/title.png in English.
void WritePageArt(const std::filesystem::path& dir) {
    using quillon::TLanguage;
    for (TLanguage language : {TLanguage::Russian, TLanguage::English}) {
        const auto folder = language == TLanguage::Russian ? dir : dir / quillon::LanguageCode(language);
        std::filesystem::create_directories(folder);
        const std::string path = (folder / "title.png").string();
        if (!quillon::assetgen::WritePageTitle(path, language)) throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    const std::string option = argv[1];
    try {
        if (option == "--out") {
            WriteGameData(argv[2]);
        } else if (option == "--icons") {
            WriteIcons(argv[2]);
        } else if (option == "--page-art") {
            WritePageArt(argv[2]);
        } else if (option == "--contact-sheet") {
            quillon::assetgen::WriteContactSheets(argv[2]);
        } else {
            return Usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
