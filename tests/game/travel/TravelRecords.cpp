#include "tests/game/travel/TravelRecords.h"

#include <gtest/gtest.h>

#include <fstream>

#include "engine/framework/Doc.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {

namespace {

std::unique_ptr<CDoc> MakeDoc(const std::filesystem::path& path)
{
    return std::make_unique<CDoc>(nullptr, nullptr, "record",
                                  std::make_unique<CFileSpec>(qmtest::EnginePath(path).c_str()));
}

} // namespace

std::string SaveBytes(const std::function<void(CDoc&)>& write)
{
    const std::filesystem::path path = qmtest::TempDir() / "saved.rec";
    auto doc = MakeDoc(path);
    EXPECT_EQ(doc->OpenForSave({}, nullptr), CDoc::kOk);
    write(*doc);
    EXPECT_EQ(doc->CommitSave(), CDoc::kOk);
    return qmtest::ReadWholeFile(path);
}

int16_t LoadBytes(const std::string& bytes, const std::function<void(CDoc&)>& read)
{
    const std::filesystem::path path = qmtest::TempDir() / "loaded.rec";
    std::ofstream(path, std::ios::binary) << bytes;
    auto doc = MakeDoc(path);
    if (doc->OpenForLoad() != CDoc::kOk)
        return doc->GetError();
    read(*doc);
    return doc->GetError();
}

} // namespace traveltest
