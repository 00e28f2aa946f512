// Fuzz target for the score server's reading of request text: any bytes as a request target
// (path and query split and decoded) and as a log field, which must come out as one field of
// printable UTF-8 without spaces or control characters, whatever went in; as an Accept-Language
// header, which names a language for the page (English when it ends with English); and as the
// line a verifying game prints, which is read or refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/LogText.h"
#include "server/PageLanguage.h"
#include "server/QueryString.h"
#include "server/VerifyRun.h"

namespace {

using namespace quillon::server;

void CheckLogField(std::string_view text) {
    const std::string field = LogField(text);
    if (field.empty()) std::abort();
    for (std::size_t i = 0; i < field.size();) {
        const auto lead = static_cast<unsigned char>(field[i]);
        if (lead <= 0x20 || lead == 0x7f) std::abort();
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 ? 2 : 0;
        if (length == 0 || i + length > field.size()) std::abort();
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(field[i + k]) & 0xc0) != 0x80) std::abort();
        i += length;
    }
}

void CheckTarget(std::string_view text) {
    const TTarget target(text);
    for (const char* key : {"hs", "prg", "inf", "show", "type", "country", "limit", "name", "score", "verified", "lang"}) {
        std::string value;
        if (target.Single(key, value) != (target.Count(key) <= 1)) std::abort();
        if (target.Has(key) != (target.Count(key) > 0)) std::abort();
    }
    if (PercentDecode(text, false).size() > text.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckLogField(text);
    CheckTarget(text);
    quillon::server::PreferredLanguage(text);
    // English named last with full weight: nothing before it can make Russian wanted more.
    if (quillon::server::PreferredLanguage(std::string(text) + ",en") != quillon::server::TPageLanguage::English)
        std::abort();
    quillon::server::TReplayVerdict verdict;
    if (quillon::server::ParseReplayVerdict(std::string(text), verdict) && text.find("\"score\":") == text.npos)
        std::abort();
    return 0;
}
