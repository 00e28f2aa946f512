// Writing image and wave collection files (.dxg, .dxw) from plain item data;
// the data generator makes the game's files with these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/DIB.h"

namespace quillon {

struct TPictureItemData {
    std::string Name;  // Windows-1251
    TDIBImage Picture;
    int PatternWidth = 0;
    int PatternHeight = 0;
    int SkipWidth = 0;
    int SkipHeight = 0;
    bool SystemMemory = false;
    bool Transparent = true;
    uint32_t TransparentColor = 0;  // 0x00BBGGRR
};

struct TWaveItemData {
    std::string Name;  // Windows-1251
    bool Looped = false;
    int MaxPlayingCount = 0;
    int Channels = 1;
    int SamplesPerSecond = 22050;
    int BitsPerSample = 16;
    std::vector<uint8_t> Data;  // PCM samples, little-endian
};

// The files' bytes, for writers that keep them in memory (tests, fuzz seeds).
std::vector<uint8_t> EncodeImageCollection(const std::vector<TPictureItemData>& items);
std::vector<uint8_t> EncodeWaveCollection(const std::vector<TWaveItemData>& items);

// Both raise EEngineError when the file cannot be written.
void WriteImageCollectionFile(const std::string& path, const std::vector<TPictureItemData>& items);
void WriteWaveCollectionFile(const std::string& path, const std::vector<TWaveItemData>& items);

}  // namespace quillon
