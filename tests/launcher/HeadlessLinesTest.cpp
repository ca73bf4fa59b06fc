#include "launcher/HeadlessLines.h"

#include <gtest/gtest.h>

namespace {

TEST(HeadlessLines, WriteEachStartAsOneLine)
{
    struct Case {
        plat::SpawnRequest request;
        const char* line;
    };
    const Case cases[] = {
        {{"/tour/./bin/../qm3", {}, "/tour/"}, R"(spawn "/tour/qm3" in "/tour")"},
        {{"/tour/qm3", {"my trip; $(x) > *", ""}, "/tour"},
         R"(spawn "/tour/qm3" "my trip; $(x) > *" "" in "/tour")"},
        {{"/tour/qm3", {"say \"hi\"\\\n\xE9"}, "/"}, R"(spawn "/tour/qm3" "say \"hi\"\\\n\xE9" in "/")"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tour::SpawnLine(c.request), c.line);
    EXPECT_EQ(tour::UrlLine("https://quillmark.example/?a=\"b\""),
              R"(url "https://quillmark.example/?a=\"b\"")");
}

} // namespace
