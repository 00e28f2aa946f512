// The score message and its 32-letter encoding, both ways.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "save/ScoreCodec.h"

namespace quillon {
namespace {

TEST(ScoreCodec, MessageFieldsAndPadding) {
    struct Case {
        const char* what;
        TScoreEntry entry;
        std::string message;
    } cases[] = {
        {"empty name and country keep their keys", {"", 0, ""},
         "type=0|name=|score=0|key=Q|p=|add=|z=000"},
        {"negative score keeps its sign", {"Ab", -15, "XYZ"},
         "type=0|name=Ab|score=-15|key=Q|p=|add=XYZ|z=0"},
        {"already a multiple of 5: no padding", {"Ab", -15, "WXYZ"},
         "type=0|name=Ab|score=-15|key=Q|p=|add=WXYZ|z="},
        {"Windows-1251 bytes as they are", {"\xC2\xE0\xED\xFF", 10000, "\xD0\xEE\xF1\xF1\xE8\xFF"},
         "type=0|name=\xC2\xE0\xED\xFF|score=10000|key=Q|p=|add=\xD0\xEE\xF1\xF1\xE8\xFF|z=0000"},
        {"extreme score", {"a", -2147483647 - 1, ""},
         "type=0|name=a|score=-2147483648|key=Q|p=|add=|z=00"},
    };
    for (const Case& c : cases) {
        const std::string message = FormatScoreMessage(c.entry);
        EXPECT_EQ(message, c.message) << c.what;
        EXPECT_EQ(message.size() % 5, 0u) << c.what;
        EXPECT_EQ(EncodeScoreLetters(message).size(), message.size() * 8 / 5) << c.what;
    }
}

TEST(ScoreCodec, KnownEncodings) {
    struct Case {
        std::string bytes;
        std::string letters;
    } cases[] = {
        {"abcde", "NFTGG3DF"},
        {"", ""},
        {std::string(5, '\0'), "AAAAAAAA"},
        {std::string(5, '\xFF'), "99999999"},
        // One byte is 8 bits: two zero bits go in front to make 10.
        {"\xFF", "H9"},
        {"\x01", "AB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeScoreLetters(c.bytes), c.letters);
        EXPECT_EQ(DecodeScoreLetters(c.letters), c.bytes) << c.letters;
    }
}

TEST(ScoreCodec, EveryByteAndLengthRoundTrips) {
    for (std::size_t length = 0; length <= 17; ++length) {
        for (int first = 0; first < 256; ++first) {
            std::string bytes;
            for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>((first + 37 * i) & 0xFF);
            const std::string letters = EncodeScoreLetters(bytes);
            EXPECT_EQ(letters.size(), (length * 8 + 4) / 5);
            ASSERT_EQ(DecodeScoreLetters(letters), bytes) << "length " << length << " first " << first;
            if (length == 0) break;
        }
    }
}

TEST(ScoreCodec, DecodingRefusesWhatTheEncoderNeverWrites) {
    struct Case {
        const char* what;
        std::string letters;
    } cases[] = {
        {"I is not a letter of the alphabet", "NFTGG3DI"},
        {"nor O", "ONFTGG3D"},
        {"nor Z", "NFTZG3DF"},
        {"nor the digit 0", "NFTGG0DF"},
        {"lower case", "nftgg3df"},
        {"punctuation", "NFTGG-DF"},
        {"a URL escape", "NFTG%20F"},
        {"a byte above 127", "NFTGG3D\xC0"},
        {"a NUL", std::string("NFTG\0G3D", 8)},
        {"one letter holds no byte", "A"},
        {"three letters: 15 bits, 7 left over", "AAA"},
        {"six letters: 30 bits, 6 left over", "AAAAAA"},
        {"set bits where the encoder puts zeros in front", "9A"},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeScoreLetters(c.letters), std::nullopt) << c.what;
}

TEST(ScoreCodec, SubmissionAddress) {
    const TScoreEntry entry{"a", 1, ""};
    const std::string letters = EncodeScoreLetters(FormatScoreMessage(entry));
    EXPECT_EQ(ScoreSubmissionQuery(entry), "hs&prg=Quillon&inf=" + letters);
    EXPECT_EQ(ScoreSubmissionUrl("http://127.0.0.1:8080", entry),
              "http://127.0.0.1:8080/cgi/version.pl?hs&prg=Quillon&inf=" + letters);
}

}  // namespace
}  // namespace quillon
