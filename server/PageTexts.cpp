// The page's words in Russian and in English.
#include "server/PageTexts.h"

namespace quillon::server {
namespace {

constexpr TPageTexts kRussian{
    .SelfName = "Русский",
    .Title = "Квиллон — мировая таблица рекордов",
    .TitleArtAlt = "Квиллон",
    .LanguageSwitch = "Язык",
    .CountryLabel = "Страна:",
    .AllCountries = "все страны",
    .VerifiedOnly = "только проверенные",
    .Show = "Показать",
    .VerifiedMark = "проверено",
    .VerifiedTip = "Сервер сыграл повтор этой игры заново и получил те же очки",
    .ReplayLink = "повтор",
    .PlaceHeading = "Место",
    .NameHeading = "Имя",
    .ScoreHeading = "Очки",
    .CountryHeading = "Страна",
    .DateHeading = "Дата",
    .ReplayHeading = "Повтор",
    .Empty = "Здесь пока нет ни одного рекорда.",
    .ShownBefore = "Показано результатов: ",
    .ShownAfter = ". Даты — по всемирному времени (UTC).",
    .VerifiedNote = " — сервер сыграл повтор игры заново и получил те же очки. Скачанный повтор показывает сама игра: ",
    .FileWord = "ФАЙЛ",
    .DateFormat = "%d.%m.%Y",
};

constexpr TPageTexts kEnglish{
    .SelfName = "English",
    .Title = "Quillon — world high-score table",
    .TitleArtAlt = "Quillon",
    .LanguageSwitch = "Language",
    .CountryLabel = "Country:",
    .AllCountries = "all countries",
    .VerifiedOnly = "verified only",
    .Show = "Show",
    .VerifiedMark = "verified",
    .VerifiedTip = "The server played this game's replay again and got the same score",
    .ReplayLink = "replay",
    .PlaceHeading = "Place",
    .NameHeading = "Name",
    .ScoreHeading = "Score",
    .CountryHeading = "Country",
    .DateHeading = "Date",
    .ReplayHeading = "Replay",
    .Empty = "No scores here yet.",
    .ShownBefore = "Scores shown: ",
    .ShownAfter = ". Dates are in Coordinated Universal Time (UTC).",
    .VerifiedNote = " — the server played the game's replay again and got the same score. The game itself plays a "
                    "downloaded replay: ",
    .FileWord = "FILE",
    .DateFormat = "%Y-%m-%d",
};

}  // namespace

const TPageTexts& PageTexts(TPageLanguage language) {
    return language == TPageLanguage::Russian ? kRussian : kEnglish;
}

}  // namespace quillon::server
