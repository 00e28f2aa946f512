// The high-score screen: the table of ten, the clear-table button and the world-table button.
#include <string>

#include "app/MainForm.h"
#include "engine/MessageCatalog.h"
#include "menus/RangeHelpers.h"

namespace quillon {

void TMForm::ShowHighScores() {
    CurrentScreen = TScreen::HighScores;
    FirstItem = 7;
    LastItem = 8;
    HotItem = 8;
    MenuItems[16] = TMyImageSprite::CreateAt(1, 27, 472, 47, 3);
    MenuItems[17] = TMyImageSprite::CreateAt(1, 53, 13, 189, 5);
    MenuItems[7] = new TMenuButton(1, 40, 40, 0, 1, 38, 475);
    MenuItems[8] = new TMenuButton(1, 41, 41, 0, 1, 235, 475);
}

void TMForm::CloseHighScores() {
    CurrentScreen = TScreen::None;
    KillMenuBackground();
    for (int slot : {7, 8, 16, 17}) KillItem(slot);
    MDXSpriteEngine.FreeDead();
}

void TMForm::HighScoreFrame(int lagCount) {
    UpdateHover(true);
    if (AnyArrowPressed()) ClampOrFirst(HotItem, 7, 8);
    if (KeyPressed(StateLeft)) StepDown(HotItem, 7, 1);
    if (KeyPressed(StateRight)) StepUp(HotItem, 8, 1);
    if (KeyPressed(StateButton(9))) ActivateItemNumber(9);
    if (CurrentScreen != TScreen::HighScores) return;
    MDXSpriteEngine.Move(lagCount);

    // The heads take the font last selected: the rows' font 17 from the second frame on.
    const std::string heads[3] = {TrDrawn("Место"), TrDrawn("Имя"), TrDrawn("Очки")};
    FText.DrawText(heads[0], 70, 204, true, true);
    FText.DrawText(heads[1], 224, 204, true, true);
    FText.DrawText(heads[2], 382, 204, true, true);
    for (int n = 1; n <= 10; ++n) {
        const THighScore& entry = State.HighScores[static_cast<size_t>(n - 1)];
        const int y = 204 + 26 * n;
        FText.SelectFont(2);
        FText.DrawText(std::to_string(n), 70, y, true, true);
        FText.DrawText(entry.Name, 224, y, true, true);
        FText.SelectFont(17);
        FText.DrawText(std::to_string(entry.Score), 382, y, true, true);
    }
}

}  // namespace quillon
