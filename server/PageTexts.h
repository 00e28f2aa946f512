// Every word of the world table's page, one table per language. A translator adds a language
// by filling one more TPageTexts (and naming it in PageLanguage); a text left out of a table is a
// compiler warning (a missing initializer), so an error in the project's builds. A struct rather
// than a catalog: the page has a few dozen words, the server no locale of its own, and a
// catalog's missing entry would only show on the page. The texts go into the page as they stand:
// they are HTML (an ampersand is written &amp;).
#pragma once

#include "server/PageLanguage.h"

namespace quillon::server {

struct TPageTexts {
    const char* SelfName;       // the language's name in itself, on the other pages' switch
    const char* Title;          // the window's title and the heading
    const char* TitleArtAlt;    // the title art's text where the picture is not shown
    const char* LanguageSwitch; // the label of the switch to the other languages, for screen readers
    const char* CountryLabel;
    const char* AllCountries;
    const char* VerifiedOnly;
    const char* Show;
    const char* VerifiedMark;   // after the mark ✔
    const char* VerifiedTip;
    const char* ReplayLink;
    const char* PlaceHeading;
    const char* NameHeading;
    const char* ScoreHeading;
    const char* CountryHeading;
    const char* DateHeading;
    const char* ReplayHeading;
    const char* Empty;
    const char* ShownBefore;    // the count of rows shown stands between these two
    const char* ShownAfter;
    const char* VerifiedNote;   // after the mark, before the command that plays a replay
    const char* FileWord;       // the command's placeholder for the file
    const char* DateFormat;     // strftime's, of a UTC date
};

const TPageTexts& PageTexts(TPageLanguage language);

}  // namespace quillon::server
