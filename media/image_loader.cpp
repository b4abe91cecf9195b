#include "media/image_loader.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <new>
#include <vector>

#include "media/bmp_decoder.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

[[noreturn]] void Fail(int code, const std::string& path, const std::string& why) {
    throw IoError(code, path + ": " + why);
}

std::vector<std::uint8_t> ReadNonEmpty(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) Fail(io::kReadPastEnd, path, "empty file");
    return bytes;
}

// ---- JPEG

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// RunJpegDecoder. Only libjpeg's C frames lie between, so no destructor is skipped.
struct JpegErrorManager {
    jpeg_error_mgr pub;  // first member: libjpeg sees a pointer to it as cinfo->err
    std::jmp_buf jump;
    int code;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegAbort(j_common_ptr cinfo, int code) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    err->code = code;
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void JpegErrorExit(j_common_ptr cinfo) {
    const int msg = cinfo->err->msg_code;
    JpegAbort(cinfo, msg == JERR_INPUT_EMPTY || msg == JERR_INPUT_EOF ? io::kReadPastEnd
                                                                      : io::kInvalidData);
}

// libjpeg only warns when the data ends early (and fills the rest with grey) or when the
// entropy data breaks off at a marker; either would pass half a picture on as good.
// Other warnings (stray bytes between markers and the like) leave the picture intact.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace output
    const int msg = cinfo->err->msg_code;
    if (msg == JWRN_JPEG_EOF) JpegAbort(cinfo, io::kReadPastEnd);
    if (msg == JWRN_HIT_MARKER) JpegAbort(cinfo, io::kInvalidData);
    cinfo->err->num_warnings++;
}

struct JpegJob {
    const std::vector<std::uint8_t>* bytes = nullptr;
    std::string path;
    jpeg_decompress_struct cinfo{};
    JpegErrorManager err{};
    Picture picture;
    std::vector<JSAMPROW> rows;
    std::vector<JSAMPLE> cmykRow;
};

std::uint8_t MulDiv255(int a, int b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// CMYK rows to B,G,R. Adobe writers (the only common source, and every YCCK file) store the
// inks inverted, so there the channel is C * K / 255; plain CMYK is (255-C)(255-K)/255.
void CmykToBgr(const JSAMPLE* in, std::uint8_t* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = MulDiv255(y, k);
        out[1] = MulDiv255(m, k);
        out[2] = MulDiv255(c, k);
    }
}

// Returns false (with job.err filled) when libjpeg gave up. Keep objects with destructors
// out of this function's own frame: a longjmp lands here.
bool RunJpegDecoder(JpegJob& job) {
    jpeg_decompress_struct& cinfo = job.cinfo;
    if (setjmp(job.err.jump)) return false;

    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, job.bytes->data(), static_cast<unsigned long>(job.bytes->size()));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // libjpeg-turbo writes B,G,R straight into our rows, from YCbCr, RGB or grey alike.
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&cinfo);
    CheckPictureSize(cinfo.output_width, cinfo.output_height,
                     job.path);  // may throw: no jump pending

    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    job.picture.reset(width, height);
    job.rows.resize(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) job.rows[static_cast<std::size_t>(y)] = job.picture.row(y);
    if (cmyk) job.cmykRow.resize(static_cast<std::size_t>(width) * 4);

    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION line = cinfo.output_scanline;
        if (cmyk) {
            JSAMPROW row = job.cmykRow.data();
            if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
            CmykToBgr(row, job.picture.row(static_cast<int>(line)), width, cinfo.saw_Adobe_marker);
        } else {
            if (jpeg_read_scanlines(&cinfo, job.rows.data() + line, cinfo.output_height - line) ==
                0)
                return false;
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

std::string Extension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

void LoadJpeg(const std::string& path, Picture& image) {
    const std::vector<std::uint8_t> bytes = ReadNonEmpty(path);

    JpegJob job;
    job.bytes = &bytes;
    job.path = path;
    job.cinfo.err = jpeg_std_error(&job.err.pub);
    job.err.pub.error_exit = JpegErrorExit;
    job.err.pub.emit_message = JpegEmitMessage;
    // Safe on the zeroed struct too, should creating it have failed.
    struct Destroy {
        jpeg_decompress_struct* cinfo;
        ~Destroy() { jpeg_destroy_decompress(cinfo); }
    } destroy{&job.cinfo};

    bool ok = false;
    try {
        ok = RunJpegDecoder(job);
    } catch (const std::bad_alloc&) {
        Fail(io::kInvalidData, path, "not enough memory for the picture");
    }
    if (!ok) {
        const int code = job.err.code ? job.err.code : io::kInvalidData;
        Fail(code, path, std::string("JPEG: ") + job.err.message);
    }
    image = std::move(job.picture);
}

void LoadBmp(const std::string& path, Picture& image) {
    const std::vector<std::uint8_t> bytes = ReadNonEmpty(path);
    Picture picture;
    try {
        picture = DecodeBmp(bytes, path);
    } catch (const std::bad_alloc&) {
        Fail(io::kInvalidData, path, "not enough memory for the picture");
    }
    image = std::move(picture);
}

PictureKind PictureKindOf(const std::string& path) {
    const std::string ext = Extension(path);
    if (ext == ".jpg" || ext == ".jpeg") return PictureKind::Jpeg;
    if (ext == ".bmp") return PictureKind::Bmp;
    if (ext == ".png") return PictureKind::Png;
    if (ext == ".gif") return PictureKind::Gif;
    if (ext == ".tga") return PictureKind::Tga;
    if (ext == ".ppm" || ext == ".pgm" || ext == ".pnm") return PictureKind::Pnm;
    if (ext == ".webp") return PictureKind::Webp;
    if (ext == ".tif" || ext == ".tiff") return PictureKind::Tiff;
    return PictureKind::None;
}

void LoadPictureOf(PictureKind kind, const std::string& path, Picture& image, Colour background) {
    try {
        switch (kind) {
            case PictureKind::Jpeg:
                return LoadJpeg(path, image);
            case PictureKind::Bmp:
                return LoadBmp(path, image);
            case PictureKind::Png:
                return LoadPng(path, image, background);
            case PictureKind::Gif:
                return LoadGif(path, image, background);
            case PictureKind::Tga:
                return LoadTga(path, image, background);
            case PictureKind::Pnm:
                return LoadPnm(path, image);
            case PictureKind::Webp:
                return LoadWebp(path, image, background);
            case PictureKind::Tiff:
                return LoadTiff(path, image, background);
            case PictureKind::None:
                break;
        }
    } catch (const std::bad_alloc&) {
        Fail(io::kInvalidData, path, "not enough memory for the picture");
    }
    Fail(io::kInvalidData, path, "not a picture file name Mozu reads");
}

void LoadPicture(const std::string& path, Picture& image) {
    LoadPictureOf(PictureKindOf(path), path, image);
}

}  // namespace mozu
