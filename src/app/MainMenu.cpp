// The main menu: its backdrop, the six buttons with their fade-in, its frame and its closer.
#include "app/MainForm.h"
#include "engine/BackgroundSprite.h"
#include "menus/RangeHelpers.h"

namespace quillon {

namespace {
constexpr int ButtonY[7] = {0, 132, 208, 283, 357, 427, 504};
// Normal looks are images 2..7, highlighted looks 8..13, in slot order.
constexpr int NormalImage(int slot) { return slot + 1; }
constexpr int HotImage(int slot) { return slot + 7; }
}  // namespace

// A one-cell still picture behind every menu screen and the dialogs over them.
void TMForm::CreateMenuBackground() {
    auto* background = new TBackgroundSprite(MDXSpriteEngine.Engine());
    background->SetMapSize(1, 1);
    background->SetImage(&MDXImageList1.Items().Items(1));
    background->X = 0;
    background->Y = 0;
    background->SetZ(2);
    MenuBackground = background;
}

void TMForm::KillMenuBackground() {
    if (MenuBackground) MenuBackground->MarkDead();
    MenuBackground = nullptr;
}

void TMForm::BuildMainMenu(bool intro, int hotItem, bool createButtons) {
    CurrentScreen = TScreen::MainMenu;
    if (createButtons) PlayScreenMusic();
    ShowSystemCursor();
    FirstItem = 1;
    LastItem = 6;
    HotItem = hotItem;
    MenuIntro = intro ? 1 : 0;
    CreateMenuBackground();
    if (createButtons) {
        for (int slot = 1; slot <= 6; ++slot) {
            auto* button = new TMenuButton(1, HotImage(slot), NormalImage(slot), 0, 0, 452, ButtonY[slot]);
            button->SwapZ = true;
            button->NormalZ = 4;
            button->HotZ = 5;
            MenuItems[static_cast<size_t>(slot)] = button;
        }
    }
    for (int slot = 1; slot <= 6; ++slot) {
        TMenuButton* button = Button(slot);
        if (!button) continue;
        if (intro) {
            button->UseAlpha = true;
            button->Alpha = 0;
        } else {
            button->UseAlpha = false;
            button->Alpha = 255;
            button->SelectImage(NormalImage(slot));
        }
    }
    if (intro) PlaySound(0);
}

void TMForm::CloseMainMenu() {
    CurrentScreen = TScreen::None;
    KillMenuBackground();
    MDXSpriteEngine.FreeDead();
    for (int i = FirstItem; i <= LastItem; ++i)
        if (i >= 1 && i <= 17) KillItem(i);
}

// Each button fades in to Alpha 150 and then turns opaque and starts the next; buttons 4
// and 5 come together. A finished stage keeps passing its increment on, so the next stage
// starts in the frame the previous one ends.
void TMForm::MainMenuIntroStep() {
    auto opaque = [this](int slot) {
        TMenuButton* b = Button(slot);
        b->UseAlpha = false;
        b->SelectImage(NormalImage(slot));
        b->ShowNormal();
    };
    TMenuButton* b[7] = {nullptr, Button(1), Button(2), Button(3), Button(4), Button(5), Button(6)};
    for (int i = 1; i <= 6; ++i)
        if (!b[i]) return;
    b[1]->Alpha += 10;
    if (b[1]->Alpha >= 150) {
        opaque(1);
        b[2]->Alpha += 10;
    }
    if (b[2]->Alpha >= 150) {
        opaque(2);
        b[3]->Alpha += 10;
    }
    if (b[3]->Alpha >= 150) {
        opaque(3);
        b[4]->Alpha += 10;
        b[5]->Alpha += 10;
    }
    if (b[4]->Alpha >= 150) {
        opaque(4);
        opaque(5);
        b[6]->Alpha += 10;
    }
    if (b[6]->Alpha >= 150) {
        opaque(6);
        MenuIntro = 0;
    }
}

void TMForm::MainMenuFrame() {
    if (MenuIntro) {
        MainMenuIntroStep();
        if (!MenuIntro && DemoRequested) StartDemo();
        return;
    }
    UpdateHover(false);
    if (HotItem >= 1 && HotItem <= 6) {
        if (KeyPressed(StateUp)) CyclePrev(HotItem, 1, 6);
        if (KeyPressed(StateDown)) CycleNext(HotItem, 1, 6);
    } else if (AnyArrowPressed()) {
        HotItem = 1;
    }
    if (KeyPressed(StateButton(9))) OpenDialog(TDialog::ExitGame);
}

}  // namespace quillon
