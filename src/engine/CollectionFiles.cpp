// Writing image and wave collection files: the component stream the readers take,
// with the properties in the order the game's own files have them.
#include "engine/CollectionFiles.h"

#include <cstring>

#include "engine/ComponentStream.h"
#include "engine/Wave.h"

namespace quillon {

std::vector<uint8_t> EncodeImageCollection(const std::vector<TPictureItemData>& items) {
    TComponentWriter w;
    w.WriteRootHeader("TPictureCollectionComponent", "");
    w.WritePropName("List.ColorTable");
    w.WriteBinary(std::vector<uint8_t>(1024, 0));
    w.WritePropName("List");
    w.WriteCollectionStart();
    for (const TPictureItemData& item : items) {
        w.WriteItemStart();
        w.WritePropName("Name");
        w.WriteString(item.Name);
        w.WritePropName("PatternHeight");
        w.WriteInteger(item.PatternHeight);
        w.WritePropName("PatternWidth");
        w.WriteInteger(item.PatternWidth);
        if (item.Picture.Width > 0 && item.Picture.Height > 0) {
            std::vector<uint8_t> dib = EncodeDIB(item.Picture);
            std::vector<uint8_t> payload(5 + dib.size());
            std::memcpy(payload.data(), "\x04TDIB", 5);  // the picture's class name
            std::memcpy(payload.data() + 5, dib.data(), dib.size());
            w.WritePropName("Picture.Data");
            w.WriteBinary(payload);
        }
        if (item.SkipHeight != 0) {
            w.WritePropName("SkipHeight");
            w.WriteInteger(item.SkipHeight);
        }
        if (item.SkipWidth != 0) {
            w.WritePropName("SkipWidth");
            w.WriteInteger(item.SkipWidth);
        }
        w.WritePropName("SystemMemory");
        w.WriteBoolean(item.SystemMemory);
        w.WritePropName("Transparent");
        w.WriteBoolean(item.Transparent);
        w.WritePropName("TransparentColor");
        w.WriteColor(item.TransparentColor);
        w.WriteListEnd();
    }
    w.WriteListEnd();  // the collection
    w.WriteListEnd();  // the root's properties
    w.WriteListEnd();  // the root's (no) children
    return w.Finish();
}

std::vector<uint8_t> EncodeWaveCollection(const std::vector<TWaveItemData>& items) {
    TComponentWriter w;
    w.WriteRootHeader("TWaveCollectionComponent", "");
    w.WritePropName("List");
    w.WriteCollectionStart();
    for (const TWaveItemData& item : items) {
        w.WriteItemStart();
        w.WritePropName("Name");
        w.WriteString(item.Name);
        w.WritePropName("Looped");
        w.WriteBoolean(item.Looped);
        w.WritePropName("MaxPlayingCount");
        w.WriteInteger(item.MaxPlayingCount);
        TWave wave;
        wave.SetPCMFormat(item.Channels, item.SamplesPerSecond, item.BitsPerSample);
        wave.Data = item.Data;
        w.WritePropName("Wave.WAVE");
        w.WriteBinary(wave.SaveToMemory());
        w.WriteListEnd();
    }
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    return w.Finish();
}

void WriteImageCollectionFile(const std::string& path, const std::vector<TPictureItemData>& items) {
    WriteWholeFile(path, EncodeImageCollection(items));
}

void WriteWaveCollectionFile(const std::string& path, const std::vector<TWaveItemData>& items) {
    WriteWholeFile(path, EncodeWaveCollection(items));
}

}  // namespace quillon
