// Collection 1 (Res1.dxg), the menus and dialogs: 63 items, built back to front so
// every picture is flattened over what the screen shows beneath it.
#include <memory>
#include <stdexcept>

#include "art/Collections.h"
#include "art/MenuArt.h"
#include "engine/WordPictures.h"

namespace quillon::assetgen {

namespace {

using namespace menuart;

// The scenes of one language: the backdrop with the game's name, the panels over it.
TMenuScenes MakeScenes(const TCairoCanvas& scenery, const TArtWords& words, TItems& items) {
    TMenuScenes scenes;
    scenes.Words = &words;
    scenes.Background = NameOverScenery(scenery, words);
    TDIBImage sidePanel = DrawSidePanel(scenes.Background);
    TDIBImage shipPanel = DrawShipPanel(scenes.Background, words);
    scenes.SidePanel = scenes.Background;
    Overlay(scenes.SidePanel, sidePanel, kKeyRGB, 0, 195);
    scenes.ShipPanel = scenes.Background;
    Overlay(scenes.ShipPanel, shipPanel, kKeyRGB, 0, 195);
    items[1] = KeyedItem("MenuBackground", scenes.Background);
    items[51] = KeyedItem("SidePanel", std::move(sidePanel));
    items[52] = KeyedItem("ShipPanel", std::move(shipPanel));
    return scenes;
}

TItems PlaceholderItems() {
    TItems items;
    items.reserve(63);
    for (int i = 0; i < 63; ++i) items.push_back(PlaceholderItem("Unused" + std::to_string(i)));
    return items;
}

// Draws the Russian collection, and when `english` is given the English one: only the themes
// that hold words are drawn again, over the English scenes.
TItems BuildMenus(TItems* english) {
    const std::unique_ptr<TCairoCanvas> scenery = DrawMenuScenery();
    TItems items = PlaceholderItems();
    TMenuScenes scenes = MakeScenes(*scenery, ArtWords(TLanguage::Russian), items);
    scenes.Dialog = DrawDialogPanel();
    items[33] = KeyedItem("DialogPanel", scenes.Dialog);
    items[53] = KeyedItem("ScorePanel", DrawScorePanel(scenes.Background));

    AddOptionsPieces(items, scenes);
    AddMainButtons(items, scenes);
    AddTitles(items, scenes);
    AddShipPictures(items, scenes);
    AddScreenButtons(items, scenes);
    AddHelpPictures(items, scenes);

    if (english) {
        TItems translated = PlaceholderItems();
        TMenuScenes englishScenes = MakeScenes(*scenery, ArtWords(TLanguage::English), translated);
        englishScenes.Dialog = scenes.Dialog;
        AddOptionsPieces(translated, englishScenes);
        AddMainButtons(translated, englishScenes);
        AddTitles(translated, englishScenes);
        AddScreenButtons(translated, englishScenes);
        *english = WithWordsOf(items, translated, "Res1.dxg");
    }
    return items;
}

}  // namespace

TCollectionItems WithWordsOf(const TCollectionItems& russian, const TCollectionItems& translated, const char* file) {
    TCollectionItems out = russian;
    for (int index : WordItems(file)) {
        const TPictureItemData& word = translated.at(static_cast<size_t>(index));
        const TPictureItemData& base = russian.at(static_cast<size_t>(index));
        // The game draws every language's picture in the same place and box.
        if (word.Picture.Width != base.Picture.Width || word.Picture.Height != base.Picture.Height ||
            word.PatternWidth != base.PatternWidth || word.PatternHeight != base.PatternHeight)
            throw std::logic_error(std::string(file) + " item " + std::to_string(index) +
                                   " differs in size between languages");
        out[static_cast<size_t>(index)] = word;
    }
    return out;
}

std::vector<TPictureItemData> BuildCollection1() { return BuildMenus(nullptr); }

TBothLanguages BuildCollection1BothLanguages() {
    TBothLanguages both;
    both.Russian = BuildMenus(&both.English);
    return both;
}

}  // namespace quillon::assetgen
