// The five help pages: headings, subheadings and lines, in Windows-1251, with the font
// and place of each.
#pragma once

#include <string>
#include <vector>

namespace quillon {

struct THelpLine {
    std::string Text;  // Windows-1251
    int Font;
    int X, Y;  // left end, vertical centre
};

constexpr int HelpPageCount = 5;

// Every text of page 1..5, heading first.
const std::vector<THelpLine>& HelpPageLines(int page);

}  // namespace quillon
