#include <gtest/gtest.h>

#include "core/common/RecordFields.h"
#include "core/common/ShiftJis.h"

namespace pb {
namespace {

TEST(ShiftJis, RoundTripsTextsWhoseSecondByteIsBackslash) {
    struct Case {
        const char* utf8;
        const char* sjis;
    };
    const Case cases[] = {
        {"ソ", "\x83\x5C"},
        {"表", "\x95\x5C"},
        {"ｴﾗｰ", "\xB4\xD7\xB0"},
        {"～", "\x81\x60"},
        {"山田太郎", "\x8E\x52\x93\x63\x91\xBE\x98\x59"},
        {"001", "001"},
        {"\\12:30~", "\\12:30~"},  // ASCII as it stands, backslash and tilde too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeSjis(c.utf8), c.sjis) << c.utf8;
        const DecodedText back = DecodeSjis(c.sjis);
        EXPECT_EQ(back.text, c.utf8);
        EXPECT_FALSE(back.lossy);
    }
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii.push_back(static_cast<char>(c));
    EXPECT_EQ(DecodeSjis(ascii).text, ascii);
    EXPECT_EQ(EncodeSjis(ascii), ascii);
}

TEST(ShiftJis, UndecodableBytesBecomeReplacementAndAreFlagged) {
    const DecodedText text =
        DecodeSjis(std::string("A\x81\x20"
                               "B\xA0",
                               5));
    EXPECT_TRUE(text.lossy);
    EXPECT_NE(text.text.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(text.text.front(), 'A');
    // A lone lead byte at the end is damaged too.
    EXPECT_TRUE(DecodeSjis("\x83").lossy);
}

TEST(ShiftJis, DamagedBytesNeverSwallowTheirNeighbours) {
    const char* const bad = "\xEF\xBF\xBD";
    const struct {
        std::string sjis;
        std::string utf8;
    } cases[] = {
        // A lead byte before a byte that cannot trail it is damaged alone.
        {std::string("\x81 B"), std::string(bad) + " B"},
        {std::string("\x83"
                     "1",
                     2),
         std::string(bad) + "1"},
        {std::string("\x81\x0D\x0A", 3), std::string(bad) + "\r\n"},
        // A well-formed pair the code page lacks is one character.
        {std::string("\x85\x40"
                     "A"),
         std::string(bad) + "A"},
        {std::string("\xA0"
                     "A"),
         std::string(bad) + "A"},
        {std::string("A\x83"), "A" + std::string(bad)},
    };
    for (const auto& c : cases) {
        const DecodedText text = DecodeSjis(c.sjis);
        EXPECT_EQ(text.text, c.utf8);
        EXPECT_TRUE(text.lossy);
    }
    // Broken UTF-8 becomes one "?" and the next character survives.
    EXPECT_EQ(EncodeSjis("\xE3\x82"
                         "A"),
              "?A");
    EXPECT_EQ(EncodeSjis("\xE3"
                         "ソ"),
              "?\x83\x5C");
    EXPECT_EQ(EncodeSjis("\x80"
                         "A"),
              "?A");
    EXPECT_EQ(EncodeSjis("a😀b"), "a?b");           // outside the code page
    EXPECT_EQ(EncodeSjis("¥32,000"), "\\32,000");  // the yen sign is the byte 0x5C
}

TEST(ShiftJis, FirstUnencodableNamesTheCharacterTheCodePageLacks) {
    EXPECT_EQ(FirstUnencodable("山田😀太郎😀"), "😀");
    EXPECT_EQ(FirstUnencodable("𠮷野"), "𠮷");      // outside the BMP, four UTF-8 bytes
    EXPECT_EQ(FirstUnencodable("ｱ〜①髙﨑 ¥"), "");  // vendor rows and half-width forms fit
}

TEST(ShiftJis, CutNeverSplitsADoubleByteCharacter) {
    const std::string sjis = EncodeSjis("aソ表");  // 1 + 2 + 2 bytes
    EXPECT_EQ(CutSjis(sjis, 5), sjis);
    EXPECT_EQ(CutSjis(sjis, 4), EncodeSjis("aソ"));
    EXPECT_EQ(CutSjis(sjis, 2), "a");
    EXPECT_EQ(CutSjis(sjis, 0), "");
    EXPECT_EQ(CutSjis(EncodeSjis("ｴﾗｰ"), 2), EncodeSjis("ｴﾗ"));
    // The first and last lead bytes of both ranges start a pair; the bytes
    // just outside them stand alone.
    for (const unsigned char lead : {0x81, 0x9F, 0xE0, 0xFC}) {
        const std::string pair{'a', static_cast<char>(lead), '\x40'};
        EXPECT_EQ(CutSjis(pair, 2), "a") << int(lead);
        EXPECT_EQ(CutSjis(pair, 3), pair) << int(lead);
    }
    for (const unsigned char single : {0x80, 0xA0, 0xDF, 0xFD}) {
        const std::string text{'a', static_cast<char>(single), 'b'};
        EXPECT_EQ(CutSjis(text, 2), text.substr(0, 2)) << int(single);
    }
}

TEST(RecordFields, LittleEndianIntegersAndDoubles) {
    Bytes buf(16, 0xEE);
    PutInt32(buf, 0, -2);
    PutUInt16(buf, 4, 0x1234);
    PutDouble(buf, 8, 0.5);
    EXPECT_EQ(buf[0], 0xFE);
    EXPECT_EQ(buf[3], 0xFF);
    EXPECT_EQ(buf[4], 0x34);
    EXPECT_EQ(buf[5], 0x12);
    EXPECT_EQ(buf[6], 0xEE);
    EXPECT_EQ(buf[15], 0x3F);  // 0.5 = 0x3FE0000000000000
    EXPECT_EQ(buf[14], 0xE0);
    EXPECT_EQ(GetInt32(buf, 0), -2);
    EXPECT_EQ(GetUInt16(buf, 4), 0x1234);
    EXPECT_EQ(GetDouble(buf, 8), 0.5);
    EXPECT_THROW(GetInt32(buf, 14), std::out_of_range);
}

TEST(RecordFields, ShortStringsAreCutAndZeroFilled) {
    Bytes buf(21, 0xAA);
    PutShortString(buf, 0, 20, "ソフト表示ｴﾗｰのテストです");
    // ソフト表示 (10) + ｴﾗｰ (3) + の (2) + テス (4) = 19 bytes; ト would need 21.
    EXPECT_EQ(buf[0], 19);
    EXPECT_EQ(buf[20], 0);
    EXPECT_EQ(GetShortString(buf, 0, 20), "ソフト表示ｴﾗｰのテス");

    Bytes id(4, 0);
    PutShortString(id, 0, 3, "001");
    EXPECT_EQ(id, (Bytes{3, '0', '0', '1'}));

    // A length byte above the capacity is read as the capacity.
    Bytes bad{9, '0', '0', '7'};
    EXPECT_EQ(GetShortString(bad, 0, 3), "007");
}

}  // namespace
}  // namespace pb
