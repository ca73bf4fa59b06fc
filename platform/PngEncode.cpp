#include "platform/PngEncode.h"

#include <png.h>

namespace plat {
namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

} // namespace

std::vector<uint8_t> EncodeIndexedPng(const Surface& surface, const Rect& area, const ColorTable& colors)
{
    const Rect r = Intersect(area, Rect{0, 0, surface.width, surface.height});
    if (r.Empty())
        return {};
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(r.Width()), static_cast<png_uint_32>(r.Height()), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color table[256];
    for (size_t i = 0; i < 256; ++i)
        table[i] = {colors[i].r, colors[i].g, colors[i].b};
    png_set_PLTE(png, info, table, 256);
    png_write_info(png, info);
    for (int32_t y = r.top; y < r.bottom; ++y)
        png_write_row(png, surface.Row(y) + r.left);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace plat
