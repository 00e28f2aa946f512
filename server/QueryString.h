// TTarget: a request target ("/path?key=value&flag") split into its decoded path and query
// parameters, as the world table's routes read them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::server {

class TTarget {
public:
    explicit TTarget(std::string_view target);

    const std::string& Path() const { return FPath; }
    bool Has(std::string_view key) const { return Count(key) > 0; }
    std::size_t Count(std::string_view key) const;
    // The value of a key given at most once ("" when missing or without "="); false when repeated.
    bool Single(std::string_view key, std::string& value) const;

private:
    std::string FPath;
    std::vector<std::pair<std::string, std::string>> FParams;
};

// %XX becomes its byte (a broken escape stays as it is); with `plusIsSpace` '+' becomes ' '.
std::string PercentDecode(std::string_view text, bool plusIsSpace);

}  // namespace quillon::server
