#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"

using namespace mw;

TEST(ByteIo, ValuesRoundTripLittleEndian)
{
    ByteWriter out;
    out.u16(0x4C53);
    out.u32(0xAABBCCDD);
    out.f32(-1.5f);
    out.i32(-1);
    const auto& b = out.bytes();
    ASSERT_EQ(b.size(), 14u);
    EXPECT_EQ(b[0], 0x53); // "S" first: identifiers compare in file order
    EXPECT_EQ(b[1], 0x4C);
    EXPECT_EQ(b[2], 0xDD);
    EXPECT_EQ(b[5], 0xAA);

    ByteReader in(b);
    EXPECT_EQ(in.u16(0), 0x4C53);
    EXPECT_EQ(in.u32(2), 0xAABBCCDDu);
    EXPECT_EQ(in.f32(6), -1.5f);
    EXPECT_EQ(in.i32(10), -1);
    EXPECT_EQ(in.text(0, 2), "SL");
}

TEST(ByteIo, ReadsPastTheEndThrowInsteadOfReading)
{
    const std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5};
    ByteReader in(bytes);
    EXPECT_NO_THROW(in.u32(1));
    EXPECT_THROW(in.u32(2), TruncatedData);
    EXPECT_THROW(in.u8(5), TruncatedData);
    EXPECT_THROW(in.text(3, 3), TruncatedData);
    // Huge offsets and counts must not wrap around.
    EXPECT_THROW(in.bytes(SIZE_MAX, 2), TruncatedData);
    EXPECT_THROW(in.bytes(2, SIZE_MAX), TruncatedData);
    EXPECT_TRUE(in.has(5, 0));
    EXPECT_FALSE(in.has(6, 0));
}

TEST(ByteIo, PatchesStayInsideTheImage)
{
    std::vector<std::uint8_t> image(8, 0);
    putU32(image, 4, 0x01020304);
    EXPECT_EQ(image[4], 0x04);
    EXPECT_EQ(image[7], 0x01);
    putF32(image, 0, 1.0f);
    EXPECT_EQ(ByteReader(image).f32(0), 1.0f);
    EXPECT_THROW(putU32(image, 5, 1), std::out_of_range);
    EXPECT_THROW(putU16(image, SIZE_MAX, 1), std::out_of_range);
    EXPECT_EQ(image[5], 0x03); // a refused patch writes nothing
}
