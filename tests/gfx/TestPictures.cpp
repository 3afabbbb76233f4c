#include "tests/gfx/TestPictures.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace brv::test {

std::vector<std::uint8_t> makeTga(int width, int height, int bits,
                                  const std::function<Rgba(int, int)>& pixel) {
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = static_cast<std::uint8_t>(width & 0xFF);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height & 0xFF);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = static_cast<std::uint8_t>(bits);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const Rgba c = pixel(x, row);
            out.insert(out.end(), {c.b, c.g, c.r});
            if (bits == 32) {
                out.push_back(c.a);
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> encodeJpeg(int width, int height, int components,
                                     const std::function<Rgba(int, int)>& pixel) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Rgba c = pixel(x, y);
            if (components == 1) {
                row[x] = c.r;
            } else {
                row[x * 3] = c.r;
                row[x * 3 + 1] = c.g;
                row[x * 3 + 2] = c.b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

std::vector<std::uint8_t> makeFontPicture(int width, int height, int glyphHeight,
                                          const std::vector<std::vector<int>>& lines,
                                          bool markers) {
    // ink[row from the top][column]
    std::vector<std::vector<bool>> ink(height, std::vector<bool>(width, false));
    int top = 1;
    for (const std::vector<int>& line : lines) {
        int x = 1;
        std::vector<int> shapes = line;
        if (markers) {
            shapes.insert(shapes.begin(), 2);
        }
        for (int w : shapes) {
            for (int y = top; y < top + glyphHeight; ++y) {
                for (int i = x; i < x + w; ++i) {
                    ink[y][i] = true;
                }
            }
            x += w + 1;
        }
        top += glyphHeight + 2;
    }
    // TGA rows are stored bottom-up.
    return makeTga(width, height, 32, [&](int x, int row) {
        const bool on = ink[height - 1 - row][x];
        return Rgba{255, 255, 255, static_cast<std::uint8_t>(on ? 255 : 0)};
    });
}

}  // namespace brv::test
