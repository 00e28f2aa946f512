// Bitmap decoding: the real-world bitmap suite against its reference readings, and
// hand-made headers, palettes, bit fields and run-length streams.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/DIB.h"
#include "support/FileText.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

using TBytes = std::vector<uint8_t>;

// ---- Building bitmaps by hand --------------------------------------------------------

void Put16(TBytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void Put32(TBytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct TDIBLayout {
    int32_t Width = 1;
    int32_t Height = 1;
    int Bits = 24;
    uint32_t Compression = 0;
    uint32_t ImageSize = 0;  // 0: the pixel data's length
    std::vector<uint32_t> Palette;
    std::vector<uint32_t> Masks;  // written after the header when not empty
    TBytes Pixels;
};

TDIBLayout Layout(int32_t width, int32_t height, int bits, std::vector<uint32_t> palette = {}, TBytes pixels = {},
              uint32_t compression = 0) {
    TDIBLayout s;
    s.Width = width;
    s.Height = height;
    s.Bits = bits;
    s.Palette = std::move(palette);
    s.Pixels = std::move(pixels);
    s.Compression = compression;
    return s;
}

TBytes InfoDIB(const TDIBLayout& s) {
    TBytes b;
    Put32(b, 40);
    Put32(b, uint32_t(s.Width));
    Put32(b, uint32_t(s.Height));
    Put16(b, 1);
    Put16(b, uint32_t(s.Bits));
    Put32(b, s.Compression);
    Put32(b, s.ImageSize != 0 ? s.ImageSize : uint32_t(s.Pixels.size()));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, uint32_t(s.Palette.size()));
    Put32(b, 0);
    for (uint32_t m : s.Masks) Put32(b, m);
    for (uint32_t c : s.Palette) Put32(b, c);
    b.insert(b.end(), s.Pixels.begin(), s.Pixels.end());
    return b;
}

TBytes CoreDIB(uint16_t width, uint16_t height, int bits, const std::vector<uint32_t>& palette, const TBytes& pixels) {
    TBytes b;
    Put32(b, 12);
    Put16(b, width);
    Put16(b, height);
    Put16(b, 1);
    Put16(b, uint32_t(bits));
    for (uint32_t c : palette) {
        b.push_back(uint8_t(c));
        b.push_back(uint8_t(c >> 8));
        b.push_back(uint8_t(c >> 16));
    }
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

TBytes BitmapFile(const TBytes& dib, uint32_t offBits) {
    TBytes b{'B', 'M'};
    Put32(b, uint32_t(dib.size() + 14));
    Put32(b, 0);
    Put32(b, offBits);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

TDIBImage Decode(const TBytes& b) {
    return DecodeDIB(b.data(), b.size());
}

std::string ErrorOf(const TBytes& b, bool file = false) {
    try {
        if (file)
            DecodeBitmapFile(b.data(), b.size());
        else
            Decode(b);
    } catch (const EEngineError& e) {
        return e.what();
    }
    return "";
}

// Palette entry i of the hand-made pictures: never black, so black means "no entry".
uint32_t PaletteColour(int i) {
    return 0x102030u + 0x010101u * uint32_t(i);
}

std::vector<uint32_t> Palette(int n) {
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i) p.push_back(PaletteColour(i));
    return p;
}

// The picture as palette indexes, one string per row from the top: hex digits, 'K' for black.
std::vector<std::string> AsIndexes(const TDIBImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height; ++y) {
        std::string row;
        for (int x = 0; x < image.Width; ++x) {
            const uint32_t c = image.At(x, y);
            char ch = '?';
            if (c == 0) ch = 'K';
            for (int i = 0; i < 16; ++i)
                if (c == PaletteColour(i)) ch = "0123456789ABCDEF"[i];
            row += ch;
        }
        rows.push_back(row);
    }
    return rows;
}

// ---- Headers, palettes and plain rows -------------------------------------------------

TEST(DecodeDIB, PalettedRowsBottomUpAndTopDown) {
    // 3 x 2 at 4 bits: rows padded to 4 bytes, bottom row first.
    TDIBLayout s = Layout(3, 2, 4, Palette(6), {0x01, 0x20, 0, 0, 0x34, 0x50, 0, 0});
    EXPECT_EQ(AsIndexes(Decode(InfoDIB(s))), (std::vector<std::string>{"345", "012"}));
    s.Height = -2;
    EXPECT_EQ(AsIndexes(Decode(InfoDIB(s))), (std::vector<std::string>{"012", "345"}));
}

TEST(DecodeDIB, OneBitAndEightBitIndexes) {
    const TDIBLayout one = Layout(10, 1, 1, Palette(2), {0b10110000, 0b01000000, 0, 0});
    EXPECT_EQ(AsIndexes(Decode(InfoDIB(one)))[0], "1011000001");
    // Indexes beyond the colour table show black.
    const TDIBLayout eight = Layout(3, 1, 8, Palette(2), {1, 2, 255, 0});
    EXPECT_EQ(AsIndexes(Decode(InfoDIB(eight)))[0], "1KK");
}

TEST(DecodeDIB, ColourCountZeroMeansFullTable) {
    TBytes b = InfoDIB(Layout(1, 1, 4, Palette(16), {0xF0, 0, 0, 0}));
    b[32] = 0;  // colour count 0: 2^4 entries follow the header
    EXPECT_EQ(AsIndexes(Decode(b))[0], "F");
}

TEST(DecodeDIB, CoreHeaderHasThreeBytePaletteEntries) {
    const TBytes b = CoreDIB(2, 2, 1, Palette(2), {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    EXPECT_EQ(AsIndexes(Decode(b)), (std::vector<std::string>{"01", "10"}));
}

TEST(DecodeDIB, TwentyFourBitsAndMissingLastRowPadding) {
    // 1 x 2: the first row is padded to 4 bytes, the last one may end without padding.
    const TDIBImage image = Decode(InfoDIB(Layout(1, 2, 24, {}, {0x33, 0x22, 0x11, 0, 0xCC, 0xBB, 0xAA})));
    EXPECT_EQ(image.At(0, 0), 0xAABBCCu);
    EXPECT_EQ(image.At(0, 1), 0x112233u);
}

TEST(DecodeDIB, BitFieldsAndDefaultMasks) {
    struct Case {
        const char* name;
        int bits;
        std::vector<uint32_t> masks;  // empty: compression 0
        uint32_t pixel;
        uint32_t expected;
    } cases[] = {
        {"565 white", 16, {0xF800, 0x07E0, 0x001F}, 0xFFFF, 0xFFFFFF},
        {"565 red", 16, {0xF800, 0x07E0, 0x001F}, 0xF800, 0xFF0000},
        {"565 green", 16, {0xF800, 0x07E0, 0x001F}, 0x07E0, 0x00FF00},
        {"555 default", 16, {}, 0x7C00 | 0x0010, 0xFF0084},
        {"555 top bit ignored", 16, {}, 0x8000, 0x000000},
        {"x8r8g8b8 default", 32, {}, 0xFF123456, 0x123456},
        {"shifted 8-bit masks", 32, {0xFF000000, 0x00FF0000, 0x0000FF00}, 0x12345678, 0x123456},
        {"zero mask gives 0", 32, {0, 0x0000FF00, 0x000000FF}, 0xFFFFFFFF, 0x00FFFF},
        {"10-bit channels", 32, {0x3FF00000, 0x000FFC00, 0x000003FF}, (0x3FFu << 20) | (0x200u << 10), 0xFF8000},
    };
    for (const Case& c : cases) {
        TDIBLayout s = Layout(1, 1, c.bits, {}, {}, c.masks.empty() ? 0u : 3u);
        s.Masks = c.masks;
        Put32(s.Pixels, c.pixel);
        EXPECT_EQ(Decode(InfoDIB(s)).At(0, 0), c.expected) << c.name;
    }
}

TEST(DecodeDIB, BadHeadersAndTruncatedData) {
    const std::string invalid = "DIB is invalid", readError = "Stream read error";
    const TDIBLayout good = Layout(2, 2, 8, Palette(4), TBytes(8, 1));
    struct Case {
        const char* name;
        TBytes data;
        std::string error;
    } cases[] = {
        {"header size 16", [&] { TBytes b = InfoDIB(good); b[0] = 16; return b; }(), invalid},
        {"header size 108", [&] { TBytes b = InfoDIB(good); b[0] = 108; return b; }(), invalid},
        {"compression 4", [&] { TDIBLayout s = good; s.Compression = 4; return InfoDIB(s); }(), invalid},
        {"bit count 2", [&] { TDIBLayout s = good; s.Bits = 2; return InfoDIB(s); }(), invalid},
        {"bit count 0", [&] { TDIBLayout s = good; s.Bits = 0; return InfoDIB(s); }(), invalid},
        {"RLE8 at 4 bits", [&] { TDIBLayout s = good; s.Bits = 4; s.Compression = 1; return InfoDIB(s); }(), invalid},
        {"RLE4 at 8 bits", [&] { TDIBLayout s = good; s.Compression = 2; return InfoDIB(s); }(), invalid},
        {"bit fields at 8 bits", [&] { TDIBLayout s = good; s.Compression = 3; return InfoDIB(s); }(), invalid},
        {"top-down RLE", [&] { TDIBLayout s = good; s.Height = -2; s.Compression = 1; return InfoDIB(s); }(), invalid},
        {"width 0", [&] { TDIBLayout s = good; s.Width = 0; return InfoDIB(s); }(), invalid},
        {"negative width", [&] { TDIBLayout s = good; s.Width = -2; return InfoDIB(s); }(), invalid},
        {"height 0", [&] { TDIBLayout s = good; s.Height = 0; return InfoDIB(s); }(), invalid},
        {"absurd size", [&] { TDIBLayout s = good; s.Width = 100000; s.Height = 100000; return InfoDIB(s); }(), invalid},
        {"most negative height", [&] { TDIBLayout s = good; s.Height = INT32_MIN; return InfoDIB(s); }(), invalid},
        {"empty", {}, readError},
        {"three bytes", {40, 0, 0}, readError},
        {"header cut", [&] { TBytes b = InfoDIB(good); b.resize(30); return b; }(), readError},
        {"core header cut", [&] { TBytes b = CoreDIB(2, 2, 8, Palette(256), {}); b.resize(10); return b; }(), readError},
        {"palette cut", [&] { TBytes b = InfoDIB(good); b.resize(40 + 10); return b; }(), readError},
        {"huge colour count", [&] { TBytes b = InfoDIB(good); b[35] = 0x7F; return b; }(), readError},
        {"masks cut", InfoDIB(Layout(1, 1, 16, {}, {}, 3)), readError},
        {"pixels cut", [&] { TBytes b = InfoDIB(good); b.resize(b.size() - 3); return b; }(), readError},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.data), c.error) << c.name;
}

// ---- Run-length streams ---------------------------------------------------------------

TEST(DecodeDIB, RunLengthStreams) {
    struct Case {
        const char* name;
        int bits, width, height;
        TBytes stream;
        std::vector<std::string> expected;  // top row first
        uint32_t imageSize = 0;
    } cases[] = {
        {"RLE8 runs and end of line", 8, 4, 2, {2, 1, 2, 2, 0, 0, 4, 3, 0, 1}, {"3333", "1122"}},
        {"RLE8 run past the right edge is cut", 8, 4, 2, {6, 1, 0, 0, 1, 2, 0, 1}, {"2000", "1111"}},
        {"RLE8 delta skips pixels", 8, 4, 2, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1}, {"0002", "1000"}},
        {"RLE8 delta past the end stops", 8, 4, 2, {1, 1, 0, 2, 200, 200, 1, 2, 0, 1}, {"0000", "1000"}},
        {"RLE8 absolute run with padding", 8, 4, 2, {0, 3, 5, 6, 7, 0, 1, 1, 0, 1}, {"0000", "5671"}},
        {"RLE8 absolute run past the edge", 8, 2, 2, {0, 3, 5, 6, 7, 0, 0, 0, 1, 4, 0, 1}, {"40", "56"}},
        {"RLE8 absolute run cut short", 8, 4, 1, {0, 4, 5, 6}, {"5600"}},
        {"RLE8 stream without end code", 8, 4, 2, {2, 1}, {"0000", "1100"}},
        {"RLE8 end of bitmap early", 8, 4, 2, {1, 1, 0, 1, 1, 2}, {"0000", "1000"}},
        {"RLE8 lone trailing byte", 8, 4, 1, {1, 1, 0}, {"1000"}},
        {"RLE8 delta cut short", 8, 4, 1, {1, 1, 0, 2, 1}, {"1000"}},
        {"RLE8 more rows than the picture", 8, 2, 1, {2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 1}, {"11"}},
        {"RLE8 index beyond the palette", 8, 2, 1, {2, 200, 0, 1}, {"KK"}},
        {"RLE8 image size ends the stream", 8, 4, 1, {1, 1, 1, 2, 0, 1}, {"1000"}, 2},
        {"RLE4 run alternates nibbles", 4, 5, 1, {5, 0x12, 0, 1}, {"12121"}},
        {"RLE4 absolute run", 4, 5, 1, {0, 3, 0x34, 0x50, 1, 0x66, 0, 1}, {"34560"}},
        {"RLE4 absolute run with padding", 4, 5, 2, {0, 5, 0x12, 0x34, 0x50, 0, 2, 0x66, 0, 0, 1, 0x77, 0, 1},
         {"70000", "12345"}},
        {"RLE4 run past the right edge", 4, 3, 1, {9, 0x12, 0, 1}, {"121"}},
        {"RLE4 absolute run cut short", 4, 5, 1, {0, 5, 0x12}, {"12000"}},
    };
    for (const Case& c : cases) {
        TDIBLayout s = Layout(c.width, c.height, c.bits, Palette(16), c.stream, c.bits == 8 ? 1u : 2u);
        s.ImageSize = c.imageSize;
        EXPECT_EQ(AsIndexes(Decode(InfoDIB(s))), c.expected) << c.name;
    }
}

TEST(DecodeDIB, RunLengthWithNothingButTheHeaderShowsColourZero) {
    TDIBLayout s = Layout(3, 2, 8, Palette(2), {}, 1);
    s.ImageSize = 100;
    EXPECT_EQ(AsIndexes(Decode(InfoDIB(s))), (std::vector<std::string>{"000", "000"}));
}

// ---- Whole bitmap files ---------------------------------------------------------------

TEST(DecodeBitmapFile, PixelOffsetFromTheFileHeader) {
    const TBytes dib = InfoDIB(Layout(2, 1, 8, Palette(4), {1, 2, 0, 0}));
    const uint32_t natural = 14 + 40 + 16;
    struct Case {
        const char* name;
        TBytes file;
        std::string expected;
    } cases[] = {
        {"offset right after the palette", BitmapFile(dib, natural), "12"},
        {"offset 0 is ignored", BitmapFile(dib, 0), "12"},
        {"offset beyond the file is ignored", BitmapFile(dib, 1000), "12"},
        // A gap after the palette: the pixels are where the file header says.
        {"gap before the pixels", [&] {
             TBytes d = dib;
             d.insert(d.begin() + 56, {9, 9, 9, 9});
             return BitmapFile(d, natural + 4);
         }(), "12"},
        // An offset into the colour table means a shorter table: entry 2 is missing.
        {"offset inside the palette", [&] {
             TBytes d = dib;
             d.erase(d.begin() + 48, d.begin() + 56);
             return BitmapFile(d, natural - 8);
         }(), "1K"},
    };
    for (const Case& c : cases) {
        const TDIBImage image = DecodeBitmapFile(c.file.data(), c.file.size());
        EXPECT_EQ(AsIndexes(image)[0], c.expected) << c.name;
    }
}

TEST(DecodeBitmapFile, RejectsWhatIsNoBitmapFile) {
    TBytes file = BitmapFile(InfoDIB({}), 0);
    EXPECT_EQ(ErrorOf(TBytes(file.begin(), file.begin() + 10), true), "Stream read error");
    file[0] = 'X';
    EXPECT_EQ(ErrorOf(file, true), "DIB is invalid");
}

TEST(EncodeDIB, RoundTripKeepsEveryPixel) {
    TDIBImage image;  // 15-byte rows need padding
    image.Width = 5;
    image.Height = 3;
    for (uint32_t i = 0; i < 15; ++i) image.Pixels.push_back(i * 0x0A1B2Cu & 0xFFFFFF);
    const TBytes data = EncodeDIB(image);
    EXPECT_EQ(data.size(), 40u + 16 * 3);
    const TDIBImage back = Decode(data);
    EXPECT_EQ(back.Width, 5);
    EXPECT_EQ(back.Height, 3);
    EXPECT_EQ(back.Pixels, image.Pixels);
}

TEST(EncodeDIB, RefusesAPictureWithoutPixels) {
    EXPECT_THROW(EncodeDIB(TDIBImage{}), EDIBError);
    EXPECT_THROW(EncodeDIB(TDIBImage{.Width = 2, .Height = 2, .Pixels = {1, 2, 3}}), EDIBError);
}

// ---- The bitmap suite -----------------------------------------------------------------

const fs::path kSuite = fs::path(QUILLON_TESTDATA_DIR) / "bmpsuite";

// The reference reading: 24-bit PNG as 0x00RRGGBB, top row first.
bool ReadReference(const fs::path& path, TDIBImage& out) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return false;
    out.Width = int(png.width);
    out.Height = int(png.height);
    out.Pixels.clear();
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) out.Pixels.push_back((rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]);
    return true;
}

// Compares at 5 bits per channel, which is all the 16-bit screen keeps of red and blue.
::testing::AssertionResult SameAtFiveBits(const TDIBImage& got, const TDIBImage& want) {
    if (got.Width != want.Width || got.Height != want.Height)
        return ::testing::AssertionFailure() << "size " << got.Width << "x" << got.Height << ", reference "
                                             << want.Width << "x" << want.Height;
    for (int y = 0; y < got.Height; ++y)
        for (int x = 0; x < got.Width; ++x)
            if ((got.At(x, y) & 0xF8F8F8) != (want.At(x, y) & 0xF8F8F8))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") " << std::hex
                                                     << got.At(x, y) << ", reference " << want.At(x, y);
    return ::testing::AssertionSuccess();
}

std::vector<fs::path> SuiteFiles(const char* dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kSuite / dir))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

uint32_t At32(const TBytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

// True when the pixels follow the colour table at once, so the file minus its
// 14-byte header is a complete TDIB payload.
bool PixelsFollowPalette(const TBytes& file) {
    const uint32_t headerSize = At32(file, 14);
    const int bits = file[headerSize == 12 ? 24 : 28];
    const uint32_t compression = headerSize == 12 ? 0 : At32(file, 30);
    uint64_t colours = headerSize == 12 ? 0 : At32(file, 46);
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    const uint64_t expected = 14 + headerSize + (compression == 3 ? 12 : 0) + colours * (headerSize == 12 ? 3 : 4);
    return At32(file, 10) == expected;
}

TEST(BitmapSuite, GoodFilesMatchTheReference) {
    if (!fs::exists(kSuite)) GTEST_SKIP() << "bitmap suite not found at " << kSuite;
    int compared = 0;
    for (const fs::path& path : SuiteFiles("g")) {
        SCOPED_TRACE(path.filename().string());
        const TBytes file = testing::ReadFileBytes(path);
        ASSERT_GE(file.size(), 18u);
        const uint32_t headerSize = At32(file, 14);
        if (headerSize != 12 && headerSize != 40) {
            // Later header versions are not a picture format of the game.
            EXPECT_EQ(ErrorOf(TBytes(file.begin() + 14, file.end())), "DIB is invalid");
            EXPECT_EQ(ErrorOf(file, true), "DIB is invalid");
            continue;
        }
        TDIBImage reference;
        ASSERT_TRUE(ReadReference(kSuite / "ref" / ("g_" + path.stem().string() + ".png"), reference));
        EXPECT_TRUE(SameAtFiveBits(DecodeBitmapFile(file.data(), file.size()), reference));
        ASSERT_TRUE(PixelsFollowPalette(file));
        EXPECT_TRUE(SameAtFiveBits(DecodeDIB(file.data() + 14, file.size() - 14), reference));
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

// Questionable files that we read the way the reference reader does: a one-entry
// colour table, a gap before the pixels, a sparse colour table (pixel offset inside
// the table), an oversized table, and unused top bits. (Narrow bit fields are widened
// to the full 0..255 range here, which the reference reader does not.)
TEST(BitmapSuite, QuestionableFilesWeReadLikeTheReference) {
    if (!fs::exists(kSuite)) GTEST_SKIP() << "bitmap suite not found at " << kSuite;
    for (const char* name : {"pal1p1", "pal8offs", "pal8os2sp", "rgb24largepal", "rgb16faketrns", "rgb32fakealpha"}) {
        SCOPED_TRACE(name);
        const TBytes file = testing::ReadFileBytes(kSuite / "q" / (std::string(name) + ".bmp"));
        TDIBImage reference;
        ASSERT_TRUE(ReadReference(kSuite / "ref" / ("q_" + std::string(name) + ".png"), reference));
        EXPECT_TRUE(SameAtFiveBits(DecodeBitmapFile(file.data(), file.size()), reference));
    }
}

// Broken and questionable files either decode or fail with a fixed message, through
// both paths and cut at every length near the interesting places; never a crash.
TEST(BitmapSuite, BrokenFilesDecodeOrFailCleanly) {
    if (!fs::exists(kSuite)) GTEST_SKIP() << "bitmap suite not found at " << kSuite;
    auto check = [](const uint8_t* data, size_t size, bool file) {
        try {
            const TDIBImage image = file ? DecodeBitmapFile(data, size) : DecodeDIB(data, size);
            EXPECT_EQ(image.Pixels.size(), size_t(image.Width) * image.Height);
        } catch (const EEngineError& e) {
            const std::string message = e.what();
            EXPECT_TRUE(message == "DIB is invalid" || message == "Stream read error") << message;
        }
    };
    int files = 0;
    for (const char* dir : {"b", "q"}) {
        for (const fs::path& path : SuiteFiles(dir)) {
            SCOPED_TRACE(path.string());
            const TBytes file = testing::ReadFileBytes(path);
            check(file.data(), file.size(), true);
            if (file.size() >= 14) check(file.data() + 14, file.size() - 14, false);
            // Truncations through the headers and palette, and a few into the pixels.
            for (size_t cut = 0; cut < std::min<size_t>(file.size(), 1300); cut += cut < 200 ? 1 : 97) {
                TBytes part(file.begin(), file.begin() + cut);  // its own buffer, so ASan sees overreads
                check(part.data(), part.size(), true);
            }
            ++files;
        }
    }
    EXPECT_GT(files, 50);
}

}  // namespace
}  // namespace quillon
