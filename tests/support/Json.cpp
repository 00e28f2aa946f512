// The test JSON reader: recursive descent over the whole text.
#include "support/Json.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quillon::testing {

namespace {

class TParser {
public:
    explicit TParser(const std::string& text) : FText(text) {}

    TJson Document() {
        TJson value = Value();
        Space();
        if (FPos != FText.size()) Fail("trailing text");
        return value;
    }

private:
    [[noreturn]] void Fail(const char* why) {
        throw std::runtime_error(std::string("bad JSON at ") + std::to_string(FPos) + ": " + why);
    }
    void Space() {
        while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    }
    bool Take(char c) {
        Space();
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c)) Fail("unexpected character");
    }
    bool Word(const char* word) {
        std::string w(word);
        if (FText.compare(FPos, w.size(), w) == 0) {
            FPos += w.size();
            return true;
        }
        return false;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (FPos < FText.size() && FText[FPos] != '"') {
            char c = FText[FPos++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (FPos >= FText.size()) Fail("bad escape");
            char e = FText[FPos++];
            switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'u': {
                    if (FPos + 4 > FText.size()) Fail("bad escape");
                    unsigned code = static_cast<unsigned>(std::strtoul(FText.substr(FPos, 4).c_str(), nullptr, 16));
                    FPos += 4;
                    if (code < 0x80) {
                        out += static_cast<char>(code);
                    } else if (code < 0x800) {
                        out += static_cast<char>(0xC0 | (code >> 6));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    } else {
                        out += static_cast<char>(0xE0 | (code >> 12));
                        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    }
                    break;
                }
                default: out += e;
            }
        }
        if (FPos >= FText.size()) Fail("unterminated string");
        ++FPos;
        return out;
    }
    TJson Value() {
        Space();
        if (FPos >= FText.size()) Fail("unexpected end");
        TJson value;
        char c = FText[FPos];
        if (c == '{') {
            ++FPos;
            value.Kind = TJson::TKind::Object;
            if (Take('}')) return value;
            do {
                Space();
                std::string key = String();
                Expect(':');
                value.Object[key] = Value();
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            ++FPos;
            value.Kind = TJson::TKind::Array;
            if (Take(']')) return value;
            do value.Array.push_back(Value());
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            value.Kind = TJson::TKind::String;
            value.String = String();
        } else if (Word("true")) {
            value.Kind = TJson::TKind::Bool;
            value.Bool = true;
        } else if (Word("false")) {
            value.Kind = TJson::TKind::Bool;
        } else if (Word("null")) {
            value.Kind = TJson::TKind::Null;
        } else {
            char* end = nullptr;
            value.Kind = TJson::TKind::Number;
            value.Number = std::strtod(FText.c_str() + FPos, &end);
            if (end == FText.c_str() + FPos) Fail("bad value");
            FPos = static_cast<size_t>(end - FText.c_str());
        }
        return value;
    }

    const std::string& FText;
    size_t FPos = 0;
};

}  // namespace

const TJson& TJson::operator[](const std::string& key) const {
    auto it = Object.find(key);
    if (it == Object.end()) throw std::runtime_error("no field " + key);
    return it->second;
}

const TJson& TJson::operator[](size_t index) const {
    if (index >= Array.size()) throw std::runtime_error("index out of range");
    return Array[index];
}

TJson ParseJson(const std::string& text) { return TParser(text).Document(); }

TJson ReadJsonFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return ParseJson(text.str());
}

}  // namespace quillon::testing
