#include <gtest/gtest.h>

#include <cstring>

#include "engine/resources/RsrcBlock.h"

TEST(RsrcBlock, CarriesTypeAndIdBesideItsBytes)
{
    CRsrcBlock empty;
    EXPECT_STREQ(empty.GetType(), "");
    EXPECT_EQ(empty.GetId(), -1);
    EXPECT_EQ(empty.GetSize(), 0);

    CRsrcBlock block("CBM", 123, 4);
    EXPECT_STREQ(block.GetType(), "CBM");
    EXPECT_EQ(block.GetId(), 123);
    ASSERT_EQ(block.GetSize(), 4);
    std::memcpy(block.Lock(), "abcd", 4);
    block.Unlock();

    CRsrcBlock copy(block);
    EXPECT_STREQ(copy.GetType(), "CBM");
    EXPECT_EQ(copy.GetId(), 123);
    EXPECT_EQ(std::memcmp(copy.Lock(), "abcd", 4), 0);
    copy.Unlock();
}

TEST(RsrcBlock, TypeKeepsAtMostEightCharacters)
{
    CRsrcBlock block;
    block.SetType("ABCDEFGHIJ");
    EXPECT_STREQ(block.GetType(), "ABCDEFGH");
    block.SetType("LID");
    EXPECT_STREQ(block.GetType(), "LID");
    block.SetType(nullptr);
    EXPECT_STREQ(block.GetType(), "");
}
