// Fuzz target for image collection files: reading (with bitmap decoding), uploading
// into surfaces, drawing every kind of pattern, and writing back what was read.
#include <cstddef>
#include <cstdint>

#include "engine/CollectionFiles.h"
#include "engine/DXDraw.h"
#include "engine/PictureCollection.h"

using namespace quillon;

namespace {

TDXDraw& Display() {
    static TDXDraw* display = [] {
        auto* d = new TDXDraw;
        d->Initialize();
        return d;
    }();
    return *display;
}

bool HasPixels(const TDIBImage* p) { return p && p->Width > 0 && p->Height > 0; }

// What the writer makes of the items must read back as the same items.
void CheckRoundTrip(const TPictureCollection& images) {
    std::vector<TPictureItemData> data;
    size_t pixels = 0;
    for (int i = 0; i < images.Count(); ++i) {
        const TPictureCollectionItem& item = images.Items(i);
        TPictureItemData d;
        d.Name = item.Name;
        if (HasPixels(item.Picture())) d.Picture = *item.Picture();
        pixels += d.Picture.Pixels.size();
        d.PatternWidth = item.PatternWidth;
        d.PatternHeight = item.PatternHeight;
        d.SkipWidth = item.SkipWidth;
        d.SkipHeight = item.SkipHeight;
        d.SystemMemory = item.SystemMemory;
        d.Transparent = item.Transparent;
        d.TransparentColor = item.TransparentColor();
        data.push_back(std::move(d));
    }
    if (pixels > (1u << 20)) return;
    std::vector<uint8_t> bytes = EncodeImageCollection(data);
    TPictureCollection again;
    again.LoadFromMemory(bytes.data(), bytes.size());
    if (again.Count() != images.Count()) __builtin_trap();
    for (int i = 0; i < images.Count(); ++i) {
        const TPictureCollectionItem& a = images.Items(i);
        const TPictureCollectionItem& b = again.Items(i);
        if (a.Name != b.Name || a.PatternWidth != b.PatternWidth || a.PatternHeight != b.PatternHeight ||
            a.SkipWidth != b.SkipWidth || a.SkipHeight != b.SkipHeight || a.SystemMemory != b.SystemMemory ||
            a.Transparent != b.Transparent || a.TransparentColor() != b.TransparentColor())
            __builtin_trap();
        if (HasPixels(a.Picture()) != HasPixels(b.Picture())) __builtin_trap();
        if (HasPixels(a.Picture()) &&
            (a.Picture()->Width != b.Picture()->Width || a.Picture()->Height != b.Picture()->Height ||
             a.Picture()->Pixels != b.Picture()->Pixels))
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TPictureCollection images;
    bool complete = true;
    try {
        images.LoadFromMemory(data, size);
    } catch (const EEngineError&) {
        complete = false;
    }
    images.Initialize(Display());
    images.Restore();
    TDirectDrawSurface& dest = Display().Surface();
    for (int i = 0; i < images.Count(); ++i) {
        TPictureCollectionItem& item = images.Items(i);
        int count = item.PatternCount();
        for (int k : {-1, 0, count / 2, count - 1, count}) {
            (void)item.PatternRect(k);
            item.Draw(dest, -3, 590, k);
            item.Draw(dest, 17, 23, k);
            item.DrawBlended(dest, Bounds(-5, 10, 40, 30), k, 128);
            item.DrawRotated(dest, 100, 100, 48, 40, k, 0.5, 0.25, 37);
        }
        item.SetTransparentColor(item.TransparentColor() ^ 0xFF);
    }
    if (complete) CheckRoundTrip(images);
    images.Finalize();
    return 0;
}
