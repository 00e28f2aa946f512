// A small JSON reader for tests that check state dumps and inspector output.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon::testing {

struct TJson {
    enum class TKind { Null, Bool, Number, String, Array, Object };
    TKind Kind = TKind::Null;
    bool Bool = false;
    double Number = 0;
    std::string String;
    std::vector<TJson> Array;
    std::map<std::string, TJson> Object;

    const TJson& operator[](const std::string& key) const;
    const TJson& operator[](size_t index) const;
    bool Has(const std::string& key) const { return Object.count(key) != 0; }
    int Int() const { return static_cast<int>(Number); }
};

// Throws std::runtime_error on malformed text.
TJson ParseJson(const std::string& text);
TJson ReadJsonFile(const std::string& path);

}  // namespace quillon::testing
