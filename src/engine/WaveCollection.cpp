// Wave collections: reading .dxw files.
#include "engine/WaveCollection.h"

#include <istream>
#include <iterator>

#include "engine/ComponentStream.h"

namespace quillon {

void TWaveCollectionItem::ReadProperty(TComponentReader& reader, const std::string& name) {
    if (name == "Name") {
        Name = reader.ReadString();
    } else if (name == "Looped") {
        SetLooped(reader.ReadBoolean());
    } else if (name == "MaxPlayingCount") {
        SetMaxPlayingCount(reader.ReadInteger());
    } else if (name == "Wave.WAVE") {
        std::vector<uint8_t> image = reader.ReadBinary();
        Wave.LoadFromMemory(image.data(), image.size());
    } else {
        throw EPropertyError(name);
    }
}

TWaveCollectionItem& TWaveCollection::Add() {
    FItems.push_back(std::make_unique<TWaveCollectionItem>());
    return *FItems.back();
}

TWaveCollectionItem* TWaveCollection::Find(const std::string& name) {
    for (auto& item : FItems)
        if (item->Name == name) return item.get();
    return nullptr;
}

void TWaveCollection::LoadFromFile(const std::string& fileName) {
    Clear();
    std::vector<uint8_t> bytes = ReadWholeFile(fileName);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TWaveCollection::LoadFromStream(std::istream& stream) {
    Clear();
    std::vector<uint8_t> bytes = ReadWholeStream(stream);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TWaveCollection::LoadFromMemory(const uint8_t* data, size_t size) {
    Clear();
    TComponentReader reader(data, size);
    reader.ReadCollectionStart();
    while (!reader.EndOfList()) {
        std::string name = reader.ReadPropName();
        if (name != "List") throw EPropertyError(name);
        Clear();
        reader.ReadCollection([this] { Add(); },
                              [this, &reader](const std::string& prop) { FItems.back()->ReadProperty(reader, prop); });
    }
    reader.ReadListEnd();
}

}  // namespace quillon
