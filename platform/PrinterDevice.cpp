#include "platform/PrinterDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/FileReplace.h"
#include "platform/PngEncode.h"

namespace plat {
namespace {

constexpr uint8_t kBlankPage = 255;
constexpr int32_t kMaxDpi = 10000;

PrinterCaps Bounded(PrinterCaps caps)
{
    caps.width = std::clamp(caps.width, 1, PrinterDevice::kMaxPixels);
    caps.height = std::clamp(caps.height, 1, PrinterDevice::kMaxPixels);
    caps.dpiX = std::clamp(caps.dpiX, 1, kMaxDpi);
    caps.dpiY = std::clamp(caps.dpiY, 1, kMaxDpi);
    caps.offsetX = std::clamp(caps.offsetX, 0, PrinterDevice::kMaxPixels);
    caps.offsetY = std::clamp(caps.offsetY, 0, PrinterDevice::kMaxPixels);
    return caps;
}

bool IsNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

} // namespace

std::string PageFileName(std::string_view docName, int32_t pageNumber)
{
    std::string name = docName.empty() ? std::string("document") : std::string(docName);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !IsNameCharacter(c); }, '_');
    char number[16];
    std::snprintf(number, sizeof number, "-%03d.png", static_cast<int>(pageNumber));
    return name + number;
}

PrinterDevice::PrinterDevice(const PrintSetupResult& choice)
    : caps_(Bounded(choice.caps)), folder_(choice.folder), page_(caps_.width, caps_.height), dc_(page_)
{
    // Without a palette selected a page has the system colours, black between.
    page_.colors = SystemPalette();
}

int32_t PrinterDevice::StartDoc(std::string_view name)
{
    if (state_ != State::Idle)
        return EINVAL;
    docName_ = name;
    pageNumber_ = 0;
    state_ = State::Document;
    return 0;
}

int32_t PrinterDevice::StartPage()
{
    if (state_ != State::Document)
        return EINVAL;
    std::fill(page_.pixels.begin(), page_.pixels.end(), kBlankPage);
    ++pageNumber_;
    state_ = State::Page;
    return 0;
}

int32_t PrinterDevice::EndPage()
{
    if (state_ != State::Page)
        return EINVAL;
    state_ = State::Document;
    std::error_code made;
    std::filesystem::create_directories(folder_, made);
    if (made)
        return made.value();
    const std::vector<uint8_t> png =
        EncodeIndexedPng(page_, Rect{0, 0, page_.width, page_.height}, dc_.Palette());
    if (png.empty())
        return ENOMEM;
    return ReplaceFileContents(folder_ / PageFileName(docName_, pageNumber_), png, true);
}

int32_t PrinterDevice::EndDoc()
{
    if (state_ == State::Idle)
        return EINVAL;
    const int32_t pageError = state_ == State::Page ? EndPage() : 0;
    state_ = State::Idle;
    return pageError;
}

} // namespace plat
