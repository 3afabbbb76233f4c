#include "gfx/JpegDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

// The library's headers need size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace brv {

namespace {

constexpr std::size_t kTransferBytes = 4096;

// A data source that hands the library a memory buffer in 4096-byte pieces.
struct MemorySource {
    jpeg_source_mgr pub;  // first member: the library sees only this part
    JOCTET* buffer;
    const JOCTET* data;
    std::size_t size;
    std::size_t position;
    bool startOfFile;
};

void initSource(j_decompress_ptr cinfo) {
    reinterpret_cast<MemorySource*>(cinfo->src)->startOfFile = true;
}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    std::size_t count = std::min(kTransferBytes, src->size - src->position);
    if (count == 0) {
        if (src->startOfFile) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        // A truncated picture: pretend it ends here so the rows decoded so
        // far survive.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        count = 2;
    } else {
        std::memcpy(src->buffer, src->data + src->position, count);
        src->position += count;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = count;
    src->startOfFile = false;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    if (count <= 0) {
        return;
    }
    while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        fillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void termSource(j_decompress_ptr) {}

void installMemorySource(j_decompress_ptr cinfo, const void* data, std::size_t size) {
    auto* src = static_cast<MemorySource*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    src->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kTransferBytes));
    src->data = static_cast<const JOCTET*>(data);
    src->size = data == nullptr ? 0 : size;
    src->position = 0;
    src->startOfFile = true;
    src->pub.init_source = initSource;
    src->pub.fill_input_buffer = fillInputBuffer;
    src->pub.skip_input_data = skipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = termSource;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    cinfo->src = &src->pub;
}

struct ErrorManager {
    jpeg_error_mgr pub;  // first member: the library sees only this part
    std::jmp_buf escape;
    // What the library had to say, kept for the caller instead of being
    // printed without the picture's name: the error that ended decoding, else
    // the first warning.
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
};

// Warnings (a picture cut short, a corrupt marker) are kept; trace messages
// are not the player's business.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
        if (errors->warning[0] == '\0') {
            (*cinfo->err->format_message)(cinfo, errors->warning);
        }
        ++cinfo->err->num_warnings;
    }
}

// A fatal error abandons the picture: keep the library's message, then jump
// back to decodeInto, which destroys the object and reports failure.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->escape, 1);
}

// Copies scanline k (0 at the top) to row height - 1 - k.
bool readRows(jpeg_decompress_struct& cinfo, Image& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * image.components;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(rowBytes), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const std::size_t k = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) {
            return false;  // a suspending source; ours never suspends
        }
        std::memcpy(image.pixels.data() + (image.height - 1 - k) * rowBytes, row[0], rowBytes);
    }
    return true;
}

// Holds no object with a destructor: a fatal error leaves it by longjmp.
// `image` and `errors` belong to the caller, so nothing is skipped on the way
// out.
bool decodeInto(const void* data, std::size_t size, Image& image, ErrorManager& errors) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    errors.message[0] = '\0';
    errors.warning[0] = '\0';
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    installMemorySource(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    const std::uint64_t pixels = std::uint64_t{cinfo.image_width} * cinfo.image_height;
    if (pixels == 0 || pixels > kMaxJpegPixels) {
        std::snprintf(errors.message, sizeof errors.message,
                      "a picture of %u x %u pixels (at most 16 megapixels)", cinfo.image_width,
                      cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    // Only grey and RGB are pictures the game can use; CMYK and other
    // layouts are refused rather than uploaded as the wrong format.
    if (cinfo.output_components != 1 && cinfo.output_components != 3) {
        std::snprintf(errors.message, sizeof errors.message,
                      "%d colour components (grey or RGB wanted)", cinfo.output_components);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    image.width = static_cast<int>(cinfo.output_width);
    image.height = static_cast<int>(cinfo.output_height);
    image.components = cinfo.output_components;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * image.components);
    if (!readRows(cinfo, image)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

bool decodeJpeg(const void* data, std::size_t size, Image& out, std::string* problem) {
    if (data == nullptr || size == 0) {
        if (problem != nullptr) {
            *problem = "missing or empty";
        }
        return false;
    }
    Image image;
    ErrorManager errors;
    const bool decoded = decodeInto(data, size, image, errors);
    if (problem != nullptr) {
        *problem = errors.message[0] != '\0' ? errors.message : errors.warning;
    }
    if (!decoded) {
        return false;
    }
    out = std::move(image);
    return true;
}

}  // namespace brv
