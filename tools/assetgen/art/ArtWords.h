// Every word the pictures carry, in each language: the Russian ones are the game's own,
// the English ones short game English set in the same capitals.
#pragma once

#include <array>

#include "engine/GameLanguage.h"

namespace quillon::assetgen {

struct TArtWords {
    // The menu backdrop: the game's name and the line beneath it.
    const char* GameName;
    const char* Tagline;
    // The main menu's six tabs, top to bottom (items 2..7 and 8..13).
    std::array<const char*, 6> MenuTabs;
    // The screen titles: help, ship choice, options, high scores (items 24..27).
    std::array<const char*, 4> Titles;
    // The options' indicators (14..19).
    const char* Window;
    const char* FullScreen;
    const char* On;
    const char* Off;
    // The buttons of the dialogs and screens.
    const char* Yes;
    const char* No;
    const char* Start;
    const char* ClearScores;
    const char* WorldTable;
    const char* HelpBack;
    const char* HelpNext;
    // The ship panel's rating rows: speed, handling, acceleration, braking.
    std::array<const char*, 4> Ratings;
    // The race's instrument panel and speedometer.
    const char* HudPlace;
    const char* HudTime;
    const char* HudScore;
    const char* HudSpeed;
    const char* HudEnergy;
    const char* HudLives;
    const char* SpeedUnit;
};

const TArtWords& ArtWords(TLanguage language);

}  // namespace quillon::assetgen
