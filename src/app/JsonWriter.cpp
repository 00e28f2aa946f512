// TJsonWriter: commas, keys, escaping and number formatting.
#include "app/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace

void TJsonWriter::Key(const char* key) {
    if (FNeedComma) FText += ",";
    if (key) FText += Quote(key) + ":";
    FNeedComma = true;
}

void TJsonWriter::BeginObject(const char* key) {
    Key(key);
    FText += "{";
    FNeedComma = false;
}

void TJsonWriter::EndObject() {
    FText += "}";
    FNeedComma = true;
}

void TJsonWriter::BeginArray(const char* key) {
    Key(key);
    FText += "[";
    FNeedComma = false;
}

void TJsonWriter::EndArray() {
    FText += "]";
    FNeedComma = true;
}

void TJsonWriter::Field(const char* key, long long value) {
    Key(key);
    FText += std::to_string(value);
}

void TJsonWriter::Field(const char* key, double value) {
    Key(key);
    if (!std::isfinite(value)) {
        FText += "null";
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    FText += buffer;
}

void TJsonWriter::Field(const char* key, bool value) {
    Key(key);
    FText += value ? "true" : "false";
}

void TJsonWriter::Field(const char* key, const std::string& utf8) {
    Key(key);
    FText += Quote(utf8);
}

void TJsonWriter::Value(long long value) {
    Key(nullptr);
    FText += std::to_string(value);
}

void TJsonWriter::Value(const std::string& utf8) {
    Key(nullptr);
    FText += Quote(utf8);
}

void TJsonWriter::Null(const char* key) {
    Key(key);
    FText += "null";
}

}  // namespace quillon
