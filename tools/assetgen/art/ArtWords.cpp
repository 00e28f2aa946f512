#include "art/ArtWords.h"

namespace quillon::assetgen {

namespace {

constexpr TArtWords kRussian = {
    "КВИЛЛОН", "КОСМИЧЕСКИЕ ГОНКИ",
    {"ВЫБОР КОРАБЛЯ", "ПОМОЩЬ", "НАСТРОЙКИ", "РЕКОРДЫ", "ДРУГИЕ ИГРЫ", "ВЫХОД"},
    {"ПОМОЩЬ", "ВЫБОР КОРАБЛЯ", "НАСТРОЙКИ", "РЕКОРДЫ"},
    "ОКНО", "ВЕСЬ ЭКРАН", "ВКЛ", "ВЫКЛ",
    "ДА", "НЕТ", "СТАРТ", "ОЧИСТИТЬ", "МИРОВАЯ ТАБЛИЦА", "НАЗАД", "ДАЛЕЕ",
    {"СКОРОСТЬ", "УПРАВЛЕНИЕ", "УСКОРЕНИЕ", "ТОРМОЖЕНИЕ"},
    "МЕСТО", "ВРЕМЯ", "ОЧКИ", "СКОРОСТЬ", "ЭНЕРГИЯ", "ЖИЗНИ", "КМ/Ч",
};

constexpr TArtWords kEnglish = {
    "QUILLON", "SPACE RACING",
    {"NEW GAME", "HELP", "OPTIONS", "HIGH SCORES", "MORE GAMES", "EXIT"},
    {"HELP", "CHOOSE A SHIP", "OPTIONS", "HIGH SCORES"},
    "WINDOW", "FULL SCREEN", "ON", "OFF",
    "YES", "NO", "START", "CLEAR", "WORLD TABLE", "BACK", "NEXT",
    {"SPEED", "HANDLING", "ACCELERATION", "BRAKING"},
    "PLACE", "TIME", "SCORE", "SPEED", "ENERGY", "LIVES", "KM/H",
};

}  // namespace

const TArtWords& ArtWords(TLanguage language) { return language == TLanguage::English ? kEnglish : kRussian; }

}  // namespace quillon::assetgen
