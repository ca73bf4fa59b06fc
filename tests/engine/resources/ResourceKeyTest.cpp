#include <gtest/gtest.h>

#include "engine/resources/ResourceKey.h"

TEST(ResourceKey, FileNamesAreSixDigitsAndThreeLettersOfTheType)
{
    struct Case {
        const char* type;
        int32_t id;
        bool pattern;
        const char* name;
    };
    const Case cases[] = {
        {"CBMP", 42, false, "000042.CBM"},      {"CBMP", 42, true, "000042*.CBM"},
        {"CBM", -5, false, "-00005.CBM"},       {"LI", 1, false, "000001.LI"},
        {"SND", 1234567, false, "1234567.SND"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResourceFileName(c.type, c.id, c.pattern), c.name);
}

TEST(ResourceKey, NumbersComeFromTheFirstSixCharacters)
{
    struct Case {
        const char* name;
        int32_t id;
    };
    const Case cases[] = {
        {"000123.CBM", 123}, {"000123 house.CBM", 123}, {"-00005.CBM", -5}, {"0001234.CBM", 123},
        {"12.CBM", 12},      {"readme.txt", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResourceIdFromFileName(c.name), c.id) << c.name;
}

TEST(ResourceKey, TypesThatCouldLeaveTheLibraryFolderAreRefused)
{
    for (const char* bad : {"", "..", "A/B", "A\\B", "C:", "x..y"})
        EXPECT_FALSE(IsSafeFolderType(bad)) << bad;
    EXPECT_FALSE(IsSafeFolderType(nullptr));
    for (const char* good : {"CBM", "lid", "A.B", "_X"})
        EXPECT_TRUE(IsSafeFolderType(good)) << good;
}
