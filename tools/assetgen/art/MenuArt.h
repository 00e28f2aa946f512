// The pieces of the menu collection, by theme: each adds its items to the list,
// drawn over the pictures that lie beneath them on the screen.
#pragma once

#include <vector>

#include <memory>

#include "art/ArtWords.h"
#include "art/MenuArtKit.h"

namespace quillon::assetgen::menuart {

// What the screen shows under the menu pictures, built first and then drawn over.
struct TMenuScenes {
    TDIBImage Background;  // item 1, the whole screen
    TDIBImage SidePanel;   // background with item 51 at (0, 195): options and help
    TDIBImage ShipPanel;   // background with item 52 at (0, 195): ship selection
    TDIBImage Dialog;      // item 33 alone, its own origin
    const TArtWords* Words = nullptr;  // the language the pictures with words are drawn in
};

using TItems = std::vector<TPictureItemData>;

// The menu backdrop, 800 x 600, opaque: the scenery without words (the costly part, drawn
// once), then the game's name over it in one language.
std::unique_ptr<TCairoCanvas> DrawMenuScenery();
TDIBImage NameOverScenery(const TCairoCanvas& scenery, const TArtWords& words);
TDIBImage DrawMenuBackground(const TArtWords& words);
// The side panels (51, 52, 53) and the dialog panel (33), each flattened over what lies beneath.
TDIBImage DrawSidePanel(const TDIBImage& background);
TDIBImage DrawShipPanel(const TDIBImage& background, const TArtWords& words);
TDIBImage DrawScorePanel(const TDIBImage& background);
TDIBImage DrawDialogPanel();

void AddMainButtons(TItems& items, const TMenuScenes& scenes);    // 2..13
void AddScreenButtons(TItems& items, const TMenuScenes& scenes);  // 34, 35, 37..43
void AddTitles(TItems& items, const TMenuScenes& scenes);         // 24..27
void AddOptionsPieces(TItems& items, const TMenuScenes& scenes);  // 0, 14..22
void AddShipPictures(TItems& items, const TMenuScenes& scenes);   // 28..32, 54
void AddHelpPictures(TItems& items, const TMenuScenes& scenes);   // 50, 55..62

// A plate button with a label: normal and highlighted looks, flattened over the
// backdrop at (atX, atY). labelSize 0 picks a size from the height.
struct TPlateStyle {
    double Chamfer = 12;
    double LabelSize = 0;
    bool LabelLeft = false;  // the main menu's tabs carry a marker and a left-set label
    bool Accent = false;     // amber marker: the one button that starts something
};
TDIBImage DrawPlate(int w, int h, const std::string& label, bool hot, const TPlateStyle& style,
                    const TDIBImage& backdrop, int atX, int atY);

}  // namespace quillon::assetgen::menuart
