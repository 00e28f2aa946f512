// The dialog frame: the yes/no buttons and keys, and each kind's texts and ending.
#include <string>

#include "app/MainForm.h"
#include "engine/MessageCatalog.h"
#include "menus/RangeHelpers.h"
#include "race/RaceClock.h"
#include "race/RaceTables.h"
#include "save/LinkFile.h"
#include "save/ScoreCodec.h"

namespace quillon {

void TMForm::DialogFrame(int lagCount) {
    const TDialog kind = ActiveDialog;
    if (IsYesNoDialog(kind)) {
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
        case TDialog::ExitGame: {
            const std::string question = TrDrawn("Выйти из игры?");
            FText.SelectFont(1);
            FText.DrawText(question, 400, 281, true, true);
            break;
        }
        case TDialog::ExitToMenu: {
            const std::string question = TrDrawn("Выйти в меню?");
            FText.SelectFont(1);
            FText.DrawText(question, 400, 281, true, true);
            break;
        }
        case TDialog::TimeUp: {
            const std::string line1 = TrDrawn("Ваше время вышло");
            const std::string line2 = TrDrawn("Попробуйте ещё раз!!");
            FText.SelectFont(5);
            FText.DrawText(line1, 400, 251, true, true);
            FText.DrawText(line2, 400, 311, true, true);
            if (!TrySubtract(DialogTimer, 0, FrameMs)) {
                CloseDialog();
                Race.BeginLevel(false);
            }
            break;
        }
        case TDialog::LevelBanner: {
            const std::string level = TrDrawn("Уровень ");
            FText.SelectFont(5);
            FText.DrawText(level + std::to_string(Race.State.Level), 400, 300, true, true);
            if (!TrySubtract(DialogTimer, 0, FrameMs)) CloseDialog();
            break;
        }
        case TDialog::GameOver: {
            const std::string gameOver = TrDrawn("Конец Игры");
            FText.SelectFont(5);
            FText.DrawText(gameOver, 400, 300, true, true);
            if (!TrySubtract(DialogTimer, 0, FrameMs)) {
                CloseDialog();
                LeaveRace();
            }
            break;
        }
        case TDialog::NameEntry:
            NameEntryFrame(lagCount);
            break;
        case TDialog::SendScore: {
            const std::string line1 = TrDrawn("Отправить очки в");
            const std::string line2 = TrDrawn("мировую таблицу?");
            FText.SelectFont(11);
            FText.Canvas().Font.Size = 14;
            FText.DrawText(line1, 400, 261, true, true);
            FText.DrawText(line2, 400, 291, true, true);
            break;
        }
        case TDialog::Sending:
            SendingFrame();
            break;
        case TDialog::LevelResult:
            LevelResultsFrame();
            break;
        case TDialog::Congratulations: {
            const std::string line1 = TrDrawn("ПОЗДРАВЛЯЕМ!");
            const std::string line2 = TrDrawn("Вы закончили гонку!");
            FText.SelectFont(9);
            FText.Canvas().Font.Size = 18;
            FText.DrawText(line1, 400, 271, true, true);
            FText.Canvas().Font.Size = 16;
            FText.DrawText(line2, 400, 317, true, true);
            if (Race.State.ResultTime > 0) {
                Race.State.ResultTime -= FrameMs;
            } else {
                CloseDialog();
                LeaveRace();
            }
            break;
        }
        case TDialog::ClearTable: {
            const std::string line1 = TrDrawn("Вы хотите очистить");
            const std::string line2 = TrDrawn("таблицу рекордов?");
            FText.SelectFont(3);
            FText.DrawText(line1, 400, 261, true, true);
            FText.DrawText(line2, 400, 291, true, true);
            break;
        }
        case TDialog::Pause: {
            const std::string pause = TrDrawn("Пауза");
            FText.SelectFont(5);
            FText.DrawText(pause, 400, 300, true, true);
            // Either key closes the pause; both in one frame close it once.
            if (KeyPressed(StateButton(6)) || KeyPressed(StateButton(9))) CloseDialog();
            break;
        }
        default:
            break;
    }
    // The race's display stays on top of its dialogs.
    if (CurrentScreen == TScreen::Race) DrawHud();
}

// The name for the table: typed characters arrive through the event path; Enter puts the
// name and the score into the table, which is saved at once, then asks about the world table.
void TMForm::NameEntryFrame(int lagCount) {
    const std::string scored = TrDrawn("Набрано очков : ");
    const std::string askName = TrDrawn("Введите ваше имя: ");
    FText.SelectFont(9);
    FText.Canvas().Font.Size = 14;
    FText.DrawText(scored + std::to_string(Race.State.Score), 400, 261, true, true);
    FText.DrawText(askName, 400, 296, true, true);
    FText.SelectFont(10);
    FText.DrawText(State.PlayerName, 400, 334, true, true);
    if (TextCursor) {
        TextCursor->X = FText.GetTextWidth(State.PlayerName) / 2.0 + 402;
        TextCursor->Move(lagCount);
    }
    if (TypedKey != 13) return;
    TypedKey = 0;
    InsertHighScore(State.HighScores, State.PlayerName, Race.State.Score);
    TableEntryName = State.PlayerName;
    SaveStateNow();
    CloseDialog();
    OpenDialog(TDialog::SendScore);
}

// "Sending...": shown for a frame, then the score goes to the world table while the notice
// stays and the window keeps answering; once the request is over, whatever its outcome,
// the game goes on to the high-score screen.
void TMForm::SendingFrame() {
    const std::string sending = TrDrawn("Отправка...");
    FText.SelectFont(1);
    FText.DrawText(sending, 400, 279, true, true);
    if (!DialogSending) {
        DialogSending = true;
        FSubmitting = false;
        return;
    }
    if (!FSubmitting) {
        FSubmitting = true;
        const std::optional<std::string> server = ScoreServerAddress();
        if (FScores && server) {
            const TScoreEntry entry{State.PlayerName, Race.State.Score, State.GameOptions.Country};
            FScores->Send(ScoreSubmissionUrl(*server, entry));
        }
    }
    if (FScores && FScores->Busy()) return;
    CloseDialog();
    LeaveRaceToHighScores(1);
}

// The level's results, a line a second, then the remaining time paid out; then the next
// level, or after the last one the congratulations.
void TMForm::LevelResultsFrame() {
    TRaceState& race = Race.State;
    const TResultsStep step = StepResults(race, FrameMs);
    if (step.LineSound) PlaySound(3);
    if (step.TickSound) PlaySound(18);

    const std::string place = TrDrawn("Ваше место: ");
    const std::string bonus = TrDrawn("Бонус: ");
    const std::string time = TrDrawn("Время: ");
    const std::string timeBonus = TrDrawn("Бонус за время: ");
    FText.SelectFont(11);
    if (race.ResultLines >= 1) FText.DrawText(place + std::to_string(race.Place), 400, 252, true, true);
    if (race.ResultLines >= 2) FText.DrawText(bonus + std::to_string(race.PlaceBonus), 400, 282, true, true);
    if (race.ResultLines >= 3) FText.DrawText(time + std::to_string(race.ResultTime / 1000), 332, 312, false, true);
    if (race.ResultLines >= 4) FText.DrawText(timeBonus + std::to_string(race.TimeBonus), 288, 342, false, true);

    if (!step.Done) return;
    CloseDialog();
    if (race.Level >= LastLevel) {
        race.ResultTime = 3200;
        PlaySound(21);
        OpenDialog(TDialog::Congratulations);
    } else {
        Race.BeginLevel(true);
    }
}

}  // namespace quillon
