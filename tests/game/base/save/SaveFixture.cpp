#include "tests/game/base/save/SaveFixture.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/MessageBox.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace savetest {

Bytes& Bytes::Raw(std::string_view text)
{
    bytes_.append(text);
    return *this;
}

Bytes& Bytes::Zeros(size_t n)
{
    bytes_.append(n, '\0');
    return *this;
}

Bytes& Bytes::U16(uint16_t v)
{
    bytes_.push_back(static_cast<char>(v >> 8));
    bytes_.push_back(static_cast<char>(v & 0xFF));
    return *this;
}

Bytes& Bytes::U32(uint32_t v) { return U16(static_cast<uint16_t>(v >> 16)).U16(static_cast<uint16_t>(v)); }

Bytes& Bytes::U8(uint8_t v)
{
    bytes_.push_back(static_cast<char>(v));
    return *this;
}

Bytes& Bytes::U16s(std::initializer_list<int16_t> values)
{
    for (int16_t v : values)
        U16(static_cast<uint16_t>(v));
    return *this;
}

Bytes& Bytes::Double(double v, bool swapped)
{
    uint64_t raw;
    std::memcpy(&raw, &v, sizeof raw);
    if (swapped)
        raw = __builtin_bswap64(raw);
    return U32(static_cast<uint32_t>(raw >> 32)).U32(static_cast<uint32_t>(raw));
}

Bytes& Bytes::Start(std::string_view name, int32_t disc, uint16_t version)
{
    Raw("VORTQMK3").U16(version).Zeros(6).Raw(name).Zeros(32 - name.size());
    return U32(static_cast<uint32_t>(disc));
}

Bytes& Bytes::Diary(std::string_view text)
{
    return U16(1).U32(static_cast<uint32_t>(text.size())).Raw(text);
}

void RecordingHost::SaveTravel(CQM3Doc& doc)
{
    calls.push_back("save travel");
    doc.Write(travelRecord.data(), static_cast<int32_t>(travelRecord.size()));
}

void RecordingHost::LoadTravel(CQM3Doc& doc)
{
    calls.push_back("load travel");
    std::vector<uint8_t> bytes(static_cast<size_t>(travelBytes));
    doc.Read(bytes.data(), travelBytes);
}

void RecordingHost::ResetTrip()
{
    calls.push_back(loading && loading->IsLoading() ? "reset trip while loading" : "reset trip");
}

bool RecordingHost::SwitchDisc(int32_t disc)
{
    calls.push_back("disc " + std::to_string(disc));
    return discAvailable;
}

bool RecordingHost::HasModule(int16_t i) const
{
    for (int16_t m : modules)
        if (m == i)
            return true;
    return false;
}

void SaveTest::SetUp()
{
    std::string messages;
    for (int i = 0; i < 20; ++i)
        messages += "\"message " + std::to_string(i) + "\" ";
    std::string diary;
    for (int i = 0; i < 277; ++i)
        diary += i == 5 ? "\"\" " : "\"entry " + std::to_string(i) + "\" ";
    deftext::AddFolderLibrary({
        {"STR", 100, messages},
        {"STR", 90, "\"QM3DATA\" \"DISC1.MRK\" \"DISC2.MRK\" \"DISC3.MRK\""},
        {"STR", 8900, diary},
    });
    SetSaveGameHost(&host_);
    plat::GetScriptedMessageBoxes().Clear();
}

void SaveTest::TearDown() { SetSaveGameHost(nullptr); }

std::filesystem::path SaveTest::Host(const std::string& name) const { return qmtest::TempDir() / name; }

std::unique_ptr<CFileSpec> SaveTest::Spec(const std::string& name)
{
    return std::make_unique<CFileSpec>(qmtest::EnginePath(qmtest::TempDir() / name).c_str());
}

std::string SaveTest::Read(const std::filesystem::path& path) { return qmtest::ReadWholeFile(path); }

void SaveTest::Write(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> SaveTest::Boxes()
{
    std::vector<std::string> texts;
    for (const plat::MessageBoxRequest& box : plat::GetScriptedMessageBoxes().Log())
        texts.push_back(box.text);
    return texts;
}

std::unique_ptr<CQM3Doc> SaveTest::LoadFile(const std::string& name, int16_t& code)
{
    auto doc = std::make_unique<CQM3Doc>(Spec(name));
    host_.loading = doc.get();
    code = doc->Load();
    host_.loading = nullptr;
    return doc;
}

} // namespace savetest
