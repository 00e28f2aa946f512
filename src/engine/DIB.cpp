// Device-independent bitmap decoding (core and info headers, palettes, bit fields,
// RLE8/RLE4) into TDIBImage, and the plain 24-bit encoding the data writer uses.
#include "engine/DIB.h"

#include <algorithm>
#include <array>
#include <bit>

namespace quillon {
namespace {

// Larger pictures are refused as invalid: no art of the game comes near this, and a
// damaged header must not make us allocate gigabytes. The fuzz build lowers it so
// that it spends its time on the decoding rather than on filling huge pictures.
#ifdef QUILLON_DIB_MAX_PIXELS
constexpr int64_t kMaxPixels = QUILLON_DIB_MAX_PIXELS;
#else
constexpr int64_t kMaxPixels = int64_t{64} * 1024 * 1024;
#endif

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

enum : uint32_t { kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3 };

[[noreturn]] void ReadError() {
    throw EEngineError("Stream read error");
}

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Everything the header says about where things are and how pixels are stored.
struct TLayout {
    int Width = 0;
    int Height = 0;  // always positive
    bool TopDown = false;
    int Bits = 0;
    uint32_t Compression = kRGB;
    uint32_t ImageSize = 0;
    std::array<uint32_t, 3> Masks{};  // red, green, blue; for 16 and 32 bits
    size_t PaletteOffset = 0;         // from the start of the header
    size_t EntrySize = 4;
    uint64_t StoredColours = 0;       // palette entries present in the data
};

TLayout ReadLayout(const uint8_t* data, size_t size) {
    if (size < 4) ReadError();
    TLayout l;
    const uint32_t headerSize = U32(data);
    int64_t width = 0, height = 0;
    uint64_t colourCount = 0;
    if (headerSize == kCoreHeaderSize) {
        if (size < kCoreHeaderSize) ReadError();
        width = U16(data + 4);
        height = U16(data + 6);
        l.Bits = U16(data + 10);
        l.EntrySize = 3;
    } else if (headerSize == kInfoHeaderSize) {
        if (size < kInfoHeaderSize) ReadError();
        width = static_cast<int32_t>(U32(data + 4));
        height = static_cast<int32_t>(U32(data + 8));
        l.Bits = U16(data + 14);
        l.Compression = U32(data + 16);
        l.ImageSize = U32(data + 20);
        colourCount = U32(data + 32);
        l.EntrySize = 4;
    } else {
        throw EDIBError();
    }

    switch (l.Bits) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: throw EDIBError();
    }
    const bool compressionFits = l.Compression == kRGB || (l.Compression == kRLE8 && l.Bits == 8) ||
                                 (l.Compression == kRLE4 && l.Bits == 4) ||
                                 (l.Compression == kBitFields && (l.Bits == 16 || l.Bits == 32));
    if (!compressionFits) throw EDIBError();

    l.TopDown = height < 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) throw EDIBError();
    // Run-length data is bottom-up by definition.
    if (l.TopDown && (l.Compression == kRLE8 || l.Compression == kRLE4)) throw EDIBError();
    l.Width = static_cast<int>(width);
    l.Height = static_cast<int>(height);

    l.PaletteOffset = headerSize;
    if (l.Compression == kBitFields) {
        if (size < headerSize + 12) ReadError();
        for (int i = 0; i < 3; ++i) l.Masks[i] = U32(data + headerSize + 4 * i);
        l.PaletteOffset += 12;
    } else if (l.Bits == 16) {
        l.Masks = {0x7C00, 0x03E0, 0x001F};
    } else if (l.Bits == 32) {
        l.Masks = {0xFF0000, 0xFF00, 0xFF};
    }
    l.StoredColours = colourCount != 0 ? colourCount : (l.Bits <= 8 ? (uint64_t{1} << l.Bits) : 0);
    return l;
}

// One channel of a bit-field pixel, widened to 8 bits.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint64_t Max = 0;

    explicit TChannel(uint32_t mask) : Mask(mask) {
        if (mask == 0) return;
        Shift = std::countr_zero(mask);
        Max = mask >> Shift;
    }
    uint32_t Get(uint32_t pixel) const {
        if (Max == 0) return 0;
        const uint64_t v = (pixel & Mask) >> Shift;
        return static_cast<uint32_t>((v * 255 + Max / 2) / Max);
    }
};

class TDecoder {
public:
    TDecoder(const uint8_t* data, size_t size, const TLayout& layout) : FData(data), FSize(size), FL(layout) {
        FImage.Width = layout.Width;
        FImage.Height = layout.Height;
    }

    // pixelOffset counts from the start of the header; paletteRoom is how many
    // palette entries fit before it (the table may be shorter than declared).
    TDIBImage Decode(size_t pixelOffset, uint64_t paletteRoom) {
        ReadPalette(std::min(paletteRoom, FL.StoredColours));
        if (pixelOffset > FSize) ReadError();
        const uint8_t* pixels = FData + pixelOffset;
        const size_t available = FSize - pixelOffset;
        switch (FL.Compression) {
            case kRLE8:
            case kRLE4: DecodeRLE(pixels, available); break;
            default: DecodeRows(pixels, available); break;
        }
        return std::move(FImage);
    }

private:
    void ReadPalette(uint64_t count) {
        count = std::min<uint64_t>(count, 256);
        if (FL.PaletteOffset + count * FL.EntrySize > FSize) ReadError();
        const uint8_t* p = FData + FL.PaletteOffset;
        FPaletteSize = static_cast<int>(count);
        for (int i = 0; i < FPaletteSize; ++i, p += FL.EntrySize)
            FPalette[i] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }

    // Indexes beyond the colour table show black.
    uint32_t Colour(unsigned index) const { return index < unsigned(FPaletteSize) ? FPalette[index] : 0; }

    uint32_t* OutRow(int64_t rowInFile) {
        const int64_t y = FL.TopDown ? rowInFile : FL.Height - 1 - rowInFile;
        return FImage.Pixels.data() + y * FL.Width;
    }

    // Uncompressed rows are a hard format: missing bytes are a read error. The last
    // row's padding may be missing.
    void DecodeRows(const uint8_t* p, size_t available) {
        const uint64_t rowBits = uint64_t(FL.Width) * FL.Bits;
        const uint64_t stride = (rowBits + 31) / 32 * 4;
        const uint64_t needed = stride * (FL.Height - 1) + (rowBits + 7) / 8;
        if (needed > available) ReadError();
        FImage.Pixels.resize(size_t(FL.Width) * FL.Height);
        const TChannel red(FL.Masks[0]), green(FL.Masks[1]), blue(FL.Masks[2]);
        for (int row = 0; row < FL.Height; ++row, p += stride) {
            uint32_t* out = OutRow(row);
            switch (FL.Bits) {
                case 1:
                case 4:
                case 8: {
                    const int perByte = 8 / FL.Bits;
                    const unsigned mask = (1u << FL.Bits) - 1;
                    for (int x = 0; x < FL.Width; ++x) {
                        const int shift = (perByte - 1 - x % perByte) * FL.Bits;
                        out[x] = Colour((p[x / perByte] >> shift) & mask);
                    }
                    break;
                }
                case 16:
                    for (int x = 0; x < FL.Width; ++x) {
                        const uint32_t v = U16(p + 2 * x);
                        out[x] = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
                    }
                    break;
                case 24:
                    for (int x = 0; x < FL.Width; ++x) {
                        const uint8_t* q = p + 3 * x;
                        out[x] = (uint32_t{q[2]} << 16) | (uint32_t{q[1]} << 8) | q[0];
                    }
                    break;
                case 32:
                    for (int x = 0; x < FL.Width; ++x) {
                        const uint32_t v = U32(p + 4 * x);
                        out[x] = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
                    }
                    break;
            }
        }
    }

    // Run-length data has its own end code and its size field is often wrong, so
    // running out of bytes ends the picture like an end code does: what was decoded
    // stays, the rest shows palette colour 0 (as do pixels skipped by end-of-line
    // and delta codes). Runs past the right edge are cut off at the edge.
    void DecodeRLE(const uint8_t* p, size_t available) {
        if (FL.ImageSize != 0) available = std::min<size_t>(available, FL.ImageSize);
        FImage.Pixels.assign(size_t(FL.Width) * FL.Height, Colour(0));
        const bool four = FL.Compression == kRLE4;
        const uint8_t* end = p + available;
        int64_t x = 0, y = 0;
        auto put = [&](unsigned index) {
            if (x < FL.Width) OutRow(y)[x] = Colour(index);
            ++x;
        };
        while (end - p >= 2 && y < FL.Height) {
            const unsigned count = p[0], value = p[1];
            p += 2;
            if (count > 0) {
                const int64_t n = std::min<int64_t>(count, std::max<int64_t>(FL.Width - x, 0));
                if (n > 0) {
                    uint32_t* out = OutRow(y) + x;
                    if (!four) {
                        std::fill_n(out, n, Colour(value));
                    } else {
                        const uint32_t pair[2] = {Colour(value >> 4), Colour(value & 15)};
                        for (int64_t i = 0; i < n; ++i) out[i] = pair[i & 1];
                    }
                }
                x += count;
            } else if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                if (end - p < 2) break;
                x += p[0];
                y += p[1];
                p += 2;
            } else {
                const size_t bytes = four ? (value + 1) / 2 : value;
                const size_t have = std::min<size_t>(bytes, end - p);
                for (unsigned i = 0; i < value; ++i) {
                    const size_t at = four ? i / 2 : i;
                    if (at >= have) break;
                    put(four ? (i % 2 == 0 ? p[at] >> 4 : p[at] & 15) : p[at]);
                }
                if (have < bytes) break;
                p += bytes + (bytes & 1);  // absolute runs are padded to 16 bits
                if (p > end) break;
            }
        }
    }

    const uint8_t* FData;
    size_t FSize;
    const TLayout& FL;
    std::array<uint32_t, 256> FPalette{};
    int FPaletteSize = 0;
    TDIBImage FImage;
};

}  // namespace

TDIBImage DecodeDIB(const uint8_t* data, size_t size) {
    const TLayout layout = ReadLayout(data, size);
    const uint64_t pixelOffset = layout.PaletteOffset + layout.StoredColours * layout.EntrySize;
    if (pixelOffset > size) ReadError();
    return TDecoder(data, size, layout).Decode(static_cast<size_t>(pixelOffset), layout.StoredColours);
}

TDIBImage DecodeBitmapFile(const uint8_t* data, size_t size) {
    if (size < kFileHeaderSize) ReadError();
    if (data[0] != 'B' || data[1] != 'M') throw EDIBError();
    const uint8_t* dib = data + kFileHeaderSize;
    const size_t dibSize = size - kFileHeaderSize;
    const TLayout layout = ReadLayout(dib, dibSize);
    const uint64_t offBits = U32(data + 10);
    // The file header's pixel offset wins when it points between the end of the
    // header and the end of the file; a shorter gap means a shorter colour table.
    if (offBits >= kFileHeaderSize + layout.PaletteOffset && offBits <= size) {
        const size_t pixelOffset = static_cast<size_t>(offBits) - kFileHeaderSize;
        return TDecoder(dib, dibSize, layout)
            .Decode(pixelOffset, (pixelOffset - layout.PaletteOffset) / layout.EntrySize);
    }
    return DecodeDIB(dib, dibSize);
}

std::vector<uint8_t> EncodeDIB(const TDIBImage& image) {
    if (image.Width <= 0 || image.Height <= 0 || int64_t(image.Width) * image.Height > kMaxPixels ||
        image.Pixels.size() != size_t(image.Width) * image.Height)
        throw EDIBError();
    const size_t stride = (size_t(image.Width) * 24 + 31) / 32 * 4;
    const size_t imageSize = stride * image.Height;
    std::vector<uint8_t> out(kInfoHeaderSize + imageSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        out[at] = uint8_t(v);
        out[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    put32(0, kInfoHeaderSize);
    put32(4, uint32_t(image.Width));
    put32(8, uint32_t(image.Height));
    put16(12, 1);
    put16(14, 24);
    put32(16, kRGB);
    put32(20, uint32_t(imageSize));
    for (int row = 0; row < image.Height; ++row) {
        uint8_t* q = out.data() + kInfoHeaderSize + size_t(row) * stride;
        const uint32_t* src = image.Pixels.data() + size_t(image.Height - 1 - row) * image.Width;
        for (int x = 0; x < image.Width; ++x, q += 3) {
            q[0] = uint8_t(src[x]);
            q[1] = uint8_t(src[x] >> 8);
            q[2] = uint8_t(src[x] >> 16);
        }
    }
    return out;
}

}  // namespace quillon
