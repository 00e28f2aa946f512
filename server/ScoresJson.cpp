// The world table as JSON.
#include "server/ScoresJson.h"

#include <cstdio>
#include <ctime>

namespace quillon::server {
namespace {

std::string IsoTime(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm parts{};
    if (!gmtime_r(&t, &parts)) return {};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const unsigned code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", code);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string RenderScoresJson(const std::vector<TScoreRow>& rows) {
    std::string json = "{\"scores\":[";
    int place = 1;
    for (const TScoreRow& row : rows) {
        if (place > 1) json += ',';
        json += "{\"place\":" + std::to_string(place++) + ",\"name\":" + JsonString(row.Name) +
                ",\"score\":" + std::to_string(row.Score) + ",\"country\":" + JsonString(row.Country) +
                ",\"date\":" + JsonString(IsoTime(row.Time)) + ",\"verified\":" + (row.Verified ? "true" : "false") +
                ",\"replay\":" + (row.Verified ? JsonString("/api/replays/" + std::to_string(row.Id)) : "null") + "}";
    }
    return json + "]}\n";
}

}  // namespace quillon::server
