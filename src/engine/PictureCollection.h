// Image collections: TPictureCollection, the ordered list of named pictures read
// from a .dxg file, and TPictureCollectionItem, one picture cut into equal patterns
// and uploaded into RGB565 surfaces that sprites and screens draw from.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/DIB.h"
#include "engine/EngineError.h"
#include "engine/Geometry.h"
#include "engine/PatternImage.h"
#include "engine/Surface.h"

namespace quillon {

class TDXDraw;
class TDXImageList;
class TPictureCollection;
class TComponentReader;

class EPictureCollectionError : public EEngineError {
public:
    using EEngineError::EEngineError;
};

struct TPictureCollectionItemPattern {
    TRect Rect;                             // inside its surface
    const TDirectDrawSurface* Surface = nullptr;  // one of the item's surfaces
};

class TPictureCollectionItem : public IPatternImage {
public:
    explicit TPictureCollectionItem(TPictureCollection& collection) : FCollection(collection) {}
    TPictureCollectionItem(const TPictureCollectionItem&) = delete;
    TPictureCollectionItem& operator=(const TPictureCollectionItem&) = delete;

    std::string Name;        // Windows-1251
    int PatternHeight = 0;   // 0 or less: the whole picture height
    int PatternWidth = 0;    // 0 or less: the whole picture width
    int SkipHeight = 0;      // gap between neighbouring patterns
    int SkipWidth = 0;
    bool SystemMemory = false;  // one surface for the whole picture
    bool Transparent = true;

    bool HasPicture() const { return FPicture.has_value(); }
    const TDIBImage* Picture() const { return FPicture ? &*FPicture : nullptr; }
    void SetPicture(std::optional<TDIBImage> picture) { FPicture = std::move(picture); }

    uint32_t TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(uint32_t color);  // re-keys the existing surfaces
    uint16_t ColorKey() const { return FColorKey; }

    bool Initialized() const { return FInitialized; }
    void SetInitialized(bool on) { FInitialized = on; }

    int Width() const override;   // effective pattern width
    int Height() const override;  // effective pattern height
    int PatternCount() const override;
    TRect PatternRect(int index) const override;
    const TDirectDrawSurface* PatternSurface(int index) const;
    const std::vector<std::unique_ptr<TDirectDrawSurface>>& Surfaces() const { return FSurfaces; }

    void Draw(TDirectDrawSurface& dest, int x, int y, int patternIndex) override;
    void DrawBlended(TDirectDrawSurface& dest, const TRect& destRect, int patternIndex, int alpha);
    void DrawRotated(TDirectDrawSurface& dest, int x, int y, int width, int height, int patternIndex,
                     double centerX, double centerY, int angle);

    void Restore();   // rebuilds surfaces and patterns from the picture
    void Finalize();  // drops patterns and surfaces, becomes uninitialised

    // Reads one property of the item from a collection file.
    void ReadProperty(TComponentReader& reader, const std::string& name);

private:
    int64_t StepAcross() const { return int64_t{Width()} + SkipWidth; }
    int64_t StepDown() const { return int64_t{Height()} + SkipHeight; }
    int64_t Columns() const;
    int64_t Rows() const;
    bool ValidPattern(int index) const;
    TDirectDrawSurface& AddSurface(const TRect& pictureRect);

    TPictureCollection& FCollection;
    std::optional<TDIBImage> FPicture;
    bool FInitialized = false;
    bool FRestored = false;  // surfaces and patterns built by the last Restore
    std::vector<TPictureCollectionItemPattern> FPatterns;
    std::vector<std::unique_ptr<TDirectDrawSurface>> FSurfaces;
    uint32_t FTransparentColor = 0;  // 0x00BBGGRR or a system colour
    uint16_t FColorKey = 0;
};

class TPictureCollection {
public:
    explicit TPictureCollection(TDXImageList* owner = nullptr) : FOwner(owner) {}
    TPictureCollection(const TPictureCollection&) = delete;
    TPictureCollection& operator=(const TPictureCollection&) = delete;

    // 256 palette entries (blue, green, red, reserved); kept with the file, not drawn with.
    std::array<uint8_t, 1024> ColorTable{};

    int Count() const { return static_cast<int>(FItems.size()); }
    TPictureCollectionItem& Items(int index) { return *FItems.at(static_cast<size_t>(index)); }
    const TPictureCollectionItem& Items(int index) const { return *FItems.at(static_cast<size_t>(index)); }
    TPictureCollectionItem& Add();
    void Clear() { FItems.clear(); }
    TPictureCollectionItem* Find(const std::string& name);

    TDXImageList* Owner() const { return FOwner; }
    TDXDraw* DXDraw() const { return FDXDraw; }
    bool DisplayInitialized() const;

    void Initialize(TDXDraw& dxdraw);  // "TPictureCollection cannot be initialized" when not ready
    void Finalize();
    void Restore();

    // Each empties the collection first; items read before an error stay.
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(std::istream& stream);
    void LoadFromMemory(const uint8_t* data, size_t size);

private:
    TDXImageList* FOwner;
    TDXDraw* FDXDraw = nullptr;
    std::vector<std::unique_ptr<TPictureCollectionItem>> FItems;
};

// The "Picture.Data" payload: a class name, then the picture ("TDIB" or "TBitmap");
// none for a class the game does not know.
std::optional<TDIBImage> ReadPictureData(const std::vector<uint8_t>& payload);

}  // namespace quillon
