#include "media/png_file.h"

#include <png.h>

#include <csetjmp>
#include <span>
#include <string>

#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// libpng reports errors by longjmp; the message is kept for the IoError raised afterwards.
struct PngSink {
    std::vector<std::uint8_t>* bytes;
    std::string error;
};

void OnWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->bytes->insert(sink->bytes->end(), data, data + length);
}

void OnFlush(png_structp) {}

void OnError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    sink->error = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// One RGB row from Mozu's blue-green-red order.
void RgbRow(const Picture& picture, int y, std::vector<std::uint8_t>& out) {
    const std::uint8_t* in = picture.row(y);
    for (int x = 0; x < picture.width(); ++x) {
        out[3 * x + 0] = in[3 * x + 2];
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = in[3 * x + 0];
    }
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Picture& picture) {
    if (picture.empty()) throw IoError(io::kInvalidData, "cannot write an empty picture as PNG");
    std::vector<std::uint8_t> bytes;
    PngSink sink{&bytes, {}};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
    if (png == nullptr) throw IoError(io::kInvalidData, "cannot start the PNG encoder");
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> row(picture.stride());
    // Nothing with a destructor may be created between setjmp and the last libpng call.
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw IoError(io::kInvalidData, "PNG encoder: " + sink.error);
    }
    png_set_write_fn(png, &sink, OnWrite, OnFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Pictures of a few flat colours: fast compression loses almost nothing here.
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < picture.height(); ++y) {
        RgbRow(picture, y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

void WritePng(const std::string& path, const Picture& picture) {
    const std::vector<std::uint8_t> bytes = EncodePng(picture);
    OutputFile file(path);
    file.write(std::span<const std::uint8_t>(bytes));
    file.commit();
}

}  // namespace mozu
