// Image collections: reading .dxg files, cutting pictures into patterns, uploading
// them into RGB565 surfaces and drawing patterns.
#include "engine/PictureCollection.h"

#include <algorithm>
#include <istream>
#include <iterator>

#include "engine/Blit.h"
#include "engine/Colors.h"
#include "engine/ComponentStream.h"
#include "engine/DXDraw.h"

namespace quillon {
namespace {

// Display-memory surfaces are cut into tiles of about this many pixels a side.
constexpr int64_t kTileTarget = 512;

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

bool SameText(const std::string& a, const char* b) {
    size_t n = std::char_traits<char>::length(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::optional<TDIBImage> ReadPictureData(const std::vector<uint8_t>& payload) {
    TComponentReader reader(payload.data(), payload.size());
    std::string className = reader.ReadShortString();
    if (SameText(className, "TDIB")) {
        size_t n = reader.Remaining();
        return DecodeDIB(reader.ReadBytes(n), n);
    }
    if (SameText(className, "TBitmap")) {
        size_t n = reader.ReadDWord();
        const uint8_t* bytes = reader.ReadBytes(n);
        return DecodeBitmapFile(bytes, n);
    }
    return std::nullopt;
}

// ---- TPictureCollectionItem ----

void TPictureCollectionItem::SetTransparentColor(uint32_t color) {
    FTransparentColor = color;
    FColorKey = ColorToRGB565(ColorToRGB(color));
}

int TPictureCollectionItem::Width() const {
    if (PatternWidth > 0) return PatternWidth;
    return FPicture ? FPicture->Width : 0;
}

int TPictureCollectionItem::Height() const {
    if (PatternHeight > 0) return PatternHeight;
    return FPicture ? FPicture->Height : 0;
}

int64_t TPictureCollectionItem::Columns() const {
    // A step of zero or less (a negative skip eating the pattern) gives no patterns.
    if (!FPicture || StepAcross() <= 0) return 0;
    return std::max<int64_t>(0, (FPicture->Width + int64_t{SkipWidth}) / StepAcross());
}

int64_t TPictureCollectionItem::Rows() const {
    if (!FPicture || StepDown() <= 0) return 0;
    return std::max<int64_t>(0, (FPicture->Height + int64_t{SkipHeight}) / StepDown());
}

int TPictureCollectionItem::PatternCount() const {
    if (FRestored) return static_cast<int>(FPatterns.size());
    return static_cast<int>(std::min<int64_t>(Columns() * Rows(), INT32_MAX));
}

bool TPictureCollectionItem::ValidPattern(int index) const {
    return index >= 0 && static_cast<size_t>(index) < FPatterns.size();
}

TRect TPictureCollectionItem::PatternRect(int index) const {
    if (FRestored) return ValidPattern(index) ? FPatterns[static_cast<size_t>(index)].Rect : TRect{};
    // Not uploaded yet: the pattern's place in the picture.
    if (index < 0 || index >= PatternCount()) return TRect{};
    int64_t columns = Columns();
    return Bounds(static_cast<int>(index % columns * StepAcross()), static_cast<int>(index / columns * StepDown()),
                  Width(), Height());
}

const TDirectDrawSurface* TPictureCollectionItem::PatternSurface(int index) const {
    return ValidPattern(index) ? FPatterns[static_cast<size_t>(index)].Surface : nullptr;
}

TDirectDrawSurface& TPictureCollectionItem::AddSurface(const TRect& pictureRect) {
    auto surface = std::make_unique<TDirectDrawSurface>(pictureRect.Width(), pictureRect.Height());
    for (int y = 0; y < pictureRect.Height(); ++y) {
        uint16_t* row = surface->Row(y);
        for (int x = 0; x < pictureRect.Width(); ++x) {
            uint32_t p = FPicture->At(pictureRect.Left + x, pictureRect.Top + y);
            row[x] = PackRGB565(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
        }
    }
    FSurfaces.push_back(std::move(surface));
    return *FSurfaces.back();
}

void TPictureCollectionItem::Restore() {
    if (!FPicture) return;
    if (!FInitialized) {
        if (!FCollection.DisplayInitialized()) return;
        FInitialized = true;
    }
    FPatterns.clear();
    FSurfaces.clear();
    FRestored = true;
    FColorKey = ColorToRGB565(ColorToRGB(FTransparentColor));

    const int pictureWidth = FPicture->Width, pictureHeight = FPicture->Height;
    if (pictureWidth <= 0 || pictureHeight <= 0 ||
        FPicture->Pixels.size() < static_cast<size_t>(pictureWidth) * static_cast<size_t>(pictureHeight))
        return;
    const int width = Width(), height = Height();
    const TRect whole{0, 0, pictureWidth, pictureHeight};

    if (width == pictureWidth && height == pictureHeight) {
        FPatterns.push_back({whole, &AddSurface(whole)});
        return;
    }

    const int64_t columns = Columns(), rows = Rows();
    const int64_t stepX = StepAcross(), stepY = StepDown();

    // Negative skips overlap neighbouring patterns, which tiles cannot hold: such a
    // picture stays in one surface, like a system-memory one.
    if (SystemMemory || SkipWidth < 0 || SkipHeight < 0) {
        const TDirectDrawSurface& surface = AddSurface(whole);
        FPatterns.reserve(static_cast<size_t>(columns * rows));
        for (int64_t k = 0; k < columns * rows; ++k)
            FPatterns.push_back({Bounds(static_cast<int>(k % columns * stepX), static_cast<int>(k / columns * stepY),
                                        width, height),
                                 &surface});
        return;
    }

    // Tiles are whole numbers of pattern steps so that no pattern straddles two.
    const int64_t tileWidth = std::min(stepX * CeilDiv(kTileTarget, stepX), stepX * columns);
    const int64_t tileHeight = std::min(stepY * CeilDiv(kTileTarget, stepY), stepY * rows);
    if (tileWidth <= 0 || tileHeight <= 0) return;
    const int64_t tilesAcross = CeilDiv(pictureWidth, tileWidth);
    const int64_t tilesDown = CeilDiv(pictureHeight, tileHeight);
    for (int64_t r = 0; r < tilesDown; ++r) {
        for (int64_t c = 0; c < tilesAcross; ++c) {
            int64_t left = c * tileWidth, top = r * tileHeight;
            AddSurface(Bounds(static_cast<int>(left), static_cast<int>(top),
                              static_cast<int>(std::min(tileWidth, pictureWidth - left)),
                              static_cast<int>(std::min(tileHeight, pictureHeight - top))));
        }
    }
    FPatterns.reserve(static_cast<size_t>(columns * rows));
    for (int64_t k = 0; k < columns * rows; ++k) {
        int64_t x = k % columns * stepX, y = k / columns * stepY;
        size_t tile = static_cast<size_t>(x / tileWidth + tilesAcross * (y / tileHeight));
        FPatterns.push_back({Bounds(static_cast<int>(x % tileWidth), static_cast<int>(y % tileHeight), width, height),
                             FSurfaces[tile].get()});
    }
}

void TPictureCollectionItem::Finalize() {
    FPatterns.clear();
    FSurfaces.clear();
    FRestored = false;
    FInitialized = false;
}

void TPictureCollectionItem::Draw(TDirectDrawSurface& dest, int x, int y, int patternIndex) {
    if (!FInitialized || !ValidPattern(patternIndex)) return;
    const TPictureCollectionItemPattern& p = FPatterns[static_cast<size_t>(patternIndex)];
    BlitColorKeyed(dest, x, y, *p.Surface, p.Rect, Transparent, FColorKey);
}

void TPictureCollectionItem::DrawBlended(TDirectDrawSurface& dest, const TRect& destRect, int patternIndex,
                                         int alpha) {
    if (!FInitialized || !ValidPattern(patternIndex) || alpha <= 0) return;
    const TPictureCollectionItemPattern& p = FPatterns[static_cast<size_t>(patternIndex)];
    if (destRect.Width() == 0 || destRect.Height() == 0 || p.Rect.Width() == 0 || p.Rect.Height() == 0) return;
    BlitBlended(dest, destRect, *p.Surface, p.Rect, Transparent, FColorKey, alpha);
}

void TPictureCollectionItem::DrawRotated(TDirectDrawSurface& dest, int x, int y, int width, int height,
                                         int patternIndex, double centerX, double centerY, int angle) {
    if (!FInitialized || !ValidPattern(patternIndex) || width == 0 || height == 0) return;
    const TPictureCollectionItemPattern& p = FPatterns[static_cast<size_t>(patternIndex)];
    if (p.Rect.IsEmpty()) return;
    BlitRotated(dest, x, y, width, height, *p.Surface, p.Rect, centerX, centerY, angle, Transparent, FColorKey);
}

void TPictureCollectionItem::ReadProperty(TComponentReader& reader, const std::string& name) {
    if (name == "Name")
        Name = reader.ReadString();
    else if (name == "PatternHeight")
        PatternHeight = reader.ReadInteger();
    else if (name == "PatternWidth")
        PatternWidth = reader.ReadInteger();
    else if (name == "Picture.Data")
        FPicture = ReadPictureData(reader.ReadBinary());
    else if (name == "SkipHeight")
        SkipHeight = reader.ReadInteger();
    else if (name == "SkipWidth")
        SkipWidth = reader.ReadInteger();
    else if (name == "SystemMemory")
        SystemMemory = reader.ReadBoolean();
    else if (name == "Transparent")
        Transparent = reader.ReadBoolean();
    else if (name == "TransparentColor")
        SetTransparentColor(reader.ReadColor());
    else
        throw EPropertyError(name);
}

// ---- TPictureCollection ----

TPictureCollectionItem& TPictureCollection::Add() {
    FItems.push_back(std::make_unique<TPictureCollectionItem>(*this));
    return *FItems.back();
}

TPictureCollectionItem* TPictureCollection::Find(const std::string& name) {
    for (auto& item : FItems)
        if (item->Name == name) return item.get();
    return nullptr;
}

bool TPictureCollection::DisplayInitialized() const { return FDXDraw && FDXDraw->Initialized(); }

void TPictureCollection::Initialize(TDXDraw& dxdraw) {
    Finalize();
    FDXDraw = &dxdraw;
    if (!dxdraw.Initialized()) throw EPictureCollectionError("TPictureCollection cannot be initialized");
    for (auto& item : FItems) item->SetInitialized(true);
}

void TPictureCollection::Finalize() {
    for (auto& item : FItems) item->Finalize();
    FDXDraw = nullptr;
}

void TPictureCollection::Restore() {
    for (auto& item : FItems) item->Restore();
}

void TPictureCollection::LoadFromFile(const std::string& fileName) {
    Clear();
    std::vector<uint8_t> bytes = ReadWholeFile(fileName);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TPictureCollection::LoadFromStream(std::istream& stream) {
    Clear();
    std::vector<uint8_t> bytes = ReadWholeStream(stream);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TPictureCollection::LoadFromMemory(const uint8_t* data, size_t size) {
    Clear();
    TComponentReader reader(data, size);
    reader.ReadCollectionStart();
    while (!reader.EndOfList()) {
        std::string name = reader.ReadPropName();
        if (name == "List.ColorTable") {
            std::vector<uint8_t> table = reader.ReadBinary();
            if (table.size() < ColorTable.size()) throw EReadError();
            std::copy_n(table.begin(), ColorTable.size(), ColorTable.begin());
        } else if (name == "List") {
            Clear();
            reader.ReadCollection([this] { Add(); }, [this, &reader](const std::string& prop) {
                FItems.back()->ReadProperty(reader, prop);
            });
        } else {
            throw EPropertyError(name);
        }
    }
    reader.ReadListEnd();
    if (DisplayInitialized()) {
        Initialize(*FDXDraw);
        Restore();
    }
}

}  // namespace quillon
