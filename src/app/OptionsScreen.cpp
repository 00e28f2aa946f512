// The options screen: indicators, hot zones, labels, the country text with its cursor
// and the boss key's name.
#include <string>

#include "app/MainForm.h"
#include "engine/MessageCatalog.h"
#include "menus/BossKeyName.h"
#include "menus/RangeHelpers.h"

namespace quillon {

namespace {
int ScreenModeImage(const TGameOptions& o) { return o.FullScreen ? 15 : 14; }
int MusicImage(const TGameOptions& o) { return o.MusicOn ? 16 : 17; }
int SoundImage(const TGameOptions& o) { return o.SoundOn ? 18 : 19; }
}  // namespace

void TMForm::ShowOptions() {
    CurrentScreen = TScreen::Options;
    FirstItem = 7;
    LastItem = 11;
    HotItem = 7;
    MenuItems[16] = TMyImageSprite::CreateAt(1, 26, 556, 47, 3);
    MenuItems[17] = TMyImageSprite::CreateAt(1, 51, 0, 195, 3);
    OptionsPictures[0] = TMyImageSprite::CreateAt(1, 20, 32, 372, 4);
    OptionsPictures[1] = TMyImageSprite::CreateAt(1, 21, 66, 462, 4);
    // Invisible hot zones with their own hit rectangles.
    const struct { int slot, x, y, w, h; } zones[] = {
        {7, 9, 205, 440, 30}, {8, 37, 252, 299, 29}, {9, 37, 295, 299, 29}, {10, 34, 341, 377, 78}, {11, 68, 432, 308, 77},
    };
    for (const auto& z : zones) {
        auto* zone = new TMenuButton(1, 0, 0, 0, 0, z.x, z.y);
        zone->HitWidth = z.w;
        zone->HitHeight = z.h;
        MenuItems[static_cast<size_t>(z.slot)] = zone;
    }
    const TGameOptions& o = State.GameOptions;
    MenuItems[13] = TMyImageSprite::CreateAt(1, ScreenModeImage(o), 127, 205, 4);
    MenuItems[14] = TMyImageSprite::CreateAt(1, MusicImage(o), 202, 251, 4);
    MenuItems[15] = TMyImageSprite::CreateAt(1, SoundImage(o), 202, 294, 4);
    TextCursor = new TMyCursor(1, 22, 43, 382, 5, 600);
    EditingCountry = false;
    CapturingBossKey = false;
}

void TMForm::CloseOptions() {
    CurrentScreen = TScreen::None;
    for (int slot = 7; slot <= 11; ++slot) KillItem(slot);
    KillMenuBackground();
    for (int slot = 13; slot <= 17; ++slot) KillItem(slot);
    for (TMyImageSprite*& picture : OptionsPictures) {
        if (picture) picture->Kill();
        picture = nullptr;
    }
    if (TextCursor) TextCursor->Kill();
    TextCursor = nullptr;
    MDXSpriteEngine.FreeDead();
}

void TMForm::OptionsFrame(int lagCount) {
    UpdateHover(true);
    if (AnyArrowPressed()) ClampOrFirst(HotItem, 7, 11);
    if (!EditingCountry) {
        if (KeyPressed(StateUp)) StepDown(HotItem, 7, 1);
        if (KeyPressed(StateDown)) StepUp(HotItem, 11, 1);
    }
    if (KeyPressed(StateButton(9))) ActivateItemNumber(EditingCountry ? 10 : 12);
    if (CurrentScreen != TScreen::Options) return;
    MDXSpriteEngine.Move(lagCount);
    DrawOptionsTexts();
}

// Also run under a dialog, so the options stay visible there.
void TMForm::DrawOptionsTexts() {
    const TGameOptions& o = State.GameOptions;
    const int images[3] = {ScreenModeImage(o), MusicImage(o), SoundImage(o)};
    for (int i = 0; i < 3; ++i) {
        TMyImageSprite* indicator = MenuItems[static_cast<size_t>(13 + i)];
        if (indicator && indicator->ImageIndex() != images[i]) indicator->SelectImage(images[i]);
    }
    static const struct { int item; const char* label; int x, y; } labels[] = {
        {7, TrMark("Экран:"), 70, 221},
        {8, TrMark("Музыка:"), 82, 267},
        {9, TrMark("Звук:"), 87, 310},
        {10, TrMark("Страна:"), 215, 356},
        {11, TrMark("Клавиша Босса:"), 215, 448},
    };
    for (const auto& l : labels) {
        FText.SelectFont(HotItem == l.item ? 16 : 12);
        FText.DrawText(TrDrawn(l.label), l.x, l.y, true, true);
    }
    FText.SelectFont(13);
    FText.DrawText(o.Country, 215, 394, true, true);
    FText.DrawText(BossKeyName(State.BossKeyShift, State.BossKeyCode), 215, 485, true, true);
    if (TextCursor) TextCursor->X = FText.GetTextWidth(o.Country) / 2.0 + 217;
}

}  // namespace quillon
