#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Printer.h"
#include "engine/framework/Str.h"
#include "platform/Dialogs.h"

namespace {

using Log = std::vector<std::string>;

// A printer environment that writes down what it was asked and fails where told to.
class RecordingEnv : public CPrintJobEnv {
public:
    RecordingEnv(Log& log, int id) : log_(log), id_(id) {}
    ~RecordingEnv() override { Note("deleted"); }

    void SetLinkedEnv(CDrawEnv* env) override { Note(env ? "linked" : "linked to itself"); }
    bool EndPage() override { return Note("end page", failEndPage); }
    bool StartPage() override { return Note("start page", failStartPage); }
    bool EndDoc() override { return Note("end doc", failEndDoc); }
    bool StartDoc(const CRect& page, const CStr* name) override
    {
        return Note("start doc " + std::string(name ? name->GetText() : "(none)") + " " +
                        std::to_string(page.GetWidth()) + "x" + std::to_string(page.GetHeight()),
                    failStartDoc);
    }
    void ClearClipRgn() override { Note("clear clip"); }

    bool failEndPage = false;
    bool failStartPage = false;
    bool failEndDoc = false;
    bool failStartDoc = false;

private:
    bool Note(const std::string& what, bool fail = false)
    {
        log_.push_back(std::to_string(id_) + ": " + what + (fail ? " (fails)" : ""));
        return !fail;
    }
    Log& log_;
    int id_;
};

// Installs a factory that hands out recording environments (or none when refusing).
class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPrintEnvFactory([this](CPrinter& printer, uint8_t flag) -> std::unique_ptr<CPrintJobEnv> {
            log.push_back("create flag " + std::to_string(flag) +
                          (&printer == expectedPrinter ? "" : " (wrong)"));
            if (refuse)
                return nullptr;
            auto env = std::make_unique<RecordingEnv>(log, ++made);
            last = env.get();
            return env;
        });
    }
    void Expect(const Log& expected)
    {
        EXPECT_EQ(log, expected);
        log.clear();
    }

    Log log;
    bool refuse = false;
    int made = 0;
    RecordingEnv* last = nullptr;
    CPrinter* expectedPrinter = nullptr;
};

TEST_F(PrinterTest, AJobStepsThroughItsStates)
{
    CPrinter printer;
    expectedPrinter = &printer;
    EXPECT_EQ(printer.GetState(), CPrinter::kIdle);
    int dummy = 0;
    auto* linked = reinterpret_cast<CDrawEnv*>(&dummy);
    ASSERT_EQ(printer.BeginJob(7, linked), last);
    EXPECT_EQ(printer.GetJobFlag(), 7);
    EXPECT_EQ(printer.GetState(), CPrinter::kEnvMade);
    CStr name("Diary");
    EXPECT_EQ(printer.StartDocument(&name), 0);
    EXPECT_EQ(printer.GetState(), CPrinter::kDocStarted);
    EXPECT_EQ(printer.StartPage(), 0);
    EXPECT_EQ(printer.GetState(), CPrinter::kPageStarted);
    EXPECT_EQ(printer.EndPage(), 0);
    EXPECT_EQ(printer.GetState(), CPrinter::kDocStarted);
    EXPECT_EQ(printer.StartPage(), 0);
    EXPECT_EQ(printer.EndDocument(), 0);
    EXPECT_EQ(printer.GetState(), CPrinter::kEnvMade);
    EXPECT_EQ(printer.Finish(), 0);
    EXPECT_EQ(printer.GetState(), CPrinter::kIdle);
    EXPECT_EQ(printer.GetEnv(), nullptr);
    Expect({"create flag 7", "1: linked", "1: start doc Diary 0x0", "1: start page", "1: end page",
            "1: start page", "1: end page", "1: end doc", "1: clear clip", "1: deleted"});
}

TEST_F(PrinterTest, DestroyingWithAPageOpenEndsEverythingInOrder)
{
    {
        CPrinter printer;
        expectedPrinter = &printer;
        printer.BeginJob(0, nullptr);
        printer.StartDocument(nullptr);
        printer.StartPage();
        log.clear();
    }
    // The clip scope ends while its environment is still there.
    Expect({"1: end page", "1: end doc", "1: clear clip", "1: deleted"});
}

TEST_F(PrinterTest, EndToStopsAtTheLevelAndReportsAFailedPageEnd)
{
    struct Case {
        int startPage; // how far the job gets: 1 env, 2 document, 3 page
        int32_t level;
        bool failEndPage;
        int32_t result;
        int32_t state;
        Log log;
    };
    const Case cases[] = {
        {1, 2, false, 0, 1, {}},
        {1, 1, false, 0, 1, {}},
        {3, 2, false, 0, 2, {"1: end page"}},
        {3, 2, true, 1, 2, {"1: end page (fails)"}},
        {3, 0, true, 1, 0, {"1: end page (fails)", "1: end doc", "1: clear clip", "1: deleted"}},
        {2, 0, false, 0, 0, {"1: end doc", "1: clear clip", "1: deleted"}},
        {3, 1, false, 0, 1, {"1: end page", "1: end doc"}},
    };
    for (const auto& c : cases) {
        made = 0;
        CPrinter printer;
        expectedPrinter = &printer;
        printer.BeginJob(0, nullptr);
        last->failEndPage = c.failEndPage;
        if (c.startPage >= 2)
            printer.StartDocument(nullptr);
        if (c.startPage >= 3)
            printer.StartPage();
        log.clear();
        EXPECT_EQ(printer.EndTo(c.level), c.result) << c.startPage << " to " << c.level;
        EXPECT_EQ(printer.GetState(), c.state) << c.startPage << " to " << c.level;
        Expect(c.log);
        printer.EndJob();
        log.clear();
    }
}

TEST_F(PrinterTest, StartFailuresLeaveTheState)
{
    CPrinter printer;
    expectedPrinter = &printer;
    // Without a job nothing can start.
    EXPECT_EQ(printer.StartDocument(nullptr), 1);
    EXPECT_EQ(printer.StartPage(), 1);
    EXPECT_EQ(printer.EndTo(CPrinter::kIdle), 0);

    printer.BeginJob(0, nullptr);
    last->failStartDoc = true;
    EXPECT_EQ(printer.StartDocument(nullptr), 1);
    EXPECT_EQ(printer.GetState(), CPrinter::kEnvMade);
    last->failStartDoc = false;
    printer.StartDocument(nullptr);
    last->failStartPage = true;
    EXPECT_EQ(printer.StartPage(), 1);
    EXPECT_EQ(printer.GetState(), CPrinter::kDocStarted);
}

TEST_F(PrinterTest, BeginJobWithoutAnEnvironment)
{
    CPrinter printer;
    expectedPrinter = &printer;
    refuse = true;
    EXPECT_EQ(printer.BeginJob(3, nullptr), nullptr);
    EXPECT_EQ(printer.GetState(), CPrinter::kIdle);
    EXPECT_EQ(printer.GetJobFlag(), 3);
    SetPrintEnvFactory({});
    EXPECT_EQ(printer.BeginJob(3, nullptr), nullptr);
    Expect({"create flag 3"});
}

TEST_F(PrinterTest, BeginningAJobEndsTheOneStillOpen)
{
    CPrinter printer;
    expectedPrinter = &printer;
    printer.BeginJob(1, nullptr);
    printer.StartDocument(nullptr);
    printer.StartPage();
    log.clear();
    ASSERT_NE(printer.BeginJob(2, nullptr), nullptr);
    EXPECT_EQ(printer.GetState(), CPrinter::kEnvMade);
    Expect(
        {"1: end page", "1: end doc", "1: clear clip", "1: deleted", "create flag 2", "2: linked to itself"});
}

TEST(PrintSetup, OffersTheClampedPageRangeAndKeepsAConfirmedChoice)
{
    struct Case {
        uint16_t pageCount;
        int toPage;
    };
    auto& dialogs = plat::GetScriptedDialogs();
    for (const auto& c : {Case{0, 1}, {1, 1}, {5, 5}, {32767, 32767}, {32768, 1}, {40000, 1}}) {
        CPrinter printer;
        printer.SetToPage(c.pageCount);
        EXPECT_EQ(printer.GetPageCount(), c.pageCount);
        dialogs.Clear();
        printer.PrintSetup();
        ASSERT_EQ(dialogs.PrintLog().size(), 1u);
        const auto& asked = dialogs.PrintLog()[0];
        EXPECT_EQ(asked.toPage, c.toPage) << c.pageCount;
        EXPECT_EQ(asked.fromPage, 1);
        EXPECT_EQ(asked.minPage, 1);
        EXPECT_EQ(asked.maxPage, 32767);
        EXPECT_EQ(asked.copies, 1);
    }

    // Cancelling keeps no choice; confirming keeps it; a later cancel keeps the earlier one.
    SetPrintOwnerSource([] { return plat::WindowHandle{42}; });
    CPrinter printer;
    dialogs.Clear();
    printer.PrintSetup();
    EXPECT_FALSE(GetPrinterChoice());
    EXPECT_EQ(dialogs.PrintLog().back().owner, 42u);
    dialogs.QueuePrintSetup(plat::PrintSetupResult{1, 1, 3});
    printer.PrintSetup();
    ASSERT_TRUE(GetPrinterChoice());
    EXPECT_EQ(GetPrinterChoice()->copies, 3);
    dialogs.QueuePrintCancel();
    printer.PrintSetup();
    ASSERT_TRUE(GetPrinterChoice());
    EXPECT_EQ(GetPrinterChoice()->copies, 3);
    // Every dialog after a confirmed one starts from the kept printer.
    EXPECT_FALSE(dialogs.PrintLog()[1].choice.has_value());
    ASSERT_TRUE(dialogs.PrintLog()[2].choice.has_value());
    EXPECT_EQ(dialogs.PrintLog()[2].choice->copies, 3);
    EXPECT_EQ(dialogs.PrintLog()[2].kind, plat::PrintDialogKind::Setup);
}

TEST(PrintSetup, ThePrintDialogOffersOnlyThePageRangeAndThePrinter)
{
    CPrinter printer;
    printer.SetToPage(40000);
    SetPrinterChoice(plat::DefaultPrinterChoice());
    const plat::PrintSetupRequest asked = printer.MakeDialogRequest(plat::PrintDialogKind::Print);
    EXPECT_EQ(asked.kind, plat::PrintDialogKind::Print);
    EXPECT_EQ(asked.toPage, 1);
    EXPECT_FALSE(asked.pageNumbers);
    EXPECT_FALSE(asked.selection);
    EXPECT_FALSE(asked.printToFile);
    ASSERT_TRUE(asked.choice.has_value());
    EXPECT_EQ(asked.choice->folder, plat::DefaultPrinterChoice().folder);
}

} // namespace
