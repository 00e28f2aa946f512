// Writes the fuzz targets' seed files: tiny image and wave collection files made by
// the collection writers, plus hand-made ones with the rarer value tags and chunks.
// Usage: corpus_gen DIR (writes DIR/dxg/* and DIR/dxw/*)
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/CollectionFiles.h"
#include "engine/ComponentStream.h"
#include "engine/Wave.h"
#include "save/ReplayFile.h"
#include "save/ScoreCodec.h"

using namespace quillon;

namespace {

TDIBImage Picture(int w, int h) {
    TDIBImage image{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
    for (size_t i = 0; i < image.Pixels.size(); ++i) image.Pixels[i] = static_cast<uint32_t>(i * 0x1F3D5B) & 0xFFFFFF;
    return image;
}

std::vector<uint8_t> Payload(const char* className, const std::vector<uint8_t>& body) {
    std::string name = className;
    std::vector<uint8_t> out(1 + name.size() + body.size());
    out[0] = static_cast<uint8_t>(name.size());
    std::copy(name.begin(), name.end(), out.begin() + 1);
    std::copy(body.begin(), body.end(), out.begin() + 1 + static_cast<long>(name.size()));
    return out;
}

// Every value tag, order values, an identifier colour and a bitmap-file picture.
std::vector<uint8_t> HandMadeImages() {
    TComponentWriter w;
    w.WriteRootHeader("TPictureCollectionComponent", "Images");
    w.WritePropName("List.ColorTable");
    w.WriteBinary(std::vector<uint8_t>(1024, 0x40));
    w.WritePropName("List");
    w.WriteCollectionStart();
    w.WriteValueType(TValueType::Int16);
    w.WriteWord(300);
    w.WriteItemStart();
    w.WritePropName("Name");
    w.WriteValueType(TValueType::WString);
    w.WriteDWord(2);
    w.WriteWord(0x0429);
    w.WriteWord(0x0438);
    w.WritePropName("PatternWidth");
    w.WriteValueType(TValueType::Int32);
    w.WriteDWord(2);
    w.WritePropName("SkipWidth");
    w.WriteInteger(1);
    std::vector<uint8_t> dib = EncodeDIB(Picture(5, 2));
    std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    file[2] = static_cast<uint8_t>(14 + dib.size());
    file.insert(file.end(), dib.begin(), dib.end());
    std::vector<uint8_t> sized(4);
    sized[0] = static_cast<uint8_t>(file.size());
    sized.insert(sized.end(), file.begin(), file.end());
    w.WritePropName("Picture.Data");
    w.WriteBinary(Payload("TBitmap", sized));
    w.WritePropName("TransparentColor");
    w.WriteIdent("clBtnFace");
    w.WritePropName("Transparent");
    w.WriteBoolean(true);
    w.WriteListEnd();
    w.WriteInteger(1);
    w.WriteItemStart();
    w.WritePropName("Name");
    w.WriteValueType(TValueType::Utf8String);
    w.WriteDWord(2);
    w.WriteBytes(reinterpret_cast<const uint8_t*>("\xD0\x96"), 2);
    w.WritePropName("Picture.Data");
    w.WriteBinary(Payload("TDIB", EncodeDIB(Picture(4, 4))));
    w.WritePropName("PatternHeight");
    w.WriteInteger(2);
    w.WritePropName("SystemMemory");
    w.WriteBoolean(true);
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    return w.Finish();
}

std::vector<uint8_t> Riff(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& chunks) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [id, body] : chunks) {
        out.insert(out.end(), id.begin(), id.end());
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(body.size() >> (8 * i)));
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

// The data chunk first and an odd unknown chunk between.
std::vector<uint8_t> HandMadeWaves() {
    TWave wave;
    wave.SetPCMFormat(1, 8000, 8);
    TComponentWriter w;
    w.WriteRootHeader("TWaveCollectionComponent", "");
    w.WritePropName("List");
    w.WriteCollectionStart();
    w.WriteItemStart();
    w.WritePropName("Name");
    w.WriteValueType(TValueType::LString);
    w.WriteDWord(3);
    w.WriteBytes(reinterpret_cast<const uint8_t*>("hit"), 3);
    w.WritePropName("MaxPlayingCount");
    w.WriteValueType(TValueType::Int16);
    w.WriteWord(static_cast<uint16_t>(-2));
    w.WritePropName("Wave.WAVE");
    w.WriteBinary(Riff({{"data", {1, 2, 3}}, {"odd ", {9}}, {"fmt ", wave.Format}}));
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    return w.Finish();
}

void Save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    WriteWholeFile(path.string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corpus_gen DIR\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir / "dxg");
    std::filesystem::create_directories(dir / "dxw");

    std::vector<TPictureItemData> images(3);
    images[0].Name = "ship";
    images[0].Picture = Picture(6, 2);
    images[0].PatternWidth = 2;
    images[0].PatternHeight = 2;
    images[1].Name = "strip";
    images[1].Picture = Picture(23, 3);
    images[1].PatternWidth = 3;
    images[1].SkipWidth = 1;
    images[1].Transparent = false;
    images[1].TransparentColor = 0x00FF00;
    images[2].Name = "panel";
    images[2].Picture = Picture(3, 3);
    images[2].SystemMemory = true;
    images[2].TransparentColor = 0x123456;
    Save(dir / "dxg" / "written.dxg", EncodeImageCollection(images));
    Save(dir / "dxg" / "empty.dxg", EncodeImageCollection({}));
    Save(dir / "dxg" / "handmade.dxg", HandMadeImages());

    std::vector<TWaveItemData> waves(2);
    waves[0].Name = "click";
    waves[0].Data = {0, 0, 0x10, 0, 0xF0, 0xFF};
    waves[1].Name = "engine";
    waves[1].Looped = true;
    waves[1].MaxPlayingCount = 2;
    waves[1].Channels = 2;
    waves[1].BitsPerSample = 8;
    waves[1].SamplesPerSecond = 11025;
    waves[1].Data = {1, 2, 3, 4, 5};
    Save(dir / "dxw" / "written.dxw", EncodeWaveCollection(waves));
    Save(dir / "dxw" / "handmade.dxw", HandMadeWaves());

    // Score submissions as the game sends them.
    std::filesystem::create_directories(dir / "score");
    const std::pair<const char*, TScoreEntry> scores[] = {
        {"vanya", {"\xC2\xE0\xED\xFF", 10000, "\xD0\xEE\xF1\xF1\xE8\xFF"}},
        {"empty", {"", 0, ""}},
        {"longest", {"Abcdefghijkl", -2147483647 - 1, "Abcdefghijklmnop"}},
    };
    for (const auto& [name, entry] : scores) {
        const std::string letters = EncodeScoreLetters(FormatScoreMessage(entry));
        Save(dir / "score" / name, std::vector<uint8_t>(letters.begin(), letters.end()));
    }

    // A short replay with every kind of frame change, an event before a frame and one after the last.
    std::filesystem::create_directories(dir / "replay");
    TReplay replay;
    replay.Header.GameVersion = "0.1.0";
    replay.Header.PlayerName = "\xC2\xE0\xED\xFF";
    replay.Summary.Frames = 3;
    replay.Summary.Level = 1;
    replay.Frames = {TReplayFrame{11, 11, 1.0, 5, 3, 42}, TReplayFrame{12, 16, 85.0 / 60, 0, 0, {}},
                     TReplayFrame{12, 16, 85.0 / 60, 1, 0, 7}};
    replay.Events = {TReplayEvent{0, 27, false, 0, 0, 0, 0, "", 1}, TReplayEvent{2, 0, false, 0, 0, 0, 0, "y", 3}};
    const std::string bytes = EncodeReplay(replay);
    Save(dir / "replay" / "short.qrp", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    return 0;
}
