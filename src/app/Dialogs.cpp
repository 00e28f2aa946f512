// The dialog frame: the yes/no buttons and keys, and each kind's texts and ending.
// The race's dialogs (time out, banner, game over, results, name entry and the
// world table) add their steps where the race runs.
#include <string>

#include "app/MainForm.h"
#include "engine/Cp1251.h"
#include "menus/RangeHelpers.h"

namespace quillon {

namespace {
bool IsYesNo(int kind) { return kind == 1 || kind == 2 || kind == 4 || kind == 9; }
}  // namespace

void TMForm::DialogFrame(int lagCount) {
    const int kind = ActiveDialog;
    if (IsYesNo(kind)) {
        // Only the two buttons move; everything else stands still under the dialog.
        for (int slot : {11, 12})
            if (MenuItems[static_cast<size_t>(slot)]) MenuItems[static_cast<size_t>(slot)]->Move(lagCount);
        UpdateHover(false);
        if (KeyPressed(StateButton(7))) ActivateItemNumber(11);
        if (ActiveDialog == kind && KeyPressed(StateButton(8))) ActivateItemNumber(12);
        if (ActiveDialog == kind && KeyPressed(StateLeft)) {
            ClampOrFirst(HotItem, 11, 12);
            StepDown(HotItem, 11, 1);
        }
        if (ActiveDialog == kind && KeyPressed(StateRight)) {
            ClampOrLast(HotItem, 11, 12);
            StepUp(HotItem, 12, 1);
        }
    }
    // An answer above may have closed the dialog, or ended the game.
    if (ActiveDialog != kind || Terminated()) return;

    switch (kind) {
        case 1: {
            static const std::string question = Utf8ToCp1251("Выйти из игры?");
            FText.SelectFont(1);
            FText.DrawText(question, 400, 281, true, true);
            break;
        }
        case 4: {
            static const std::string line1 = Utf8ToCp1251("Вы хотите очистить");
            static const std::string line2 = Utf8ToCp1251("таблицу рекордов?");
            FText.SelectFont(3);
            FText.DrawText(line1, 400, 261, true, true);
            FText.DrawText(line2, 400, 291, true, true);
            break;
        }
        case 5: {
            static const std::string pause = Utf8ToCp1251("Пауза");
            FText.SelectFont(5);
            FText.DrawText(pause, 400, 300, true, true);
            // Either key closes the pause; both in one frame close it once.
            if (KeyPressed(StateButton(6)) || KeyPressed(StateButton(9))) CloseDialog();
            break;
        }
        default:
            break;
    }
}

}  // namespace quillon
