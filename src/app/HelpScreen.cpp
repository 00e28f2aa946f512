// The help screen: five pages turned by two buttons, with the legend pictures of page 2
// and the logo of page 5.
#include "app/MainForm.h"
#include "menus/HelpPages.h"
#include "menus/RangeHelpers.h"

namespace quillon {

void TMForm::ShowHelp() {
    CurrentScreen = TScreen::Help;
    FirstItem = 7;
    LastItem = 8;
    HotItem = 8;
    HelpPage = 1;
    MenuItems[16] = TMyImageSprite::CreateAt(1, 24, 503, 47, 3);
    MenuItems[17] = TMyImageSprite::CreateAt(1, 51, 0, 195, 3);
    MenuItems[7] = new TMenuButton(1, 42, 42, 0, 1, 37, 464);
    MenuItems[8] = new TMenuButton(1, 43, 43, 0, 1, 234, 463);
    const struct { int image; double x, y; bool centred; } pictures[9] = {
        {55, 17, 259, false},  {56, 17, 308, false},  {57, 13, 353, false}, {58, 12, 402, false}, {59, 253, 255, false},
        {60, 253, 305, false}, {61, 275, 375, true}, {62, 275, 425, true}, {50, 50, 320, false},
    };
    for (size_t i = 0; i < 9; ++i) {
        const auto& p = pictures[i];
        HelpPictures[i] = p.centred ? TMyImageSprite::CreateCentred(1, p.image, p.x, p.y, 5)
                                    : TMyImageSprite::CreateAt(1, p.image, p.x, p.y, 5);
        HelpPictures[i]->Visible = false;
    }
}

void TMForm::CloseHelp() {
    CurrentScreen = TScreen::None;
    KillMenuBackground();
    KillItem(7);
    KillItem(8);
    for (TMyImageSprite*& picture : HelpPictures) {
        if (picture) picture->Kill();
        picture = nullptr;
    }
    KillItem(16);
    KillItem(17);
    MDXSpriteEngine.FreeDead();
}

void TMForm::HelpFrame(int lagCount) {
    UpdateHover(true);
    const bool left = KeyPressed(StateLeft), right = KeyPressed(StateRight);
    // The first press towards a button moves onto it; each further press turns a page.
    if (left) {
        if (HotItem == 7)
            ActivateItemNumber(7);
        else if (HotItem == 8)
            HotItem = 7;
    }
    if (right) {
        if (HotItem == 8)
            ActivateItemNumber(8);
        else if (HotItem == 7)
            HotItem = 8;
    }
    if (AnyArrowPressed()) ClampOrFirst(HotItem, 7, 8);
    if (KeyPressed(StateButton(9))) ActivateItemNumber(9);
    if (CurrentScreen != TScreen::Help) return;

    for (const THelpLine& line : HelpPageLines(HelpPage)) {
        FText.SelectFont(line.Font);
        FText.DrawText(line.Text, line.X, line.Y, false, true);
    }
    for (size_t i = 0; i < 8; ++i) HelpPictures[i]->Visible = HelpPage == 2;
    HelpPictures[8]->Visible = HelpPage == 5;
    MDXSpriteEngine.Move(lagCount);
}

}  // namespace quillon
