#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

#include "platform/Color.h"
#include "platform/PrinterDevice.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FolderContents.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"

namespace {

using qmtest::FileNamesIn;
using qmtest::FileText;

plat::PrintSetupResult SmallPrinter(const std::filesystem::path& folder)
{
    plat::PrintSetupResult choice;
    choice.folder = folder;
    choice.caps = plat::PrinterCaps{40, 30, 100, 100, 0, 0, true};
    return choice;
}

TEST(PrinterDevice, PageFileNames)
{
    struct Case {
        const char* doc;
        int32_t page;
        const char* file;
    };
    const Case cases[] = {
        {"Trip log/1", 1, "Trip_log_1-001.png"}, {"", 2, "document-002.png"},
        {"a.b-c_D9", 999, "a.b-c_D9-999.png"},   {"a", 1000, "a-1000.png"},
        {"..\\up", 12, ".._up-012.png"},         {"Caf\xc3\xa9 \t*?", 3, "Caf______-003.png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::PageFileName(c.doc, c.page), c.file) << c.doc;
}

TEST(PrinterDevice, MappedDrawingScalesCoordinatesPensAndBlits)
{
    plat::Surface surface(100, 100);
    plat::DrawContext dc(surface);
    EXPECT_FALSE(dc.SetMapping({0, 10}, {100, 100}));
    EXPECT_FALSE(dc.SetMapping({10, 10}, {100, -1}));
    ASSERT_TRUE(dc.SetMapping({10, 20}, {100, 100})); // 10 pixels a unit across, 5 down
    EXPECT_EQ(dc.WindowExtent(), (plat::Size{10, 20}));

    dc.FillRect({1, 2, 3, 4}, plat::ColorRef::FromIndex(7));
    EXPECT_EQ(surface.At(10, 10), 7);
    EXPECT_EQ(surface.At(29, 19), 7);
    EXPECT_EQ(surface.At(30, 19), 0);
    EXPECT_EQ(surface.At(29, 20), 0);
    EXPECT_EQ(surface.At(9, 10), 0);

    // A pen one unit wide is ten pixels wide.
    dc.SetPen(plat::Pen{plat::PenStyle::Solid, 1, plat::ColorRef::FromIndex(9)});
    dc.MoveTo({0, 10});
    dc.LineTo({10, 10});
    int inked = 0;
    for (int y = 0; y < 100; ++y)
        inked += surface.At(50, y) == 9;
    EXPECT_EQ(inked, 10);

    // A 2 x 2 bitmap copied to a 2 x 2 unit destination covers 20 x 10 pixels, pixel for unit.
    plat::Surface source(2, 2);
    source.Row(0)[0] = 1;
    source.Row(0)[1] = 2;
    source.Row(1)[0] = 3;
    source.Row(1)[1] = 4;
    dc.BitBlt({6, 12, 8, 14}, source, {0, 0});
    EXPECT_EQ(surface.At(60, 60), 1);
    EXPECT_EQ(surface.At(79, 64), 2);
    EXPECT_EQ(surface.At(60, 65), 3);
    EXPECT_EQ(surface.At(79, 69), 4);
    EXPECT_EQ(surface.At(80, 69), 0);
    // A stretch names its source rectangle: the same picture.
    plat::Surface stretched(100, 100);
    plat::DrawContext other(stretched);
    other.SetMapping({10, 20}, {100, 100});
    other.StretchBlt({6, 12, 8, 14}, source, {0, 0, 2, 2});
    for (int y = 60; y < 70; ++y)
        EXPECT_EQ(std::vector<uint8_t>(stretched.Row(y) + 55, stretched.Row(y) + 85),
                  std::vector<uint8_t>(surface.Row(y) + 55, surface.Row(y) + 85))
            << y;
}

TEST(PrinterDevice, MappedTextIsDrawnAtTheDeviceSize)
{
    const auto inkRows = [](int scale) {
        plat::Surface surface(400, 400);
        plat::DrawContext dc(surface);
        dc.SetMapping({100, 100}, {100 * scale, 100 * scale});
        dc.SelectFont(plat::CreateFont(plat::FontSpec{"Arial", -10}));
        dc.SetTextColor(plat::ColorRef::FromIndex(5));
        dc.TextOut({2, 2}, "H");
        int rows = 0;
        for (int y = 0; y < surface.height; ++y)
            rows += std::count(surface.Row(y), surface.Row(y) + surface.width, 5) > 0;
        return rows;
    };
    const int one = inkRows(1);
    ASSERT_GT(one, 4);
    EXPECT_NEAR(inkRows(3), 3 * one, 3);
}

TEST(PrinterDevice, PagesAreWrittenAsIndexedPicturesInTheFolder)
{
    const auto folder = qmtest::TempDir() / "made" / "later";
    plat::PrinterDevice device(SmallPrinter(folder));
    EXPECT_EQ(device.StartPage(), EINVAL); // no document yet
    EXPECT_EQ(device.EndPage(), EINVAL);
    ASSERT_EQ(device.StartDoc("Log"), 0);
    EXPECT_EQ(device.StartDoc("Again"), EINVAL);

    // The first page has no palette selected: the system colours, black between.
    ASSERT_EQ(device.StartPage(), 0);
    device.Context().FillRect({0, 0, 4, 2}, plat::ColorRef::FromIndex(3));
    ASSERT_EQ(device.EndPage(), 0);
    // The second page selects its own colours.
    plat::ColorTable grey{};
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = plat::Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0};
    device.Context().SelectPalette(grey);
    ASSERT_EQ(device.StartPage(), 0);
    EXPECT_EQ(device.Page().At(0, 0), 255); // every page starts blank
    ASSERT_EQ(device.EndDoc(), 0);          // the open page is written
    EXPECT_FALSE(device.InDocument());

    EXPECT_EQ(FileNamesIn(folder), (std::vector<std::string>{"Log-001.png", "Log-002.png"}));
    const IndexedImage first = ReadIndexedPng(folder / "Log-001.png");
    ASSERT_EQ(first.width, 40);
    ASSERT_EQ(first.height, 30);
    EXPECT_EQ(first.pixels[0], 3);
    EXPECT_EQ(first.pixels[40 * 2 - 1], 255);
    EXPECT_EQ(first.pixels[40 * 2 + 3], 255);
    ASSERT_EQ(first.palette.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const plat::Rgb want = plat::SystemPaletteEntry(i);
        EXPECT_EQ(first.palette[static_cast<size_t>(i)], (PngColor{want.r, want.g, want.b})) << i;
    }
    const IndexedImage second = ReadIndexedPng(folder / "Log-002.png");
    EXPECT_EQ(second.pixels, std::vector<uint8_t>(40 * 30, 255));
    EXPECT_EQ(second.palette[100], (PngColor{100, 100, 100}));
}

TEST(PrinterDevice, APageThatCannotBeWrittenLeavesTheOlderFileAlone)
{
    // A folder that cannot be made (its parent is a file) fails even for the superuser.
    qmtest::WriteFile(qmtest::TempDir() / "blocker", "x");
    plat::PrinterDevice blocked(SmallPrinter(qmtest::TempDir() / "blocker" / "prints"));
    ASSERT_EQ(blocked.StartDoc("Log"), 0);
    ASSERT_EQ(blocked.StartPage(), 0);
    EXPECT_NE(blocked.EndPage(), 0);
    EXPECT_FALSE(blocked.InPage());

    // A full disk: the older page stays as it was and no temporary file is left.
    const auto folder = qmtest::TempDir() / "prints";
    qmtest::WriteFile(folder / "Log-001.png", "older page");
    plat::PrinterDevice device(SmallPrinter(folder));
    ASSERT_EQ(device.StartDoc("Log"), 0);
    ASSERT_EQ(device.StartPage(), 0);
    // Noise that does not compress, so the picture is larger than the limit.
    uint32_t seed = 1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            seed = seed * 1103515245u + 12345u;
            device.Context().FillRect({x, y, x + 1, y + 1}, plat::ColorRef::FromIndex(seed >> 24));
        }
    {
        const qmtest::FileSizeLimit full(64);
        EXPECT_EQ(device.EndPage(), EFBIG);
    }
    EXPECT_EQ(FileText(folder / "Log-001.png"), "older page");
    EXPECT_EQ(FileNamesIn(folder), std::vector<std::string>{"Log-001.png"});

    // A folder the user may not write to (the superuser may write anywhere).
    if (geteuid() != 0) {
        std::filesystem::permissions(folder,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        ASSERT_EQ(device.StartPage(), 0);
        EXPECT_EQ(device.EndPage(), EACCES);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        EXPECT_EQ(FileText(folder / "Log-001.png"), "older page");
        EXPECT_EQ(FileNamesIn(folder), std::vector<std::string>{"Log-001.png"});
    }
}

TEST(PrinterDevice, CapabilitiesAreKeptWithinBounds)
{
    plat::PrintSetupResult odd;
    odd.caps = plat::PrinterCaps{0, -5, 0, -300, -1, 99999, false};
    plat::PrinterDevice device(odd);
    EXPECT_EQ(device.Caps(), (plat::PrinterCaps{1, 1, 1, 1, 0, plat::PrinterDevice::kMaxPixels, false}));
    EXPECT_EQ(device.Page().width, 1);
}

} // namespace
