// The binary component stream that collection files (.dxg, .dxw) are made of:
// a resource header, the "TPF0" signature, the root component and its tagged
// property values. TComponentReader reads one from memory with every read
// bounds-checked; TComponentWriter builds one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineError.h"

namespace quillon {

enum class TValueType : uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    LString = 12,
    Collection = 14,
    WString = 18,
    Utf8String = 20,
};

class EReadError : public EEngineError {
public:
    EReadError() : EEngineError("Stream read error") {}
};

class EInvalidImage : public EEngineError {
public:
    EInvalidImage() : EEngineError("Invalid stream format") {}
};

class EPropertyError : public EEngineError {
public:
    explicit EPropertyError(const std::string& name) : EEngineError("Property " + name + " does not exist") {}
};

class EInvalidPropertyValue : public EEngineError {
public:
    EInvalidPropertyValue() : EEngineError("Invalid property value") {}
};

class EFOpenError : public EEngineError {
public:
    EFOpenError(const std::string& fileName, const std::string& reason)
        : EEngineError("Cannot open file \"" + fileName + "\". " + reason) {}
};

// Reads a whole file; raises EFOpenError with the system's reason.
std::vector<uint8_t> ReadWholeFile(const std::string& fileName);
// The rest of a stream; "Stream read error" when the stream fails.
std::vector<uint8_t> ReadWholeStream(std::istream& stream);
// Writes a whole file at once; raises EEngineError when it cannot be written.
void WriteWholeFile(const std::string& fileName, const std::vector<uint8_t>& bytes);

class TComponentReader {
public:
    TComponentReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

    size_t Position() const { return FPos; }
    size_t Remaining() const { return FSize - FPos; }

    // 0xFF, 16-bit 10, a zero-terminated name of at most 75 characters, 6 more bytes.
    void ReadResourceHeader();
    void ReadSignature();  // "TPF0"
    // The root's class name and component name.
    void ReadRootHeader(std::string& className, std::string& componentName);
    // Resource header, signature and root header of a collection file; the root's class name.
    std::string ReadCollectionStart();

    // True (and the 0 byte consumed) at the end of a property or item list.
    bool EndOfList();
    void ReadListEnd();  // a 0 byte, else "Invalid stream format"
    std::string ReadPropName();

    TValueType ReadValueType();
    TValueType NextValue() const;  // the next tag, not consumed

    int32_t ReadInteger();            // tags 2, 3, 4
    bool ReadBoolean();               // tags 8, 9
    std::string ReadString();         // tags 6, 12, 18, 20, as Windows-1251
    std::string ReadIdent();          // tag 7
    std::vector<uint8_t> ReadBinary();  // tag 10
    // Tag 7 naming a colour, or an integer.
    uint32_t ReadColor();
    // Tag 14: clears, then for each item: an optional order value, a list start,
    // newItem(), then readProperty(name) until the item's 0 byte.
    void ReadCollection(const std::function<void()>& newItem,
                        const std::function<void(const std::string&)>& readProperty);
    void SkipValue();

    uint8_t ReadByte();
    uint16_t ReadWord();
    uint32_t ReadDWord();
    std::string ReadShortString();
    const uint8_t* ReadBytes(size_t count);  // a view into the data

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
    int FSkipDepth = 0;
};

class TComponentWriter {
public:
    // Resource header (named after the root class), signature and root header.
    void WriteRootHeader(const std::string& className, const std::string& componentName);

    void WritePropName(const std::string& name) { WriteShortString(name); }
    void WriteInteger(int32_t value);  // the shortest integer tag
    void WriteBoolean(bool value);
    void WriteString(std::string_view value);  // short string up to 255 bytes, else long
    void WriteIdent(std::string_view ident);
    void WriteBinary(const std::vector<uint8_t>& bytes);
    void WriteColor(uint32_t color);  // its identifier when it has one
    void WriteCollectionStart() { WriteValueType(TValueType::Collection); }
    void WriteItemStart() { WriteValueType(TValueType::List); }
    void WriteListEnd() { WriteByte(0); }

    void WriteValueType(TValueType type) { WriteByte(static_cast<uint8_t>(type)); }
    void WriteByte(uint8_t b) { FBytes.push_back(b); }
    void WriteWord(uint16_t w);
    void WriteDWord(uint32_t d);
    void WriteShortString(std::string_view s);
    void WriteBytes(const uint8_t* data, size_t size) { FBytes.insert(FBytes.end(), data, data + size); }

    // The finished stream; fills in the resource header's data size.
    std::vector<uint8_t> Finish();

private:
    std::vector<uint8_t> FBytes;
    size_t FDataStart = 0;
};

}  // namespace quillon
