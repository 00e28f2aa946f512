// Collection 1 (Res1.dxg), the menus and dialogs: 63 items, built back to front so
// every picture is flattened over what the screen shows beneath it.
#include "art/Collections.h"
#include "art/MenuArt.h"

namespace quillon::assetgen {

std::vector<TPictureItemData> BuildCollection1() {
    using namespace menuart;
    TItems items;
    items.reserve(63);
    for (int i = 0; i < 63; ++i) items.push_back(PlaceholderItem("Unused" + std::to_string(i)));

    TMenuScenes scenes;
    scenes.Background = DrawMenuBackground();
    TDIBImage sidePanel = DrawSidePanel(scenes.Background);
    TDIBImage shipPanel = DrawShipPanel(scenes.Background);
    TDIBImage scorePanel = DrawScorePanel(scenes.Background);
    scenes.Dialog = DrawDialogPanel();
    scenes.SidePanel = scenes.Background;
    Overlay(scenes.SidePanel, sidePanel, kKeyRGB, 0, 195);
    scenes.ShipPanel = scenes.Background;
    Overlay(scenes.ShipPanel, shipPanel, kKeyRGB, 0, 195);

    TPictureItemData background = KeyedItem("MenuBackground", scenes.Background);
    items[1] = background;
    items[33] = KeyedItem("DialogPanel", scenes.Dialog);
    items[51] = KeyedItem("SidePanel", sidePanel);
    items[52] = KeyedItem("ShipPanel", shipPanel);
    items[53] = KeyedItem("ScorePanel", scorePanel);

    AddOptionsPieces(items, scenes);
    AddMainButtons(items, scenes);
    AddTitles(items, scenes);
    AddShipPictures(items, scenes);
    AddScreenButtons(items, scenes);
    AddHelpPictures(items, scenes);
    return items;
}

}  // namespace quillon::assetgen
