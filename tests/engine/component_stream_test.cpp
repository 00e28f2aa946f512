// Reading collection files at the level of the component stream: the container,
// every value tag, colour identifiers, item order values and every read error.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "CollectionFixtures.h"
#include "engine/Colors.h"
#include "engine/ComponentStream.h"
#include "engine/PictureCollection.h"
#include "engine/WaveCollection.h"

namespace quillon {
namespace {

using testing::ImageFile;
using TItemWriter = std::function<void(TComponentWriter&)>;

TItemWriter Prop(const std::string& name, const std::function<void(TComponentWriter&)>& value) {
    return [=](TComponentWriter& w) {
        w.WritePropName(name);
        value(w);
    };
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
    TPictureCollection images;
    try {
        images.LoadFromMemory(bytes.data(), bytes.size());
    } catch (const EEngineError& e) {
        return e.what();
    }
    return "";
}

TEST(ComponentStream, ReadsAFileWrittenByHand) {
    // Resource header, signature, root, one item with a name and a width, the ends.
    std::vector<uint8_t> bytes = {0xFF, 10, 0, 'D', 'X', 'G', 0, 0x30, 0x10, 0, 0, 0, 0, 'T', 'P', 'F', '0',
                                  4,    'R', 'o', 'o', 't', 0,    // class name, empty component name
                                  4,    'L', 'i', 's', 't', 14,   // "List" = collection
                                  1,                               // item starts
                                  4,    'N', 'a', 'm', 'e', 6, 2, 'a', 'b',
                                  12,   'P', 'a', 't', 't', 'e', 'r', 'n', 'W', 'i', 'd', 't', 'h', 2, 0xF6,
                                  0,                               // item ends
                                  0,                               // collection ends
                                  0,                               // root properties end
                                  0};                              // no children
    TPictureCollection images;
    images.LoadFromMemory(bytes.data(), bytes.size());
    ASSERT_EQ(images.Count(), 1);
    EXPECT_EQ(images.Items(0).Name, "ab");
    EXPECT_EQ(images.Items(0).PatternWidth, -10);
    EXPECT_TRUE(images.Items(0).Transparent);  // defaults stay
    EXPECT_FALSE(images.Items(0).HasPicture());
}

TEST(ComponentStream, EveryValueTagOfTheTable) {
    auto shortString = [](TComponentWriter& w) { w.WriteString("Short"); };
    auto longString = [](TComponentWriter& w) {
        w.WriteValueType(TValueType::LString);
        w.WriteDWord(4);
        w.WriteBytes(reinterpret_cast<const uint8_t*>("Long"), 4);
    };
    auto wideString = [](TComponentWriter& w) {  // "Щит" in UTF-16
        w.WriteValueType(TValueType::WString);
        w.WriteDWord(3);
        for (uint16_t u : {0x0429, 0x0438, 0x0442}) w.WriteWord(u);
    };
    auto utf8String = [](TComponentWriter& w) {
        w.WriteValueType(TValueType::Utf8String);
        w.WriteDWord(6);
        w.WriteBytes(reinterpret_cast<const uint8_t*>("Щит"), 6);
    };
    auto int8 = [](TComponentWriter& w) { w.WriteInteger(-5); };
    auto int16 = [](TComponentWriter& w) {
        w.WriteValueType(TValueType::Int16);
        w.WriteWord(static_cast<uint16_t>(-300));
    };
    auto int32 = [](TComponentWriter& w) {
        w.WriteValueType(TValueType::Int32);
        w.WriteDWord(70000);
    };
    auto no = [](TComponentWriter& w) { w.WriteBoolean(false); };
    auto yes = [](TComponentWriter& w) { w.WriteBoolean(true); };
    auto ident = [](TComponentWriter& w) { w.WriteIdent("clFuchsia"); };

    std::vector<uint8_t> bytes = ImageFile({
        [&](TComponentWriter& w) { Prop("Name", shortString)(w); Prop("PatternWidth", int8)(w); },
        [&](TComponentWriter& w) { Prop("Name", longString)(w); Prop("PatternWidth", int16)(w); },
        [&](TComponentWriter& w) { Prop("Name", wideString)(w); Prop("PatternWidth", int32)(w); },
        [&](TComponentWriter& w) {
            Prop("Name", utf8String)(w);
            Prop("SystemMemory", yes)(w);
            Prop("Transparent", no)(w);
            Prop("TransparentColor", ident)(w);
        },
    });
    TPictureCollection images;
    images.LoadFromMemory(bytes.data(), bytes.size());
    ASSERT_EQ(images.Count(), 4);
    EXPECT_EQ(images.Items(0).Name, "Short");
    EXPECT_EQ(images.Items(0).PatternWidth, -5);
    EXPECT_EQ(images.Items(1).Name, "Long");
    EXPECT_EQ(images.Items(1).PatternWidth, -300);
    EXPECT_EQ(images.Items(2).Name, "\xD9\xE8\xF2");
    EXPECT_EQ(images.Items(2).PatternWidth, 70000);
    EXPECT_EQ(images.Items(3).Name, "\xD9\xE8\xF2");
    EXPECT_TRUE(images.Items(3).SystemMemory);
    EXPECT_FALSE(images.Items(3).Transparent);
    EXPECT_EQ(images.Items(3).TransparentColor(), 0xFF00FFu);
}

TEST(ComponentStream, PictureClasses) {
    TDIBImage picture = testing::CoordinatePicture(5, 3);
    std::vector<uint8_t> dib = EncodeDIB(picture);
    // "TBitmap": a 32-bit size, then a whole bitmap file with its 14-byte header.
    std::vector<uint8_t> bitmapFile = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bitmapFile[2] = static_cast<uint8_t>(14 + dib.size());
    bitmapFile[10] = static_cast<uint8_t>(14 + dib[0]);
    bitmapFile.insert(bitmapFile.end(), dib.begin(), dib.end());
    std::vector<uint8_t> bitmapPayload(12 + bitmapFile.size());
    std::memcpy(bitmapPayload.data(), "\x07TBitmap", 8);
    bitmapPayload[8] = static_cast<uint8_t>(bitmapFile.size());
    std::memcpy(bitmapPayload.data() + 12, bitmapFile.data(), bitmapFile.size());
    std::vector<uint8_t> unknownPayload = {4, 'T', 'P', 'N', 'G', 1, 2, 3};

    auto pictureProp = [](const std::vector<uint8_t>& payload) {
        return Prop("Picture.Data", [=](TComponentWriter& w) { w.WriteBinary(payload); });
    };
    std::vector<uint8_t> bytes = ImageFile({pictureProp(testing::DIBPayload(dib)), pictureProp(bitmapPayload),
                                            [&](TComponentWriter& w) {
                                                pictureProp(testing::DIBPayload(dib))(w);
                                                pictureProp(unknownPayload)(w);  // replaces the picture with none
                                            }});
    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    TPictureCollection images;
    images.LoadFromStream(stream);
    ASSERT_EQ(images.Count(), 3);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(images.Items(i).HasPicture()) << i;
        EXPECT_EQ(images.Items(i).Picture()->Pixels, picture.Pixels) << i;
    }
    EXPECT_FALSE(images.Items(2).HasPicture());
}

TEST(ComponentStream, ItemOrderValuesAreReadAndIgnored) {
    TComponentWriter w;
    w.WriteRootHeader("TPictureCollectionComponent", "");
    w.WritePropName("List");
    w.WriteCollectionStart();
    const char* names[] = {"first", "second", "third"};
    int orders[] = {200, 1, 100000};  // 16-bit, 8-bit and 32-bit order values
    for (int i = 0; i < 3; ++i) {
        w.WriteInteger(orders[i]);
        w.WriteItemStart();
        w.WritePropName("Name");
        w.WriteString(names[i]);
        w.WriteListEnd();
    }
    w.WriteItemStart();  // and one without
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    std::vector<uint8_t> bytes = w.Finish();
    TPictureCollection images;
    images.LoadFromMemory(bytes.data(), bytes.size());
    ASSERT_EQ(images.Count(), 4);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(images.Items(i).Name, names[i]);
}

TEST(ComponentStream, ColourIdentifiersAndNumbers) {
    struct Case { std::function<void(TComponentWriter&)> write; uint32_t stored; uint32_t rgb; } cases[] = {
        {[](TComponentWriter& w) { w.WriteIdent("clBlack"); }, 0x000000, 0x000000},
        {[](TComponentWriter& w) { w.WriteIdent("clMaroon"); }, 0x000080, 0x000080},
        {[](TComponentWriter& w) { w.WriteIdent("clSkyBlue"); }, 0xF0CAA6, 0xF0CAA6},
        {[](TComponentWriter& w) { w.WriteIdent("clnone"); }, clNone, 0xFFFFFF},  // names ignore case
        {[](TComponentWriter& w) { w.WriteIdent("clBtnFace"); }, 0xFF00000F, 0xC0C0C0},
        {[](TComponentWriter& w) { w.WriteIdent("clBackground"); }, 0xFF000001, 0x808000},
        {[](TComponentWriter& w) { w.WriteIdent("clHotLight"); }, 0xFF00001A, 0xFF0000},
        {[](TComponentWriter& w) { w.WriteIdent("clMenuBar"); }, 0xFF00001E, 0xC0C0C0},
        {[](TComponentWriter& w) { w.WriteIdent("clInfoBk"); }, 0xFF000018, 0xE1FFFF},
        {[](TComponentWriter& w) { w.WriteInteger(0x123456); }, 0x123456, 0x123456},
        {[](TComponentWriter& w) { w.WriteInteger(-16777201); }, 0xFF00000F, 0xC0C0C0},  // a system colour as a number
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = ImageFile({Prop("TransparentColor", c.write)});
        TPictureCollection images;
        images.LoadFromMemory(bytes.data(), bytes.size());
        ASSERT_EQ(images.Count(), 1);
        EXPECT_EQ(images.Items(0).TransparentColor(), c.stored);
        EXPECT_EQ(ColorToRGB(c.stored), c.rgb) << std::hex << c.stored;
    }
    // All 30 system colour names are known and resolve through the scheme.
    const char* system[] = {"clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu",
                            "clWindow", "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText",
                            "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",
                            "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
                            "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText",
                            "clInfoBk", "clHotLight", "clGradientActiveCaption", "clGradientInactiveCaption",
                            "clMenuHighlight", "clMenuBar"};
    for (int i = 0; i < 30; ++i) {
        std::optional<uint32_t> value = IdentToColor(system[i]);
        ASSERT_TRUE(value) << system[i];
        EXPECT_EQ(*value, clSystemColor + static_cast<uint32_t>(i < 25 ? i : i + 1)) << system[i];
        EXPECT_EQ(ColorToIdent(*value), system[i]);
    }
}

TEST(ComponentStream, EveryReadErrorHasItsText) {
    std::vector<uint8_t> good = ImageFile({Prop("Name", [](TComponentWriter& w) { w.WriteString("x"); })});
    auto withTag = [](const std::string& prop, std::initializer_list<uint8_t> raw) {
        return ImageFile({[=](TComponentWriter& w) {
            w.WritePropName(prop);
            for (uint8_t b : raw) w.WriteByte(b);
        }});
    };
    auto replaced = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> b = good;
        b[at] = value;
        return b;
    };
    std::vector<uint8_t> longName(3 + 76 + 1, 'N');  // 0xFF 10 0, 76 letters, 0
    longName[0] = 0xFF;
    longName[1] = 10;
    longName[2] = 0;
    longName.back() = 0;
    std::vector<uint8_t> truncatedName = {0xFF, 10, 0, 'A', 'B'};
    std::vector<uint8_t> cutShort(good.begin(), good.end() - 1);
    std::vector<uint8_t> cutInItem(good.begin(), good.begin() + static_cast<long>(good.size()) - 6);
    size_t sig = good.size() - 1;
    while (std::memcmp(&good[sig], "TPF0", 4) != 0) --sig;

    TComponentWriter rootWriter;
    rootWriter.WriteRootHeader("TPictureCollectionComponent", "");
    rootWriter.WritePropName("Items");
    rootWriter.WriteInteger(1);
    std::vector<uint8_t> unknownRoot = rootWriter.Finish();

    TComponentWriter tableWriter;
    tableWriter.WriteRootHeader("TPictureCollectionComponent", "");
    tableWriter.WritePropName("List.ColorTable");
    tableWriter.WriteBinary(std::vector<uint8_t>(1000));
    tableWriter.WriteListEnd();
    tableWriter.WriteListEnd();
    std::vector<uint8_t> shortTable = tableWriter.Finish();

    // A 20-byte bitmap header, neither of the two kinds.
    std::vector<uint8_t> badDib(64, 0);
    badDib[0] = 20;
    std::vector<uint8_t> badHeader = ImageFile({[&](TComponentWriter& w) {
        w.WritePropName("Picture.Data");
        w.WriteBinary(testing::DIBPayload(badDib));
    }});

    struct Case { const char* what; std::vector<uint8_t> bytes; std::string error; } cases[] = {
        {"empty file", {}, "Invalid stream format"},
        {"not a resource", replaced(0, 0xFE), "Invalid stream format"},
        {"other resource type", replaced(1, 11), "Invalid stream format"},
        {"name over 75 characters", longName, "Invalid stream format"},
        {"name never ends", truncatedName, "Stream read error"},
        {"bad signature", replaced(sig + 3, '1'), "Invalid stream format"},
        {"unknown root property", unknownRoot, "Property Items does not exist"},
        {"short colour table", shortTable, "Stream read error"},
        {"unknown item property", withTag("Colour", {2, 1}), "Property Colour does not exist"},
        {"integer as a string", withTag("PatternWidth", {6, 1, '5'}), "Invalid property value"},
        {"64-bit integer", withTag("SkipWidth", {19, 1, 0, 0, 0, 0, 0, 0, 0}), "Invalid property value"},
        {"name as identifier", withTag("Name", {7, 1, 'a'}), "Invalid property value"},
        {"boolean as integer", withTag("Transparent", {2, 1}), "Invalid property value"},
        {"unknown colour name", withTag("TransparentColor", {7, 6, 'c', 'l', 'P', 'i', 'n', 'k'}),
         "Invalid property value"},
        {"picture as string", withTag("Picture.Data", {6, 0}), "Invalid property value"},
        {"unknown tag", withTag("Name", {5}), "Invalid property value"},
        {"binary past the end", withTag("Picture.Data", {10, 0xFF, 0xFF, 0, 0}), "Stream read error"},
        {"wide string past the end", withTag("Name", {18, 0xFF, 0xFF, 0xFF, 0x7F}), "Stream read error"},
        {"long string past the end", withTag("Name", {12, 0, 0, 0, 0x80}), "Stream read error"},
        {"bad bitmap header", badHeader, "DIB is invalid"},
        {"bitmap class with its size past the end", withTag("Picture.Data", {10, 12, 0, 0, 0, 7, 'T', 'B', 'i', 't',
                                                                              'm', 'a', 'p', 99, 0, 0, 0}),
         "Stream read error"},
        {"children list missing", cutShort, "Stream read error"},
        {"cut inside an item", cutInItem, "Stream read error"},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadError(c.bytes), c.error) << c.what;
    EXPECT_EQ(LoadError(good), "");
}

TEST(ComponentStream, CollectionValuesMustBeCollectionsOfLists) {
    auto rootWith = [](std::initializer_list<uint8_t> raw) {
        TComponentWriter w;
        w.WriteRootHeader("TPictureCollectionComponent", "");
        w.WritePropName("List");
        for (uint8_t b : raw) w.WriteByte(b);
        return w.Finish();
    };
    EXPECT_EQ(LoadError(rootWith({2, 0, 0, 0})), "Invalid property value");   // an integer
    EXPECT_EQ(LoadError(rootWith({14, 6, 0, 0, 0, 0})), "Invalid property value");  // an item without its list start
    EXPECT_EQ(LoadError(rootWith({14, 2, 1, 6})), "Invalid property value");  // order value, then no list
    EXPECT_EQ(LoadError(rootWith({14, 0, 0, 0})), "");
}

TEST(ComponentStream, ItemsReadBeforeAnErrorStay) {
    auto named = [](const char* name) {
        return [=](TComponentWriter& w) {
            w.WritePropName("Name");
            w.WriteString(name);
        };
    };
    std::vector<uint8_t> bytes = ImageFile({named("one"), named("two"), [](TComponentWriter& w) {
                                                w.WritePropName("Name");
                                                w.WriteString("three");
                                                w.WritePropName("Bogus");
                                                w.WriteInteger(1);
                                            }});
    TPictureCollection images;
    EXPECT_THROW(images.LoadFromMemory(bytes.data(), bytes.size()), EPropertyError);
    ASSERT_EQ(images.Count(), 3);
    EXPECT_EQ(images.Items(0).Name, "one");
    EXPECT_EQ(images.Items(1).Name, "two");
    EXPECT_EQ(images.Items(2).Name, "three");

    // Loading again empties the collection first, even when the new file is bad.
    std::vector<uint8_t> bad = {0};
    EXPECT_THROW(images.LoadFromMemory(bad.data(), bad.size()), EInvalidImage);
    EXPECT_EQ(images.Count(), 0);
}

TEST(ComponentStream, MissingFileNamesTheFileAndTheReason) {
    TPictureCollection images;
    images.Add();
    try {
        images.LoadFromFile("/nonexistent/Res1.dxg");
        FAIL() << "no error";
    } catch (const EEngineError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file \"/nonexistent/Res1.dxg\". No such file or directory");
    }
    EXPECT_EQ(images.Count(), 0);
    TWaveCollection waves;
    EXPECT_THROW(waves.LoadFromFile("/"), EFOpenError);  // a folder
}

TEST(ComponentStream, SkippingNestedListsHasALimit) {
    std::vector<uint8_t> deep(100000, 1);  // list starts without end
    TComponentReader reader(deep.data(), deep.size());
    EXPECT_THROW(reader.SkipValue(), EInvalidImage);
}

}  // namespace
}  // namespace quillon
