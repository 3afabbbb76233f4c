#include "gfx/PngWriter.h"

#include <png.h>

namespace brv {

namespace {

void onPngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void onPngFlush(png_structp) {}

}  // namespace

bool encodePng(int width, int height, const std::vector<std::uint8_t>& rgba,
               std::vector<std::uint8_t>& out, std::string& error) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * height * 4) {
        error = "PNG: pixel buffer does not match the size";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        error = "PNG: out of memory";
        return false;
    }
    out.clear();
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        error = "PNG: encoding failed";
        return false;
    }
    png_set_write_fn(png, &out, onPngWrite, onPngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png,
                      &rgba[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace brv
