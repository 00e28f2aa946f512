// Wave collections: TWaveCollection, the ordered list of sound effects read from a
// .dxw file, and TWaveCollectionItem, one effect with its playing settings.
// The mixer side (buffers, Play, Stop) builds on these items.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "engine/Wave.h"

namespace quillon {

class TComponentReader;

class TWaveCollectionItem {
public:
    TWaveCollectionItem() = default;
    virtual ~TWaveCollectionItem() = default;
    TWaveCollectionItem(const TWaveCollectionItem&) = delete;
    TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

    std::string Name;  // Windows-1251
    TWave Wave;
    int Frequency = 0;  // 0: the recording's own rate
    int Pan = 0;        // 0: centre
    int Volume = 0;     // 0: full volume (attenuation units)

    bool Looped() const { return FLooped; }
    void SetLooped(bool looped) { FLooped = looped; }
    int MaxPlayingCount() const { return FMaxPlayingCount; }
    // 0 means no limit; a negative count is kept as 0.
    void SetMaxPlayingCount(int count) { FMaxPlayingCount = count < 0 ? 0 : count; }

    bool Initialized() const { return FInitialized; }
    void SetInitialized(bool on) { FInitialized = on; }

    // Reads one property of the item from a collection file.
    void ReadProperty(TComponentReader& reader, const std::string& name);

private:
    bool FInitialized = false;
    bool FLooped = false;
    int FMaxPlayingCount = 0;
};

class TWaveCollection {
public:
    TWaveCollection() = default;
    TWaveCollection(const TWaveCollection&) = delete;
    TWaveCollection& operator=(const TWaveCollection&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TWaveCollectionItem& Items(int index) { return *FItems.at(static_cast<size_t>(index)); }
    const TWaveCollectionItem& Items(int index) const { return *FItems.at(static_cast<size_t>(index)); }
    TWaveCollectionItem& Add();
    void Clear() { FItems.clear(); }
    TWaveCollectionItem* Find(const std::string& name);

    // Each empties the collection first; items read before an error stay.
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(std::istream& stream);
    void LoadFromMemory(const uint8_t* data, size_t size);

private:
    std::vector<std::unique_ptr<TWaveCollectionItem>> FItems;
};

// The wave collection component: owns the collection the sound device plays from.
class TDXWaveList {
public:
    TWaveCollection& Items() { return FItems; }
    const TWaveCollection& Items() const { return FItems; }
    void LoadFromFile(const std::string& fileName) { FItems.LoadFromFile(fileName); }

private:
    TWaveCollection FItems;
};

}  // namespace quillon
