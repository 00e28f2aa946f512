// TJsonWriter: builds one JSON text field by field (the headless state dump).
#pragma once

#include <string>

namespace quillon {

class TJsonWriter {
public:
    void BeginObject(const char* key = nullptr);
    void EndObject();
    void BeginArray(const char* key);
    void EndArray();
    void Field(const char* key, long long value);
    void Field(const char* key, int value) { Field(key, static_cast<long long>(value)); }
    void Field(const char* key, double value);
    void Field(const char* key, bool value);
    void Field(const char* key, const std::string& utf8);
    void Null(const char* key);
    void Value(long long value);  // array elements
    void Value(const std::string& utf8);
    const std::string& Text() const { return FText; }

private:
    void Key(const char* key);
    std::string FText;
    bool FNeedComma = false;
};

}  // namespace quillon
