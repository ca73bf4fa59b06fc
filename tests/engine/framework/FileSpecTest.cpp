#include <gtest/gtest.h>

#include <sys/stat.h>

#include "engine/framework/EngineProfile.h"
#include "engine/framework/FileSpecs.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

class FileSpec : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = qmtest::TempDir() / "c";
        fs::create_directories(root_ / "Game" / "Data");
        fs::create_directories(qmtest::TempDir() / "e");
        plat::SetDrives(
            {{'C', root_, plat::DriveKind::Fixed}, {'E', qmtest::TempDir() / "e", plat::DriveKind::Fixed}});
    }
    fs::path root_;
};

std::string Path(const CFileSpec& spec) { return spec.GetPath() ? spec.GetPath() : "(null)"; }

TEST_F(FileSpec, SetPathJoinsRelativeTextsToTheCurrentFolder)
{
    ASSERT_TRUE(plat::SetCurrentFolder("C:\\game"));
    struct Case {
        const char* text;
        const char* path;
    };
    const Case cases[] = {
        {"data\\x.sav", "C:\\game\\data\\x.sav"},
        {"C:x", "C:x"},
        {"\\data\\x.sav", "\\data\\x.sav"},
        {"E:\\y", "E:\\y"},
        {"x", "x"},
    };
    for (const Case& c : cases) {
        CFileSpec spec(c.text);
        EXPECT_EQ(Path(spec), c.path) << c.text;
    }
    ASSERT_TRUE(plat::SetCurrentFolder("C:\\"));
    EXPECT_EQ(Path(CFileSpec("game")), "C:\\game");
    EXPECT_EQ(Path(CFileSpec("")), "(null)");
    EXPECT_EQ(Path(CFileSpec(nullptr)), "(null)");
}

TEST_F(FileSpec, StatusTellsWhetherThePathExists)
{
    qmtest::WriteFile(root_ / "Game" / "Data" / "X.SAV", "x");
    CFileSpec found("C:\\game\\data\\x.sav");
    EXPECT_EQ(found.GetError(), CFileSpec::kOk);
    CFileSpec missing("C:\\game\\data\\y.sav");
    EXPECT_EQ(missing.GetError(), CFileSpec::kMissing);
    CFileSpec folder("C:\\game");
    folder.Append("DATA");
    EXPECT_EQ(Path(folder), "C:\\game\\DATA");
    EXPECT_EQ(folder.GetError(), CFileSpec::kOk);
    folder.Append("nothing");
    EXPECT_EQ(folder.GetError(), CFileSpec::kMissing);
}

TEST_F(FileSpec, AppendAddsOneBackslash)
{
    CFileSpec a("C:\\dir\\");
    a.Append("name");
    EXPECT_EQ(Path(a), "C:\\dir\\name");
    CFileSpec b("C:\\dir");
    b.Append("name");
    EXPECT_EQ(Path(b), "C:\\dir\\name");
    b.Append(nullptr);
    EXPECT_EQ(Path(b), "C:\\dir\\name");
    CFileSpec none(nullptr);
    none.Append("name");
    EXPECT_EQ(Path(none), "\\name");
}

TEST_F(FileSpec, FileNamesAndFolders)
{
    struct Case {
        const char* path;
        const char* fileName;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\dir\\name.ext", "name.ext", "C:\\dir\\"},
        {"C:\\name.ext", "name.ext", "C:\\"},
        {"\\name.ext", "name.ext", "\\name.ext"},
        {"C:name", "C:name", "C:name"},
        {"C:\\dir\\", "", "C:\\dir\\"},
    };
    for (const Case& c : cases) {
        CFileSpec spec(c.path);
        EXPECT_STREQ(spec.GetFileName()->GetText(), c.fileName) << c.path;
        spec.RemoveFileName();
        EXPECT_EQ(Path(spec), c.folder) << c.path;
    }
    EXPECT_TRUE(CFileSpec(nullptr).GetFileName()->IsEmpty());
}

TEST_F(FileSpec, KindTests)
{
    qmtest::WriteFile(root_ / "Game" / "f.txt", "x");
    qmtest::WriteFile(root_ / "Game" / "ro.txt", "x");
    fs::permissions(root_ / "Game" / "ro.txt",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    CFileSpec file("C:\\GAME\\F.TXT"), folder("C:\\game\\data"), missing("C:\\game\\nope"),
        readOnly("C:\\game\\ro.txt");
    EXPECT_TRUE(file.Exists() && file.IsFile() && !file.IsFolder());
    EXPECT_TRUE(folder.Exists() && folder.IsFolder() && !folder.IsFile());
    EXPECT_FALSE(missing.Exists() || missing.IsFile() || missing.IsFolder());
    EXPECT_FALSE(CFileSpec("Q:\\x").Exists());
    EXPECT_FALSE(file.IsReadOnly());
    EXPECT_EQ(file.GetError(), CFileSpec::kOk);
    EXPECT_TRUE(readOnly.IsReadOnly());
    EXPECT_TRUE(missing.IsReadOnly());
    EXPECT_EQ(missing.GetError(), CFileSpec::kFailed);
}

TEST_F(FileSpec, PathTestUnderBothProfiles)
{
    qmtest::WriteFile(root_ / "Game" / "f.txt", "x");
    qmtest::WriteFile(root_ / "Game" / "locked.txt", "x");
    fs::permissions(root_ / "Game" / "locked.txt", fs::perms::none);
    const bool root = geteuid() == 0; // root opens any file
    ASSERT_TRUE(plat::SetCurrentFolder("E:\\"));
    struct Case {
        const char* path;
        bool game, launcher;
        const char* launcherPath; // the stored path afterwards (the game never changes it)
    };
    const Case cases[] = {
        {"C:\\game\\f.txt", true, true, "C:\\game\\f.txt"},
        {"C:\\game\\locked.txt", true, root, "C:\\game\\locked.txt"},
        {"C:\\game\\data", true, true, "C:\\game\\data"},
        {"C:\\game\\data\\", true, true, "C:\\game\\data"},
        {"C:\\game\\nope", false, false, "C:\\game\\nope"},
        {"C:\\game\\nope\\", false, false, "C:\\game\\nope"},
    };
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        for (const Case& c : cases) {
            CFileSpec spec(c.path);
            EXPECT_EQ(spec.Exists(), launcher ? c.launcher : c.game) << c.path << " launcher " << launcher;
            EXPECT_EQ(Path(spec), launcher ? c.launcherPath : c.path) << c.path;
            EXPECT_EQ(plat::GetCurrentFolder(), "E:\\");
        }
        CFileSpec none(nullptr);
        EXPECT_FALSE(none.Exists());
    }
}

TEST_F(FileSpec, CreateMakesFilesAndFoldersButNeverReplaces)
{
    CFileSpec file("C:\\game\\new.txt");
    file.Create(true);
    EXPECT_EQ(file.GetError(), CFileSpec::kOk);
    EXPECT_TRUE(fs::is_regular_file(root_ / "Game" / "new.txt"));
    EXPECT_EQ(fs::file_size(root_ / "Game" / "new.txt"), 0u);

    CFileSpec folder("C:\\game\\saves");
    folder.Create(false, 0x54455854, 0x43574945);
    EXPECT_EQ(folder.GetError(), CFileSpec::kOk);
    EXPECT_TRUE(fs::is_directory(root_ / "Game" / "saves"));

    // An existing path keeps both its file and the status the file spec had.
    CFileSpec later("C:\\game\\later.txt");
    later.IsReadOnly(); // not found: status 1
    qmtest::WriteFile(root_ / "Game" / "later.txt", "keep");
    later.Create(true);
    EXPECT_EQ(later.GetError(), CFileSpec::kFailed);
    EXPECT_EQ(fs::file_size(root_ / "Game" / "later.txt"), 4u);
    CFileSpec existing("C:\\game\\later.txt");
    existing.Create(true);
    EXPECT_EQ(existing.GetError(), CFileSpec::kOk);

    CFileSpec deep("C:\\game\\no\\such\\file");
    deep.Create(true);
    EXPECT_EQ(deep.GetError(), CFileSpec::kFailed);
    CFileSpec unknown("Q:\\file");
    unknown.Create(true);
    EXPECT_EQ(unknown.GetError(), CFileSpec::kFailed);
}

TEST_F(FileSpec, DeleteRenameAndMove)
{
    qmtest::WriteFile(root_ / "Game" / "a.txt", "a");
    qmtest::WriteFile(root_ / "Game" / "b.txt", "b");
    CFileSpec a("C:\\game\\a.txt");
    EXPECT_EQ(a.Rename("C:\\game\\b.txt"), CFileSpec::kFailed); // never replaces a file
    EXPECT_EQ(a.GetError(), CFileSpec::kFailed);
    EXPECT_EQ(Path(a), "C:\\game\\a.txt");
    EXPECT_EQ(a.Rename(nullptr), CFileSpec::kFailed);

    EXPECT_EQ(a.Rename("C:\\game\\c.txt"), CFileSpec::kOk);
    EXPECT_EQ(Path(a), "C:\\game\\c.txt");
    EXPECT_TRUE(fs::exists(root_ / "Game" / "c.txt"));
    EXPECT_FALSE(fs::exists(root_ / "Game" / "a.txt"));

    EXPECT_EQ(a.MoveInto(CFileSpec("C:\\game\\data")), CFileSpec::kOk);
    EXPECT_EQ(Path(a), "C:\\game\\data\\c.txt");
    EXPECT_TRUE(fs::exists(root_ / "Game" / "Data" / "c.txt"));
    // Into a folder given with its backslash, and onto another drive.
    EXPECT_EQ(a.MoveInto(CFileSpec("E:\\")), CFileSpec::kOk);
    EXPECT_EQ(Path(a), "E:\\c.txt");
    EXPECT_TRUE(fs::exists(qmtest::TempDir() / "e" / "c.txt"));
    EXPECT_EQ(a.MoveInto(CFileSpec(nullptr)), CFileSpec::kFailed);

    CFileSpec b("C:\\game\\b.txt");
    EXPECT_EQ(b.Delete(), 0);
    EXPECT_FALSE(fs::exists(root_ / "Game" / "b.txt"));
    EXPECT_EQ(b.Delete(), ENOENT);
    EXPECT_NE(CFileSpec("C:\\game\\data").Delete(), 0); // folders are not deleted
}

TEST(FileSpecDefault, NamesTheProgramFolder)
{
    CFileSpec spec;
    EXPECT_EQ(spec.GetError(), CFileSpec::kProgramFolder);
    EXPECT_STREQ(spec.GetPath(), "C:\\");
    CFileSpec copy(spec);
    EXPECT_STREQ(copy.GetPath(), "C:\\");
    EXPECT_EQ(copy.GetError(), CFileSpec::kProgramFolder);
}

const CFileFilter kFilters[] = {{"Saved games", "*.sav"}, {"All files", "*.*"}};

TEST_F(FileSpec, OpenDialogStartsFromThePathAndTakesTheChoice)
{
    plat::ScriptedDialogs& dialogs = plat::GetScriptedDialogs();
    dialogs.QueueFile("C:\\game\\other.sav");
    CFileSpec spec("C:\\game\\first.sav");
    EXPECT_EQ(spec.OpenDialog(kFilters, 2, "Open", 42), CFileSpec::kOk);
    EXPECT_EQ(Path(spec), "C:\\game\\other.sav");
    ASSERT_EQ(dialogs.FileLog().size(), 1u);
    const plat::FileDialogRequest& asked = dialogs.FileLog()[0];
    EXPECT_EQ(asked.kind, plat::FileDialogKind::Open);
    EXPECT_EQ(asked.title, "Open");
    EXPECT_EQ(asked.owner, 42u);
    EXPECT_EQ(asked.initialFolder, "C:\\game");
    EXPECT_EQ(asked.fileName, "first.sav");
    ASSERT_EQ(asked.filters.size(), 2u);
    EXPECT_EQ(asked.filters[1].description, "All files");
    EXPECT_EQ(asked.filters[1].pattern, "*.*");
    EXPECT_EQ(asked.defaultExtension, "");
    EXPECT_TRUE(asked.fileMustExist);
    EXPECT_FALSE(asked.confirmOverwrite);
}

TEST_F(FileSpec, SaveDialogAddsTheDefaultExtensionAndCancelKeepsThePath)
{
    plat::ScriptedDialogs& dialogs = plat::GetScriptedDialogs();
    dialogs.QueueFileCancel();
    dialogs.QueueFile("trip");
    CFileSpec spec("C:\\game\\first.sav");
    EXPECT_EQ(spec.SaveDialog(kFilters, 2, "Save", 0), CFileSpec::kCancelled);
    EXPECT_EQ(Path(spec), "C:\\game\\first.sav");
    EXPECT_EQ(spec.SaveDialog(kFilters, 2, "Save", 0), CFileSpec::kOk);
    EXPECT_EQ(Path(spec), "C:\\game\\trip.sav");
    const plat::FileDialogRequest& asked = dialogs.FileLog()[0];
    EXPECT_EQ(asked.kind, plat::FileDialogKind::Save);
    EXPECT_EQ(asked.defaultExtension, "sav");
    EXPECT_TRUE(asked.folderMustExist && asked.confirmOverwrite && !asked.fileMustExist);
    // With nothing queued the dialog is cancelled.
    EXPECT_EQ(spec.SaveDialog(nullptr, 0, nullptr, 0), CFileSpec::kCancelled);
    EXPECT_TRUE(dialogs.FileLog()[2].filters.empty());
}

TEST_F(FileSpec, DialogNameFieldRules)
{
    struct Case {
        const char* path; // null: a spec without a path
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\dir\\name.sav", "C:\\dir", "name.sav"},
        {"C:\\name.sav", "C:", "name.sav"},
        {"\\name.sav", "", "\\name.sav"},
        {"C:name.sav", "", "C:name.sav"},
        {nullptr, "", ""},
    };
    for (const Case& c : cases) {
        CFileSpec spec(c.path);
        spec.OpenDialog(nullptr, 0, "t", 0);
        const plat::FileDialogRequest& asked = plat::GetScriptedDialogs().FileLog().back();
        EXPECT_EQ(asked.initialFolder, c.folder) << (c.path ? c.path : "null");
        EXPECT_EQ(asked.fileName, c.name) << (c.path ? c.path : "null");
    }
    const std::string longName(300, 'n');
    CFileSpec spec(("C:\\dir\\" + longName).c_str());
    spec.OpenDialog(nullptr, 0, "t", 0);
    EXPECT_EQ(plat::GetScriptedDialogs().FileLog().back().fileName.size(), 255u);
}

} // namespace
