// The language of the world table's page: Russian or English, from the page's own `lang`
// parameter when it has one, else from the browser's Accept-Language header.
#pragma once

#include <optional>
#include <string_view>

namespace quillon::server {

enum class TPageLanguage { Russian, English };
// Every language of the page, the page's first (its default) first.
inline constexpr TPageLanguage kPageLanguages[] = {TPageLanguage::Russian, TPageLanguage::English};

// "ru" or "en", as the page's `lang` parameter and its <html lang> spell them.
std::string_view LanguageCode(TPageLanguage language);
// The language a `lang` parameter names; nothing for any other text.
std::optional<TPageLanguage> LanguageOfCode(std::string_view code);

// The language an Accept-Language header prefers: Russian when Russian is wanted more than
// English (by its q-value, or the wildcard's), English otherwise, also for an empty or broken
// header. Entries that do not parse are skipped; the work is linear in the header's length,
// which the server's head limit bounds.
TPageLanguage PreferredLanguage(std::string_view acceptLanguage);

}  // namespace quillon::server
