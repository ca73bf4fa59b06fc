#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/framework/BaseObj.h"
#include "engine/resources/Registrar.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

// What the factories were asked, as (factory, kind or id) pairs.
std::vector<std::pair<char, int32_t>> g_calls;

CTObj* ReadA(int32_t kind, CRawParser*)
{
    g_calls.push_back({'a', kind});
    return nullptr;
}
CTObj* ReadB(int32_t kind, CRawParser*)
{
    g_calls.push_back({'b', kind});
    return nullptr;
}
CBaseObj* MakeA(CTObj*)
{
    g_calls.push_back({'A', 0});
    return new CBaseObj(1, 100, nullptr);
}
CBaseObj* MakeB(CTObj*)
{
    g_calls.push_back({'B', 0});
    return new CBaseObj(2, 200, nullptr);
}

class RegistrarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        g_calls.clear();
    }
    CRegistrar registrar;
};

TEST_F(RegistrarTest, FirstRegistrationOfAKindWins)
{
    CRegistrar::Register(7, MakeA, ReadA);
    CRegistrar::Register(7, MakeB, ReadB);
    CRegistrar::Register(9, MakeB, ReadB);
    EXPECT_EQ(CRegistrar::GetCount(), 2);
    EXPECT_EQ(CRegistrar::FindKind(9), 1);
    EXPECT_EQ(CRegistrar::FindKind(8), -1);

    EXPECT_EQ(CRegistrar::ReadTemplate(7, nullptr), nullptr);
    std::unique_ptr<CBaseObj> a(CRegistrar::CreateObject(7, nullptr));
    CRegistrar::ReadTemplate(9, nullptr);
    std::unique_ptr<CBaseObj> b(CRegistrar::CreateObject(9, nullptr));
    EXPECT_EQ(a->GetId(), 100);
    EXPECT_EQ(b->GetId(), 200);
    const std::vector<std::pair<char, int32_t>> expected = {{'a', 7}, {'A', 0}, {'b', 9}, {'B', 0}};
    EXPECT_EQ(g_calls, expected);
}

TEST_F(RegistrarTest, ManyKindsFindTheirOwnFactories)
{
    for (int32_t kind = 1; kind <= 64; ++kind)
        CRegistrar::Register(kind, kind % 2 ? MakeA : MakeB, kind % 2 ? ReadA : ReadB);
    for (int32_t kind = 1; kind <= 64; ++kind)
        CRegistrar::ReadTemplate(kind, nullptr);
    ASSERT_EQ(g_calls.size(), 64u);
    for (int32_t kind = 1; kind <= 64; ++kind)
        EXPECT_EQ(g_calls[static_cast<size_t>(kind - 1)], std::make_pair(kind % 2 ? 'a' : 'b', kind));
}

TEST_F(RegistrarTest, ReportsOfMissingKinds)
{
    // Nothing registered: both operations end the program.
    EXPECT_EQ(deftext::FatalReport([] { CRegistrar::ReadTemplate(3, nullptr); }),
              "Fatal Error: 21:10:\r\rFile: regstrar  Line: 146");
    EXPECT_EQ(deftext::FatalReport([] { CRegistrar::CreateObject(3, nullptr); }),
              "Fatal Error: 20:10:\r\rFile: regstrar  Line: 107");

    // Once kinds exist, reading an unknown kind gives null; making one ends the program.
    CRegistrar::Register(1, MakeA, ReadA);
    EXPECT_EQ(CRegistrar::ReadTemplate(1234, nullptr), nullptr);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(deftext::FatalReport([] { CRegistrar::CreateObject(1234, nullptr); }),
              "Fatal Error: 20:9:1,234\r\rFile: regstrar  Line: 97");
    EXPECT_EQ(deftext::FatalReport([] { CRegistrar::CreateObject(-1234567, nullptr); }),
              "Fatal Error: 20:9:-1,234,567\r\rFile: regstrar  Line: 97");
}

} // namespace
