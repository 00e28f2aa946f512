// TPagePicture: a PNG picture the table page shows (the game's title art), read once when the
// server starts and then served from memory. The reader checks only what the page needs (the
// signature and the size in the header) and fails with fixed texts on anything else.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::server {

class EPagePictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TPagePicture {
    std::string Png;  // the whole file
    int Width = 0;
    int Height = 0;
};

// The largest picture file and side the page takes.
inline constexpr std::size_t kMaxPagePictureBytes = 1 << 20;
inline constexpr int kMaxPagePictureSide = 4096;

// The picture in `bytes`; throws EPagePictureError ("not a PNG picture", "the picture is too
// large").
TPagePicture ParsePagePicture(std::string_view bytes);
// The picture in a file; also "cannot read the picture" when the file cannot be read.
TPagePicture ReadPagePicture(const std::string& path);

// Where the title art of the page is looked for when no folder is named: beside the program
// (`page-art`, as the build leaves it), in the data of an install around it
// (`../share/quillon-scores`), then in each of `dataFolders` (where the program's own install
// put it, and /usr/share/quillon-scores), so a program copied elsewhere still finds it.
// `program` is the path of the running program; "" when no folder holds the art.
std::string FindPageArtFolder(const std::string& program, const std::vector<std::string>& dataFolders);

// The file name of the title art inside its folder.
inline constexpr const char* kTitlePictureName = "title.png";

}  // namespace quillon::server
