// quillon-data: the data inspector. Prints an image or wave collection file as JSON
// and writes one of its pictures as PNG or one of its sounds as a RIFF wave file.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "engine/ComponentStream.h"
#include "engine/Cp1251.h"
#include "engine/PictureCollection.h"
#include "engine/WaveCollection.h"
#include "platform/PngWriter.h"

namespace quillon {
namespace {

enum class TKind { Images, Waves };

const char* const kUsage =
    "usage: quillon-data info FILE\n"
    "       quillon-data png FILE INDEX OUT.png\n"
    "       quillon-data wav FILE INDEX OUT.wav\n";

// The root class names the kind; a file with another root is judged by what its
// items hold.
TKind DetectKind(const std::vector<uint8_t>& bytes) {
    TComponentReader reader(bytes.data(), bytes.size());
    std::string className = reader.ReadCollectionStart();
    if (className == "TPictureCollectionComponent") return TKind::Images;
    if (className == "TWaveCollectionComponent") return TKind::Waves;
    TKind kind = TKind::Waves;
    try {
        while (!reader.EndOfList()) {
            std::string name = reader.ReadPropName();
            if (name == "List.ColorTable") return TKind::Images;
            if (name != "List" || reader.NextValue() != TValueType::Collection) {
                reader.SkipValue();
                continue;
            }
            reader.ReadCollection([] {}, [&](const std::string& prop) {
                if (prop == "Picture.Data" || prop == "PatternWidth" || prop == "PatternHeight" ||
                    prop == "Transparent" || prop == "TransparentColor")
                    kind = TKind::Images;
                reader.SkipValue();
            });
        }
    } catch (const EEngineError&) {
        // The loader reports the fault itself.
    }
    return kind;
}

std::string JsonString(const std::string& cp1251) {
    std::string out = "\"";
    for (char ch : Cp1251ToUtf8(cp1251)) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

const char* JsonBool(bool b) { return b ? "true" : "false"; }

void PrintImages(const TPictureCollection& images) {
    std::printf("{\"kind\":\"images\",\"items\":[");
    for (int i = 0; i < images.Count(); ++i) {
        const TPictureCollectionItem& item = images.Items(i);
        const TDIBImage* picture = item.Picture();
        std::printf(
            "%s{\"name\":%s,\"pictureWidth\":%d,\"pictureHeight\":%d,\"patternWidth\":%d,\"patternHeight\":%d,"
            "\"skipWidth\":%d,\"skipHeight\":%d,\"patterns\":%d,\"transparent\":%s,\"transparentColor\":%u,"
            "\"systemMemory\":%s}",
            i ? "," : "", JsonString(item.Name).c_str(), picture ? picture->Width : 0, picture ? picture->Height : 0,
            item.Width(), item.Height(), item.SkipWidth, item.SkipHeight, item.PatternCount(),
            JsonBool(item.Transparent), static_cast<unsigned>(item.TransparentColor()), JsonBool(item.SystemMemory));
    }
    std::printf("]}\n");
}

void PrintWaves(const TWaveCollection& waves) {
    std::printf("{\"kind\":\"waves\",\"items\":[");
    for (int i = 0; i < waves.Count(); ++i) {
        const TWaveCollectionItem& item = waves.Items(i);
        std::printf(
            "%s{\"name\":%s,\"looped\":%s,\"maxPlayingCount\":%d,\"formatTag\":%d,\"channels\":%d,"
            "\"samplesPerSecond\":%d,\"bitsPerSample\":%d,\"dataBytes\":%zu}",
            i ? "," : "", JsonString(item.Name).c_str(), JsonBool(item.Looped()), item.MaxPlayingCount(),
            item.Wave.FormatTag(), item.Wave.Channels(), item.Wave.SamplesPerSecond(), item.Wave.BitsPerSample(),
            item.Wave.Data.size());
    }
    std::printf("]}\n");
}

bool ParseIndex(const char* text, int& index) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 1000000) return false;
    index = static_cast<int>(value);
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

int BadUsage(const std::string& message) {
    if (!message.empty()) std::fprintf(stderr, "quillon-data: %s\n", message.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

int Run(int argc, char** argv) {
    if (argc < 3) return BadUsage("");
    const std::string command = argv[1], fileName = argv[2];
    int index = 0;
    if (command == "info") {
        if (argc != 3) return BadUsage("info takes one file");
    } else if (command == "png" || command == "wav") {
        if (argc != 5) return BadUsage(command + " takes a file, an index and an output file");
        if (!ParseIndex(argv[3], index)) return BadUsage(std::string("bad index ") + argv[3]);
    } else {
        return BadUsage("unknown command " + command);
    }

    std::vector<uint8_t> bytes;
    TPictureCollection images;
    TWaveCollection waves;
    TKind kind;
    try {
        bytes = ReadWholeFile(fileName);
        kind = DetectKind(bytes);
        if (kind == TKind::Images)
            images.LoadFromMemory(bytes.data(), bytes.size());
        else
            waves.LoadFromMemory(bytes.data(), bytes.size());
    } catch (const EEngineError& e) {
        return Fail(e.what());
    }

    if (command == "info") {
        if (kind == TKind::Images)
            PrintImages(images);
        else
            PrintWaves(waves);
        return 0;
    }
    if (command == "png") {
        if (kind != TKind::Images) return BadUsage(fileName + " holds no pictures");
        if (index >= images.Count()) return BadUsage("no item " + std::to_string(index));
        const TDIBImage* picture = images.Items(index).Picture();
        if (!picture || picture->Width <= 0 || picture->Height <= 0) return Fail("Item has no picture");
        // The picture as the game shows it: RGB565, widened back by bit replication.
        std::vector<uint8_t> rgb(static_cast<size_t>(picture->Width) * picture->Height * 3);
        for (size_t i = 0; i < static_cast<size_t>(picture->Width) * picture->Height; ++i) {
            uint32_t p = picture->Pixels[i];
            uint16_t pixel =
                PackRGB565(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
            UnpackRGB565(pixel, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
        }
        if (!WritePngRGB(argv[4], picture->Width, picture->Height, rgb))
            return Fail(std::string("Cannot write file \"") + argv[4] + "\"");
        return 0;
    }
    if (kind != TKind::Waves) return BadUsage(fileName + " holds no sounds");
    if (index >= waves.Count()) return BadUsage("no item " + std::to_string(index));
    try {
        WriteWholeFile(argv[4], waves.Items(index).Wave.SaveToMemory());
    } catch (const EEngineError& e) {
        return Fail(e.what());
    }
    return 0;
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv) {
    try {
        return quillon::Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
