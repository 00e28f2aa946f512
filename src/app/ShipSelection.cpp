// The ship-selection screen: the ship picture with its cross-fade, the rating bars and
// the previous/next buttons.
#include "app/MainForm.h"
#include "menus/RangeHelpers.h"

namespace quillon {

namespace {
// Indexed by ship 1..5.
constexpr int ShipPictureImage[6] = {0, 28, 29, 30, 31, 32};
// Speed, handling, acceleration and brake ratings, and the rows their bars stand on.
constexpr int ShipRatings[6][4] = {{0, 0, 0, 0}, {6, 8, 9, 7}, {11, 5, 4, 8}, {6, 6, 8, 10}, {9, 5, 10, 9}, {8, 11, 8, 9}};
constexpr int RatingRowY[4] = {391, 412, 434, 456};
constexpr int RatingBarImage = 54;
}  // namespace

void TMForm::ShowShipSelection() {
    CurrentScreen = TScreen::ShipSelection;
    ShipSwitch = 0;
    FirstItem = 7;
    LastItem = 9;
    HotItem = 9;
    MenuItems[16] = TMyImageSprite::CreateAt(1, 25, 356, 47, 4);
    MenuItems[17] = TMyImageSprite::CreateAt(1, 52, 0, 195, 3);
    ShipPicture = TMyImageSprite::CreateAt(1, ShipPictureImage[SelectedShip], 88, 238, 4);
    // Made second at the same depth, so it lies under the current picture.
    NextShipPicture = TMyImageSprite::CreateAt(1, ShipPictureImage[SelectedShip], 88, 238, 4);
    NextShipPicture->Visible = false;
    const struct { int slot, image; double x, y; } buttons[] = {{7, 37, 14, 227}, {8, 38, 377, 226}, {9, 39, 104, 473}};
    for (const auto& b : buttons) {
        auto* button = new TMenuButton(1, b.image, b.image, 0, 1, b.x, b.y);
        button->SetZ(5);
        MenuItems[static_cast<size_t>(b.slot)] = button;
    }
}

void TMForm::CloseShipSelection() {
    for (int slot : {7, 8, 9, 16, 17}) KillItem(slot);
    KillMenuBackground();
    if (ShipPicture) ShipPicture->Kill();
    if (NextShipPicture) NextShipPicture->Kill();
    ShipPicture = NextShipPicture = nullptr;
    MDXSpriteEngine.FreeDead();
    CurrentScreen = TScreen::None;
}

void TMForm::SwitchShip(bool next) {
    ShipSwitch = 1;
    NextShip = SelectedShip;
    if (next)
        CycleNext(NextShip, 1, 5);
    else
        CyclePrev(NextShip, 1, 5);
    NextShipPicture->SelectImage(ShipPictureImage[NextShip]);
    NextShipPicture->Visible = true;
}

void TMForm::ShipSelectionFrame() {
    UpdateHover(true);
    const bool left = KeyPressed(StateLeft), right = KeyPressed(StateRight);
    const bool up = KeyPressed(StateUp), down = KeyPressed(StateDown);
    if (left) {
        if (HotItem == 7)
            ActivateItemNumber(7);
        else if (HotItem == 8)
            HotItem = 7;
    }
    if (right && CurrentScreen == TScreen::ShipSelection) {
        if (HotItem == 8)
            ActivateItemNumber(8);
        else if (HotItem == 7)
            HotItem = 8;
    }
    if (up && HotItem == 9) HotItem = 8;
    if (down && (HotItem == 7 || HotItem == 8)) HotItem = 9;
    if (left || right || up || down) ClampOrFirst(HotItem, 7, 9);
    if (KeyPressed(StateButton(9))) ActivateItemNumber(10);
    if (CurrentScreen != TScreen::ShipSelection) return;

    // The current picture fades out over the next one beneath it.
    if (ShipSwitch == 0) {
        for (TMyImageSprite* picture : {ShipPicture, NextShipPicture}) {
            picture->UseAlpha = false;
            picture->Alpha = 255;
        }
        ShipPicture->Visible = true;
        NextShipPicture->Visible = false;
    } else {
        ShipPicture->UseAlpha = true;
        NextShipPicture->UseAlpha = true;
        ShipPicture->Alpha -= 10;
        if (ShipPicture->Alpha <= 0) {
            ShipPicture->SelectImage(ShipPictureImage[NextShip]);
            ShipSwitch = 0;
            SelectedShip = NextShip;
        }
    }

    TDirectDrawSurface* surface = MDXSpriteEngine.Engine()->Surface();
    if (!surface) return;
    TPictureCollectionItem& bar = MDXImageList1.Items().Items(RatingBarImage);
    for (int row = 0; row < 4; ++row) {
        const int n = ShipRatings[SelectedShip][row] - 3;
        for (int k = 1; k <= n; ++k) bar.Draw(*surface, 248 + 23 * (k - 1), RatingRowY[row], 0);
    }
}

}  // namespace quillon
