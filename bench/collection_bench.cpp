// Loading a large image collection file (a few MB of pictures, as at start-up) and
// uploading its pictures into RGB565 surfaces (as on every display re-initialise).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "../tests/support/TempDir.h"
#include "engine/CollectionFiles.h"
#include "engine/DXDraw.h"
#include "engine/PictureCollection.h"

namespace quillon {
namespace {

// Eight 640 x 400 pictures (about 6 MB as 24-bit bitmaps), cut like the game's art:
// ship frames, a strip of tiles, whole backgrounds.
class TLargeCollection {
public:
    TLargeCollection() : Dir("bench-collection") {
        Path = Dir.File("large.dxg");
        std::vector<TPictureItemData> items(8);
        uint32_t seed = 7;
        for (size_t i = 0; i < items.size(); ++i) {
            TPictureItemData& item = items[i];
            item.Name = "picture" + std::to_string(i);
            item.Picture = TDIBImage{640, 400, std::vector<uint32_t>(640 * 400)};
            for (uint32_t& p : item.Picture.Pixels) {
                seed = seed * 1664525 + 1013904223;
                p = seed >> 8;
            }
            item.PatternWidth = i % 3 == 0 ? 0 : 64;
            item.PatternHeight = i % 3 == 0 ? 0 : 80;
            item.SkipWidth = i % 3 == 2 ? 1 : 0;
            item.SystemMemory = i == 4;
        }
        WriteImageCollectionFile(Path, items);
    }
    testing::TTempDir Dir;
    std::string Path;
};

const TLargeCollection& Collection() {
    static TLargeCollection collection;
    return collection;
}

void BM_LoadImageCollection(benchmark::State& state) {
    const std::string& path = Collection().Path;
    for (auto _ : state) {
        TPictureCollection images;
        images.LoadFromFile(path);
        benchmark::DoNotOptimize(images.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadImageCollection)->Unit(benchmark::kMillisecond);

void BM_RestoreImageCollection(benchmark::State& state) {
    TDXDraw display;
    display.Initialize();
    TPictureCollection images;
    images.LoadFromFile(Collection().Path);
    for (auto _ : state) {
        images.Initialize(display);
        images.Restore();
        benchmark::DoNotOptimize(images.Items(0).PatternSurface(0));
    }
}
BENCHMARK(BM_RestoreImageCollection)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon
