#include "tools/PngImage.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

// The largest picture the engine can hold: sizes are 16-bit.
constexpr png_uint_32 kMaxSide = 32767;

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

File Open(const std::filesystem::path& path, const char* mode)
{
    return File(std::fopen(path.c_str(), mode), &std::fclose);
}

void QuietWarning(png_structp, png_const_charp) {}

// libpng's own message of the error that ends a read or write, kept instead of printed.
struct PngError {
    char text[128] = {};
};

[[noreturn]] void KeepError(png_structp png, png_const_charp message)
{
    if (auto* error = static_cast<PngError*>(png_get_error_ptr(png)))
        std::snprintf(error->text, sizeof error->text, "%s", message);
    png_longjmp(png, 1);
}

// libpng reports errors by a long jump back into the function that set it up; the functions
// below keep only plain values there (the error text and the results live in the caller's
// frame), and give their answer as a text (empty when all went well).
std::string ReadPng(FILE* file, IndexedImage& out, PngError& error)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, KeepError, QuietWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "out of memory";
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::string("not a readable PNG (") + error.text + ")";
    }
    png_init_io(png, file);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (type != PNG_COLOR_TYPE_PALETTE && !(type == PNG_COLOR_TYPE_GRAY && depth == 8)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return "not an indexed PNG (a palette PNG, or 8-bit greyscale)";
    }
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_colorp colors = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colors, &count) & PNG_INFO_PLTE)
            for (int i = 0; i < count; ++i)
                out.palette.push_back({colors[i].red, colors[i].green, colors[i].blue});
        png_set_packing(png); // 1, 2 and 4-bit indices become bytes
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(static_cast<size_t>(width) * height);
    // Row by row, so that no buffer of this frame is left behind by a jump.
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, out.pixels.data() + static_cast<size_t>(y) * width, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return {};
}

std::string WritePng(FILE* file, int width, int height, const std::vector<uint8_t>& pixels,
                     const std::vector<PngColor>& palette, PngError& error)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, KeepError, QuietWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return "out of memory";
    }
    png_color colors[256];
    const int count = static_cast<int>(std::min<size_t>(palette.size(), 256));
    for (int i = 0; i < count; ++i)
        colors[i] = {palette[static_cast<size_t>(i)].r, palette[static_cast<size_t>(i)].g,
                     palette[static_cast<size_t>(i)].b};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::string("cannot write (") + error.text + ")";
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colors, count);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

} // namespace

IndexedImage ReadIndexedPng(const std::filesystem::path& path)
{
    File file = Open(path, "rb");
    if (!file)
        throw std::runtime_error(path.string() + ": cannot open");
    IndexedImage image;
    PngError pngError;
    if (const std::string error = ReadPng(file.get(), image, pngError); !error.empty())
        throw std::runtime_error(path.string() + ": " + error);
    return image;
}

void WriteIndexedPng(const std::filesystem::path& path, int width, int height,
                     const std::vector<uint8_t>& pixels, const std::vector<PngColor>& palette)
{
    if (palette.empty() || palette.size() > 256)
        throw std::runtime_error(path.string() + ": a palette holds 1 to 256 colours");
    if (width < 1 || height < 1 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw std::runtime_error(path.string() + ": nothing to write (an empty picture)");
    File file = Open(path, "wb");
    if (!file)
        throw std::runtime_error(path.string() + ": cannot write");
    PngError pngError;
    if (const std::string error = WritePng(file.get(), width, height, pixels, palette, pngError);
        !error.empty())
        throw std::runtime_error(path.string() + ": " + error);
    if (std::fflush(file.get()) != 0)
        throw std::runtime_error(path.string() + ": cannot write");
}
