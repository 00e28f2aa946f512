// Where the player is: the full screen shown and the dialog open over it. Their numbers
// are the game's own (the state dump and the replays' checksums carry them), so each name
// keeps its number. The race opens its dialogs through IRaceHost, which is why the names
// live here, where both the race and the menus see them.
#pragma once

#include <cstdint>

namespace quillon {

enum class TScreen : uint8_t {
    None = 0,  // between two screens
    MainMenu = 1,
    ShipSelection = 2,
    Options = 3,
    HighScores = 4,
    Help = 5,
    Race = 6,
};

enum class TDialog : uint8_t {
    None = 0,
    ExitGame = 1,         // "Выйти из игры?"
    ExitToMenu = 2,       // "Выйти в меню?"
    TimeUp = 3,           // "Ваше время вышло"
    ClearTable = 4,       // the high-score table's reset
    Pause = 5,
    LevelBanner = 6,      // "Уровень N"
    GameOver = 7,
    NameEntry = 8,
    SendScore = 9,        // send the score to the world table?
    Sending = 10,
    LevelResult = 11,
    Congratulations = 12,
};

// The menu screens shown over the main menu, whose buttons then serve as tabs.
inline bool IsMenuSubScreen(TScreen screen) {
    return screen == TScreen::ShipSelection || screen == TScreen::Options || screen == TScreen::HighScores ||
           screen == TScreen::Help;
}

// The dialogs answered with yes or no; the others take Enter, a name or nothing.
inline bool IsYesNoDialog(TDialog kind) {
    return kind == TDialog::ExitGame || kind == TDialog::ExitToMenu || kind == TDialog::ClearTable ||
           kind == TDialog::SendScore;
}

}  // namespace quillon
