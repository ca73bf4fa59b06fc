#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include "engine/framework/Printer.h"
#include "engine/framework/Str.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/PrintEnv.h"
#include "platform/Color.h"
#include "platform/Dialogs.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FolderContents.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"

namespace {

// The golden pages of the sample job. After a deliberate change of what the job prints, run
// the tests once with QM_UPDATE_GOLDEN=1 to write them again, and look at them.
std::filesystem::path GoldenFolder()
{
    return qmtest::SourceDir() / "tests" / "engine" / "graphics" / "golden";
}

using qmtest::FileNamesIn;
using qmtest::FileText;

class PrintEnvTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A small printer: a letter page at 100 dots per inch.
        printer.folder = qmtest::TempDir() / "pages";
        printer.caps = plat::PrinterCaps{850, 1100, 100, 100, 0, 0, true};
        plat::SetDefaultPrinterChoice(printer);
        InstallGraphicsHooks();
        // The system colours at both ends (255 white), a ramp of the program's between.
        colors = plat::SystemPalette();
        for (size_t i = 10; i < 246; ++i)
            colors[i] = plat::Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i / 2), 0};
        source.Init(CRect(0, 0, 100, 100), &palette, false);
        // A 16 x 8 bitmap whose every pixel differs from its neighbours.
        plat::Surface& pixels = *bitmap.GetHandle();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                pixels.Row(y)[x] = static_cast<uint8_t>(10 + y * 16 + x);
    }

    // Confirms the print dialog and starts the document's first page; null when a step fails.
    CPrintEnv* StartJob(CPrinter& job, const char* document, CDrawEnv* linked)
    {
        plat::GetScriptedDialogs().QueuePrintSetup();
        auto* env = dynamic_cast<CPrintEnv*>(job.BeginJob(0, linked));
        const CStr name(document);
        if (!env || job.StartDocument(&name) != 0 || job.StartPage() != 0)
            return nullptr;
        return env;
    }

    // Prints the sample job of two pages through the printer object; false when a step fails.
    bool PrintTripLog(CPrinter& job)
    {
        CPrintEnv* env = StartJob(job, "Trip log/1", &source);
        if (!env)
            return false;
        env->BlitDib(&bitmap, bitmap.GetRect(), CRect(0, 0, 8, 16), nullptr, nullptr);
        env->BlitDib(&bitmap, bitmap.GetRect(), CRect(300, 200, 308, 216), nullptr, nullptr);
        env->SetTextColor(40);
        env->FillRect(CRect(100, 100, 150, 300));
        env->SetPen(60, 2);
        env->DrawLine(CPoint(50, 400), CPoint(560, 700));
        if (job.EndPage() != 0 || job.StartPage() != 0)
            return false;
        CRect printable;
        env->GetPrintableRect(printable);
        env->SetPen(200, 1);
        env->FrameRect(printable);
        env->BlitDib(&bitmap, CRect(0, 0, 8, 16), CRect(600, 400, 608, 416), nullptr, nullptr);
        return job.EndPage() == 0 && job.EndDocument() == 0 && job.EndJob() == 0;
    }

    void ExpectGoldenPages()
    {
        const auto folder = printer.folder;
        if (std::getenv("QM_UPDATE_GOLDEN")) {
            for (const char* page : {"Trip_log_1-001.png", "Trip_log_1-002.png"})
                std::filesystem::copy_file(folder / page, GoldenFolder() / page,
                                           std::filesystem::copy_options::overwrite_existing);
        }
        ASSERT_EQ(FileNamesIn(folder),
                  (std::vector<std::string>{"Trip_log_1-001.png", "Trip_log_1-002.png"}));
        for (const char* page : {"Trip_log_1-001.png", "Trip_log_1-002.png"}) {
            const IndexedImage made = ReadIndexedPng(folder / page);
            const IndexedImage golden = ReadIndexedPng(GoldenFolder() / page);
            EXPECT_EQ(made.width, 850);
            EXPECT_EQ(made.height, 1100);
            EXPECT_EQ(made.palette, golden.palette) << page;
            EXPECT_TRUE(made.pixels == golden.pixels) << page << " differs from its golden page";
        }
    }

    plat::PrintSetupResult printer;
    plat::ColorTable colors{};
    CPalette palette{&colors};
    COffScEnv source;
    CDibSect bitmap{CRect(0, 0, 8, 16), 8, 0};
};

TEST_F(PrintEnvTest, ThePrintDialogAsksForThePagesOfThePrintersJob)
{
    auto& dialogs = plat::GetScriptedDialogs();
    SetPrintOwnerSource([] { return plat::WindowHandle{77}; });
    for (const uint16_t count : {uint16_t{0}, uint16_t{40000}, uint16_t{12}}) {
        CPrinter job;
        job.SetToPage(count);
        dialogs.Clear();
        CPrintEnv cancelled(&job);
        ASSERT_EQ(dialogs.PrintLog().size(), 1u);
        const plat::PrintSetupRequest& asked = dialogs.PrintLog()[0];
        EXPECT_EQ(asked.kind, plat::PrintDialogKind::Print);
        EXPECT_EQ(asked.toPage, count == 12 ? 12 : 1) << count;
        EXPECT_EQ(asked.fromPage, 1);
        EXPECT_EQ(asked.minPage, 1);
        EXPECT_EQ(asked.maxPage, 32767);
        EXPECT_EQ(asked.copies, 1);
        EXPECT_FALSE(asked.pageNumbers || asked.selection || asked.printToFile);
        EXPECT_EQ(asked.owner, 77u);
        EXPECT_FALSE(asked.choice.has_value());
        EXPECT_EQ(cancelled.GetError(), -1);
        EXPECT_EQ(cancelled.GetDevice(), nullptr);
    }

    // The confirmed pages go back to the printer object and the printer is kept for the next
    // dialog.
    CPrinter job;
    plat::PrintSetupResult answer = printer;
    answer.fromPage = 2;
    answer.toPage = 5;
    dialogs.QueuePrintSetup(answer);
    auto env = CPrintEnv::Create(job, 0);
    ASSERT_NE(env, nullptr);
    EXPECT_EQ(job.GetFromPage(), 2);
    EXPECT_EQ(job.GetPageCount(), 5);
    ASSERT_TRUE(GetPrinterChoice().has_value());
    EXPECT_EQ(GetPrinterChoice()->caps, printer.caps);
    dialogs.Clear();
    EXPECT_EQ(CPrintEnv::Create(job, 0), nullptr);
    ASSERT_EQ(dialogs.PrintLog().size(), 1u);
    EXPECT_EQ(dialogs.PrintLog()[0].toPage, 5);
    ASSERT_TRUE(dialogs.PrintLog()[0].choice.has_value());
    EXPECT_EQ(dialogs.PrintLog()[0].choice->folder, printer.folder);
}

TEST_F(PrintEnvTest, ThePageIsMeasuredInPointsWithFixedMargins)
{
    struct Case {
        plat::PrinterCaps caps;
        int32_t pageWidth, pageHeight;
        int16_t left, top;
    };
    const Case cases[] = {
        {{2550, 3300, 300, 300, 0, 0, true}, 612, 792, 30, 30},
        {{850, 1100, 100, 100, 0, 0, true}, 612, 792, 92, 92},
        {{2400, 3000, 300, 600, 60, 100, false}, 576, 360, 16, 3},
        {{1000, 1000, 96, 96, 129, 200, true}, 750, 750, 0, -53},
    };
    for (const Case& c : cases) {
        plat::PrintSetupResult choice = printer;
        choice.caps = c.caps;
        plat::GetScriptedDialogs().QueuePrintSetup(choice);
        CPrinter job;
        CPrintEnv env(&job);
        ASSERT_EQ(env.GetError(), 0);
        EXPECT_EQ(env.GetKind(), kEnvPrinter);
        EXPECT_EQ(env.GetPageWidth(), c.pageWidth) << c.caps.width;
        EXPECT_EQ(env.GetPageHeight(), c.pageHeight) << c.caps.width;
        EXPECT_EQ(env.GetLeftMargin(), c.left) << c.caps.width;
        EXPECT_EQ(env.GetTopMargin(), c.top) << c.caps.width;
        EXPECT_EQ(env.GetDeviceWidth(), c.caps.width);
        EXPECT_EQ(env.GetHorzResolution(), c.caps.dpiX);
        EXPECT_EQ(env.GetVertResolution(), c.caps.dpiY);
        EXPECT_EQ(env.GetPrintableWidth(), c.pageWidth - 2 * c.left);
        EXPECT_EQ(env.GetPrintableHeight(), c.pageHeight - 2 * c.top);
        CRect printable;
        env.GetPrintableRect(printable);
        EXPECT_EQ(printable, CRect(c.top, c.left, static_cast<int16_t>(c.pageHeight - c.top),
                                   static_cast<int16_t>(c.pageWidth - c.left)));
    }

    // A page too small for a point, or too large for 16-bit points, makes no environment.
    for (const plat::PrinterCaps caps : {plat::PrinterCaps{2, 2, 300, 300, 0, 0, true},
                                         plat::PrinterCaps{16000, 16000, 10, 10, 0, 0, true}}) {
        plat::PrintSetupResult choice = printer;
        choice.caps = caps;
        plat::GetScriptedDialogs().QueuePrintSetup(choice);
        CPrinter job;
        EXPECT_EQ(CPrintEnv::Create(job, 0), nullptr) << caps.width;
    }
}

TEST_F(PrintEnvTest, LinkingSetUpAndACancelledJob)
{
    CPrinter job;
    plat::GetScriptedDialogs().QueuePrintSetup();
    CPrintEnv env(&job);
    env.SetLinkedEnv(nullptr);
    EXPECT_EQ(env.GetLinkedEnv(), &env);
    env.SetLinkedEnv(&source);
    EXPECT_EQ(env.GetLinkedEnv(), &source);
    EXPECT_EQ(env.GetKind(), kEnvPrinter);
    EXPECT_EQ(env.GetHDC(), nullptr);
    const CStr name("Kinds");
    ASSERT_TRUE(env.StartDoc(CRect(), &name));
    EXPECT_EQ(env.GetKind(), kEnvPlain);
    EXPECT_EQ(env.GetHDC(), &env.GetDevice()->Context());
    // The document prints with the source's colours, through a palette that does not own them.
    ASSERT_NE(env.GetPalette(), nullptr);
    EXPECT_EQ(env.GetPalette()->GetHandle(), &colors);
    EXPECT_FALSE(env.GetPalette()->OwnsHandle());
    EXPECT_FALSE(env.StartDoc(CRect(), &name)); // one document at a time
    EXPECT_EQ(env.GetError(), EINVAL);

    // A cancelled dialog gives the printer object no job.
    CPrinter cancelled;
    EXPECT_EQ(cancelled.BeginJob(0, &source), nullptr);
    EXPECT_EQ(cancelled.GetState(), CPrinter::kIdle);
}

TEST_F(PrintEnvTest, ATwoPageJobWritesTheGoldenPages)
{
    CPrinter job;
    ASSERT_TRUE(PrintTripLog(job));
    ExpectGoldenPages();
    EXPECT_EQ(GetPrinterChoice()->folder, printer.folder);
}

TEST_F(PrintEnvTest, APrinterThatCannotStretchPrintsTheSamePages)
{
    printer.caps.canStretch = false;
    plat::SetDefaultPrinterChoice(printer);
    CPrinter job;
    ASSERT_TRUE(PrintTripLog(job));
    ExpectGoldenPages();
}

TEST_F(PrintEnvTest, OnlyAPrinterThatCanStretchStretchesBitmaps)
{
    // The whole 16 x 8 bitmap over 32 x 16 points (44 x 22 pixels), or its top-left 32 x 16
    // points copied as they are (only the bitmap's own 16 x 8 exist).
    for (const bool canStretch : {true, false}) {
        printer.caps.canStretch = canStretch;
        plat::GetScriptedDialogs().QueuePrintSetup(printer);
        CPrinter job;
        auto env = CPrintEnv::Create(job, 0);
        ASSERT_NE(env, nullptr);
        const CStr name("Stretch");
        ASSERT_TRUE(env->StartDoc(CRect(), &name));
        ASSERT_TRUE(env->StartPage());
        env->BlitDib(&bitmap, bitmap.GetRect(), CRect(0, 0, 16, 32), nullptr, nullptr);
        const plat::Surface& page = env->GetDevice()->Page();
        EXPECT_EQ(page.At(0, 0), 10);
        EXPECT_EQ(page.At(43, 21), canStretch ? 10 + 7 * 16 + 15 : 255) << canStretch;
        EXPECT_EQ(page.At(44, 22), 255);
    }
}

TEST_F(PrintEnvTest, PrintingAgainReplacesThePages)
{
    qmtest::WriteFile(printer.folder / "Trip_log_1-001.png", "older");
    qmtest::WriteFile(printer.folder / "Trip_log_1-002.png", "older");
    CPrinter job;
    ASSERT_TRUE(PrintTripLog(job));
    ASSERT_TRUE(PrintTripLog(job));
    ExpectGoldenPages();
}

TEST_F(PrintEnvTest, APageThatCannotBeWrittenFailsItsEndAndKeepsTheOlderFile)
{
    const auto printOnePage = [this](CPrinter& job, int32_t expectedError) {
        CPrintEnv* env = StartJob(job, "Trip log/1", &source);
        ASSERT_NE(env, nullptr);
        env->SetTextColor(40);
        env->FillRect(CRect(0, 0, 792, 612));
        EXPECT_EQ(job.EndPage(), 1);
        EXPECT_EQ(env->GetError(), expectedError);
        job.EndJob();
    };

    // A folder that cannot be made (its parent is a file) fails even for the superuser.
    qmtest::WriteFile(qmtest::TempDir() / "blocker", "x");
    printer.folder = qmtest::TempDir() / "blocker" / "pages";
    plat::SetDefaultPrinterChoice(printer);
    CPrinter blocked;
    printOnePage(blocked, ENOTDIR);

    // A full disk.
    printer.folder = qmtest::TempDir() / "pages";
    SetPrinterChoice(printer);
    qmtest::WriteFile(printer.folder / "Trip_log_1-001.png", "older");
    CPrinter full;
    {
        const qmtest::FileSizeLimit limit(16);
        printOnePage(full, EFBIG);
    }
    EXPECT_EQ(FileText(printer.folder / "Trip_log_1-001.png"), "older");
    EXPECT_EQ(FileNamesIn(printer.folder), std::vector<std::string>{"Trip_log_1-001.png"});
}

TEST_F(PrintEnvTest, AJobEndedWithAPageOpenWritesThatPageOnce)
{
    CPrinter job;
    CPrintEnv* env = StartJob(job, "Open", nullptr);
    ASSERT_NE(env, nullptr);
    env->SetTextColor(7);
    env->FillRect(CRect(0, 0, 10, 10));
    EXPECT_EQ(job.EndJob(), 0);
    EXPECT_EQ(job.GetState(), CPrinter::kIdle);
    ASSERT_EQ(FileNamesIn(printer.folder), std::vector<std::string>{"Open-001.png"});
    const IndexedImage page = ReadIndexedPng(printer.folder / "Open-001.png");
    EXPECT_EQ(page.pixels[0], 7);
    EXPECT_EQ(page.pixels[20 * 850 + 20], 255);
}

} // namespace
