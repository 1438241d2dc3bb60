#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CDataInputStream.h"
#include "CDataOutputStream.h"
#include "CMemoryInputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveTestSupport.h"
#include "WideString.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes written(const std::function<void(Core::COutputStream&)>& write) {
    Core::CMemoryOutputStream out;
    write(out);
    return out.bytes();
}

TEST(DataStreamTest, VarUIntEncodingsAndTheirReadBack) {
    struct Case {
        uint32_t value;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x80, 0x01}},
        {300, {0xAC, 0x02}},
        {16383, {0xFF, 0x7F}},
        {16384, {0x80, 0x80, 0x01}},
        {(1u << 28) - 1, {0xFF, 0xFF, 0xFF, 0x7F}},
        {0xFFFFFFFFu, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(written([&](Core::COutputStream& out) { out.writeVarUInt(c.value); }), c.bytes);
        Core::CMemoryInputStream in(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(in.readVarUInt(), c.value);
        EXPECT_FALSE(in.failed());
        EXPECT_EQ(in.bytesLeft(), 0u);
    }
}

TEST(DataStreamTest, TypedWritesReadBackAsWritten) {
    const std::string longText(200, 'x');
    const std::string binaryText("a\0b\xC3\xA9\xFF", 6);
    const std::u16string wide = {u'Z', u'o', 0x00EB, 0xFFFF, 0xD800, 0x0000};
    const uint32_t nanBits = 0x7FC00001u;

    Core::CMemoryOutputStream out;
    out.writeByte(0xFE);
    out.writeUInt16(0xBEEF);
    out.writeInt32(-2);
    out.writeInt32(0x7FFFFFFF);
    out.writeFloat(-0.0f);
    out.writeFloat(std::bit_cast<float>(nanBits));
    out.writeString("");
    out.writeString(longText);
    out.writeString(binaryText);
    out.writeWString(u"");
    out.writeWString(wide);

    Core::CMemoryInputStream in(out.bytes().data(), out.bytes().size());
    EXPECT_EQ(in.readByte(), 0xFE);
    EXPECT_EQ(in.readUInt16(), 0xBEEF);
    EXPECT_EQ(in.readInt32(), -2);
    EXPECT_EQ(in.readInt32(), 0x7FFFFFFF);
    EXPECT_EQ(std::bit_cast<uint32_t>(in.readFloat()), 0x80000000u);
    EXPECT_EQ(std::bit_cast<uint32_t>(in.readFloat()), nanBits);
    std::string text = "stale";
    in.readString(text);
    EXPECT_EQ(text, "");
    in.readString(text);
    EXPECT_EQ(text, longText);
    in.readString(text);
    EXPECT_EQ(text, binaryText);
    std::u16string wideRead = u"stale";
    in.readWString(wideRead);
    EXPECT_EQ(wideRead, u"");
    in.readWString(wideRead);
    EXPECT_EQ(wideRead, wide);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.bytesLeft(), 0u);
}

TEST(DataStreamTest, LayoutOfPrimitivesIsLittleEndianWithLengthPrefixes) {
    EXPECT_EQ(written([](Core::COutputStream& out) { out.writeInt32(0x11223344); }),
              (Bytes{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(written([](Core::COutputStream& out) { out.writeFloat(1.0f); }),
              (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(written([](Core::COutputStream& out) { out.writeString(""); }), (Bytes{0x00}));
    EXPECT_EQ(written([](Core::COutputStream& out) { out.writeWString(u""); }), (Bytes{0x00}));
    EXPECT_EQ(written([](Core::COutputStream& out) { out.writeWString(u"A\u00E9"); }),
              (Bytes{0x02, 0x41, 0x00, 0xE9, 0x00}));
    const Bytes counted = written([](Core::COutputStream& out) { out.writeString(std::string(128, 'a')); });
    ASSERT_EQ(counted.size(), 130u);
    EXPECT_EQ(counted[0], 0x80);
    EXPECT_EQ(counted[1], 0x01);
}

TEST(DataStreamTest, ReadsPastTheEndGiveZerosAndMarkTheStreamFailed) {
    const Bytes none;
    Core::CMemoryInputStream empty(none.data(), 0);
    EXPECT_EQ(empty.readInt32(), 0);
    EXPECT_TRUE(empty.failed());

    const Bytes twoBytes = {0x01, 0x02};
    Core::CMemoryInputStream shortInt(twoBytes.data(), twoBytes.size());
    shortInt.readInt32();
    EXPECT_TRUE(shortInt.failed());

    // A length prefix whose last byte is missing ends the number as if that byte were 0.
    const Bytes cutLength = {0x80};
    Core::CMemoryInputStream cut(cutLength.data(), cutLength.size());
    EXPECT_EQ(cut.readVarUInt(), 0u);
    EXPECT_TRUE(cut.failed());
}

// Each input must be refused without a large allocation or a long loop.
TEST(DataStreamTest, ImpossibleLengthsAndCountsAreRefused) {
    struct Case {
        const char* what;
        Bytes bytes;
        std::function<void(Core::CInputStream&)> read;
    };
    const std::vector<Case> cases = {
        {"six LEB128 bytes",
         {0x80, 0x80, 0x80, 0x80, 0x80, 0x01},
         [](Core::CInputStream& in) { EXPECT_EQ(in.readVarUInt(), 0u); }},
        {"fifth LEB128 byte above bit 31",
         {0xFF, 0xFF, 0xFF, 0xFF, 0x1F},
         [](Core::CInputStream& in) { EXPECT_EQ(in.readVarUInt(), 0u); }},
        {"string longer than the data",
         {0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'a', 'b'},
         [](Core::CInputStream& in) {
             std::string out;
             in.readString(out);
             EXPECT_TRUE(out.empty());
         }},
        {"string one byte too long",
         {0x03, 'a', 'b'},
         [](Core::CInputStream& in) {
             std::string out;
             in.readString(out);
             EXPECT_TRUE(out.empty());
         }},
        {"wide string longer than the data",
         {0x02, 'a', 0x00, 'b'},
         [](Core::CInputStream& in) {
             std::u16string out;
             in.readWString(out);
             EXPECT_TRUE(out.empty());
         }},
        {"count larger than the data",
         {0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00},
         [](Core::CInputStream& in) { EXPECT_EQ(in.readCount(4), 0); }},
        {"count of elements too long for the data",
         {0x03, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8},
         [](Core::CInputStream& in) { EXPECT_EQ(in.readCount(4), 0); }},
        // No writer stores a negative count: the data before it was damaged.
        {"count of -1", {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4},
         [](Core::CInputStream& in) { EXPECT_EQ(in.readCount(4), 0); }},
        {"count of -2^31", {0x00, 0x00, 0x00, 0x80, 1, 2, 3, 4},
         [](Core::CInputStream& in) { EXPECT_EQ(in.readCount(4), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Core::CMemoryInputStream in(c.bytes.data(), c.bytes.size());
        c.read(in);
        EXPECT_TRUE(in.failed());
        EXPECT_STRNE(in.failureReason(), "");
    }
}

TEST(DataStreamTest, CountsThatFitOrAreZeroAreAccepted) {
    struct Case {
        Bytes bytes;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {{0x02, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8}, 2},
        {{0x00, 0x00, 0x00, 0x00}, 0},
    };
    for (const Case& c : cases) {
        Core::CMemoryInputStream in(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(in.readCount(4), c.expected);
        EXPECT_FALSE(in.failed());
    }
}

TEST(DataStreamTest, FileStreamsWriteAndReadARealFile) {
    savetest::TempFolder folder;
    const std::string path = folder.file("stream.bin");
    {
        auto out = std::make_shared<Core::CDataOutputStream>();
        ASSERT_TRUE(out->open(path));
        out->writeInt32(3);
        out->writeString("abc");
        out->skip(2);
        out->writeWString(u"\u00E9");
        out->close();
        EXPECT_FALSE(out->failed());
    }
    EXPECT_EQ(savetest::readFileBytes(path),
              (Bytes{0x03, 0x00, 0x00, 0x00, 0x03, 'a', 'b', 'c', 0x00, 0x00, 0x01, 0xE9, 0x00}));

    // The path of 16-bit units is narrowed back to the same bytes.
    auto in = std::make_shared<Core::CDataInputStream>();
    ASSERT_TRUE(in->open(widen(path)));
    EXPECT_EQ(in->bytesLeft(), 13u);
    EXPECT_EQ(in->readInt32(), 3);
    std::string text;
    in->readString(text);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(in->skip(2), 2u);
    std::u16string wide;
    in->readWString(wide);
    EXPECT_EQ(wide, u"\u00E9");
    EXPECT_FALSE(in->failed());
    EXPECT_EQ(in->skip(10), 0u);
    in->readByte();
    EXPECT_TRUE(in->failed());
}

TEST(DataStreamTest, OnlyARegularFileOpensForReading) {
    savetest::TempFolder folder;
    Core::CDataInputStream in;
    EXPECT_FALSE(in.open(folder.file("missing.bin")));
    EXPECT_FALSE(in.open(folder.path()));
    EXPECT_EQ(in.readInt32(), 0);
    EXPECT_TRUE(in.failed());

    Core::CDataOutputStream out;
    EXPECT_FALSE(out.open(folder.file("no-such-folder/file.bin")));
}

}  // namespace
