#include "tools/mkdata/ImageFiles.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace brv::art {

std::vector<std::uint8_t> encodeTga(int width, int height, const std::vector<std::uint8_t>& pixels,
                                    int bitsPerPixel) {
    const int bytes = bitsPerPixel / 8;
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = static_cast<std::uint8_t>(width & 0xFF);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height & 0xFF);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = static_cast<std::uint8_t>(bitsPerPixel);
    out[17] = static_cast<std::uint8_t>(bytes == 4 ? 8 : 0);  // alpha bits; origin bottom-left
    const int inBytes =
        static_cast<int>(pixels.size() / (static_cast<std::size_t>(width) * height));
    out.reserve(out.size() + static_cast<std::size_t>(width) * height * bytes);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &pixels[(static_cast<std::size_t>(row) * width + x) *
                                            static_cast<std::size_t>(inBytes)];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            if (bytes == 4) {
                out.push_back(inBytes == 4 ? p[3] : 255);
            }
        }
    }
    return out;
}

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Kept out of the function that calls setjmp, so no local lives across longjmp.
void compressRows(jpeg_compress_struct& info, const std::vector<std::uint8_t>& rgb, int width) {
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<std::size_t>(info.next_scanline) *
                                                 static_cast<std::size_t>(width) * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
}

}  // namespace

bool encodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality,
                std::vector<std::uint8_t>& out, std::string& error) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        error = "JPEG: pixel buffer does not match the size";
        return false;
    }
    jpeg_compress_struct info;
    JpegError jerr;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = jpeg_std_error(&jerr.manager);
    jerr.manager.error_exit = onJpegError;
    if (setjmp(jerr.jump) != 0) {
        error = std::string("JPEG: ") + jerr.message;
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    info.write_JFIF_header = TRUE;
    // Full-resolution colour: the small coloured points painted into the
    // backgrounds would smear with halved chroma.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    compressRows(info, rgb, width);
    jpeg_finish_compress(&info);
    out.assign(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return true;
}

}  // namespace brv::art
