// Reading and writing the binary component stream of collection files.
#include "engine/ComponentStream.h"

#include <iterator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/Colors.h"
#include "engine/Cp1251.h"

namespace quillon {
namespace {

constexpr size_t kMaxResourceName = 75;
constexpr int kMaxSkipDepth = 64;

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
    errno = 0;
    TFilePtr file(std::fopen(fileName.c_str(), "rb"));
    if (!file) throw EFOpenError(fileName, std::strerror(errno));
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) break;
    }
    // A folder opens but cannot be read; report it as the open failure it is.
    if (std::ferror(file.get())) throw EFOpenError(fileName, std::strerror(errno ? errno : EIO));
    return bytes;
}

void WriteWholeFile(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    errno = 0;
    TFilePtr file(std::fopen(fileName.c_str(), "wb"));
    if (!file) throw EEngineError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok) throw EEngineError("Cannot write file \"" + fileName + "\". " + std::strerror(errno ? errno : EIO));
}

// ---- reader ----

const uint8_t* TComponentReader::ReadBytes(size_t count) {
    if (count > Remaining()) throw EReadError();
    const uint8_t* p = FData + FPos;
    FPos += count;
    return p;
}

uint8_t TComponentReader::ReadByte() { return *ReadBytes(1); }

uint16_t TComponentReader::ReadWord() {
    const uint8_t* p = ReadBytes(2);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t TComponentReader::ReadDWord() {
    const uint8_t* p = ReadBytes(4);
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

std::string TComponentReader::ReadShortString() {
    size_t n = ReadByte();
    const uint8_t* p = ReadBytes(n);
    return std::string(reinterpret_cast<const char*>(p), n);
}

void TComponentReader::ReadResourceHeader() {
    if (Remaining() < 3 || FData[FPos] != 0xFF || FData[FPos + 1] != 10 || FData[FPos + 2] != 0)
        throw EInvalidImage();
    FPos += 3;
    size_t n = 0;
    while (n <= kMaxResourceName && n < Remaining() && FData[FPos + n] != 0) ++n;
    if (n >= Remaining()) throw EReadError();
    if (n > kMaxResourceName) throw EInvalidImage();
    FPos += n + 1;
    ReadBytes(6);  // memory flags and data size
}

void TComponentReader::ReadSignature() {
    const uint8_t* p = ReadBytes(4);
    if (std::memcmp(p, "TPF0", 4) != 0) throw EInvalidImage();
}

void TComponentReader::ReadRootHeader(std::string& className, std::string& componentName) {
    className = ReadShortString();
    componentName = ReadShortString();
}

bool TComponentReader::EndOfList() {
    if (Remaining() == 0) throw EReadError();
    if (FData[FPos] != 0) return false;
    ++FPos;
    return true;
}

void TComponentReader::ReadListEnd() {
    if (ReadByte() != 0) throw EInvalidImage();
}

std::string TComponentReader::ReadPropName() { return ReadShortString(); }

TValueType TComponentReader::ReadValueType() { return static_cast<TValueType>(ReadByte()); }

TValueType TComponentReader::NextValue() const {
    if (Remaining() == 0) throw EReadError();
    return static_cast<TValueType>(FData[FPos]);
}

int32_t TComponentReader::ReadInteger() {
    switch (ReadValueType()) {
        case TValueType::Int8: return static_cast<int8_t>(ReadByte());
        case TValueType::Int16: return static_cast<int16_t>(ReadWord());
        case TValueType::Int32: return static_cast<int32_t>(ReadDWord());
        default: throw EInvalidPropertyValue();
    }
}

bool TComponentReader::ReadBoolean() {
    switch (ReadValueType()) {
        case TValueType::False: return false;
        case TValueType::True: return true;
        default: throw EInvalidPropertyValue();
    }
}

std::string TComponentReader::ReadString() {
    switch (ReadValueType()) {
        case TValueType::String: return ReadShortString();
        case TValueType::LString: {
            size_t n = ReadDWord();
            const uint8_t* p = ReadBytes(n);
            return std::string(reinterpret_cast<const char*>(p), n);
        }
        case TValueType::WString: {
            size_t units = ReadDWord();
            if (units > Remaining() / 2) throw EReadError();
            const uint8_t* p = ReadBytes(units * 2);
            std::u16string wide(units, u'\0');
            for (size_t i = 0; i < units; ++i) wide[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
            return Utf16ToCp1251(wide);
        }
        case TValueType::Utf8String: {
            size_t n = ReadDWord();
            const uint8_t* p = ReadBytes(n);
            return Utf8ToCp1251(std::string_view(reinterpret_cast<const char*>(p), n));
        }
        default: throw EInvalidPropertyValue();
    }
}

std::string TComponentReader::ReadIdent() {
    if (ReadValueType() != TValueType::Ident) throw EInvalidPropertyValue();
    return ReadShortString();
}

std::vector<uint8_t> TComponentReader::ReadBinary() {
    if (ReadValueType() != TValueType::Binary) throw EInvalidPropertyValue();
    size_t n = ReadDWord();
    const uint8_t* p = ReadBytes(n);
    return std::vector<uint8_t>(p, p + n);
}

uint32_t TComponentReader::ReadColor() {
    if (NextValue() != TValueType::Ident) return static_cast<uint32_t>(ReadInteger());
    std::optional<uint32_t> color = IdentToColor(ReadIdent());
    if (!color) throw EInvalidPropertyValue();
    return *color;
}

void TComponentReader::ReadCollection(const std::function<void()>& newItem,
                                      const std::function<void(const std::string&)>& readProperty) {
    if (ReadValueType() != TValueType::Collection) throw EInvalidPropertyValue();
    while (!EndOfList()) {
        TValueType next = NextValue();
        if (next == TValueType::Int8 || next == TValueType::Int16 || next == TValueType::Int32) {
            ReadInteger();  // the item's order: the file order is what counts
        }
        if (ReadValueType() != TValueType::List) throw EInvalidPropertyValue();
        newItem();
        while (!EndOfList()) readProperty(ReadPropName());
    }
}

void TComponentReader::SkipValue() {
    // Nested lists are skipped recursively; a file nesting them this deep is no collection.
    if (FSkipDepth >= kMaxSkipDepth) throw EInvalidImage();
    ++FSkipDepth;
    struct TDepthGuard {
        int& Depth;
        ~TDepthGuard() { --Depth; }
    } guard{FSkipDepth};
    switch (NextValue()) {
        case TValueType::Null:
        case TValueType::False:
        case TValueType::True:
            ReadByte();
            return;
        case TValueType::List:
            ReadByte();
            while (!EndOfList()) SkipValue();
            return;
        case TValueType::Int8:
        case TValueType::Int16:
        case TValueType::Int32:
            ReadInteger();
            return;
        case TValueType::String:
        case TValueType::Ident:
            ReadByte();
            ReadShortString();
            return;
        case TValueType::Binary:
        case TValueType::LString:
        case TValueType::Utf8String:
            ReadByte();
            ReadBytes(ReadDWord());
            return;
        case TValueType::WString: {
            ReadByte();
            size_t units = ReadDWord();
            if (units > Remaining() / 2) throw EReadError();
            ReadBytes(units * 2);
            return;
        }
        case TValueType::Collection:
            ReadCollection([] {}, [this](const std::string&) { SkipValue(); });
            return;
    }
    throw EInvalidPropertyValue();
}

// ---- writer ----

void TComponentWriter::WriteWord(uint16_t w) {
    WriteByte(static_cast<uint8_t>(w));
    WriteByte(static_cast<uint8_t>(w >> 8));
}

void TComponentWriter::WriteDWord(uint32_t d) {
    WriteWord(static_cast<uint16_t>(d));
    WriteWord(static_cast<uint16_t>(d >> 16));
}

void TComponentWriter::WriteShortString(std::string_view s) {
    size_t n = std::min<size_t>(s.size(), 255);
    WriteByte(static_cast<uint8_t>(n));
    WriteBytes(reinterpret_cast<const uint8_t*>(s.data()), n);
}

void TComponentWriter::WriteRootHeader(const std::string& className, const std::string& componentName) {
    WriteByte(0xFF);
    WriteWord(10);
    std::string resourceName = className.substr(0, kMaxResourceName);
    for (char& c : resourceName)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    WriteBytes(reinterpret_cast<const uint8_t*>(resourceName.data()), resourceName.size());
    WriteByte(0);
    WriteWord(0x1030);  // moveable, pure, discardable
    WriteDWord(0);      // data size, filled in by Finish
    FDataStart = FBytes.size();
    WriteBytes(reinterpret_cast<const uint8_t*>("TPF0"), 4);
    WriteShortString(className);
    WriteShortString(componentName);
}

void TComponentWriter::WriteInteger(int32_t value) {
    if (value >= -128 && value <= 127) {
        WriteValueType(TValueType::Int8);
        WriteByte(static_cast<uint8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        WriteValueType(TValueType::Int16);
        WriteWord(static_cast<uint16_t>(value));
    } else {
        WriteValueType(TValueType::Int32);
        WriteDWord(static_cast<uint32_t>(value));
    }
}

void TComponentWriter::WriteBoolean(bool value) { WriteValueType(value ? TValueType::True : TValueType::False); }

void TComponentWriter::WriteString(std::string_view value) {
    if (value.size() <= 255) {
        WriteValueType(TValueType::String);
        WriteShortString(value);
    } else {
        WriteValueType(TValueType::LString);
        WriteDWord(static_cast<uint32_t>(value.size()));
        WriteBytes(reinterpret_cast<const uint8_t*>(value.data()), value.size());
    }
}

void TComponentWriter::WriteIdent(std::string_view ident) {
    WriteValueType(TValueType::Ident);
    WriteShortString(ident);
}

void TComponentWriter::WriteBinary(const std::vector<uint8_t>& bytes) {
    WriteValueType(TValueType::Binary);
    WriteDWord(static_cast<uint32_t>(bytes.size()));
    WriteBytes(bytes.data(), bytes.size());
}

void TComponentWriter::WriteColor(uint32_t color) {
    std::string_view ident = ColorToIdent(color);
    if (!ident.empty())
        WriteIdent(ident);
    else
        WriteInteger(static_cast<int32_t>(color));
}

std::vector<uint8_t> TComponentWriter::Finish() {
    if (FDataStart >= 4) {
        uint32_t size = static_cast<uint32_t>(FBytes.size() - FDataStart);
        for (int i = 0; i < 4; ++i) FBytes[FDataStart - 4 + i] = static_cast<uint8_t>(size >> (8 * i));
    }
    return std::move(FBytes);
}

std::vector<uint8_t> ReadWholeStream(std::istream& stream) {
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) throw EReadError();
    return bytes;
}

std::string TComponentReader::ReadCollectionStart() {
    ReadResourceHeader();
    ReadSignature();
    std::string className, componentName;
    ReadRootHeader(className, componentName);
    return className;
}

}  // namespace quillon
