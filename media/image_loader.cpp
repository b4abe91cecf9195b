#include "media/image_loader.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// Larger pictures are refused rather than risking an allocation of many gigabytes for a
// header that merely claims a huge size (16384 x 16384 still fits).
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

[[noreturn]] void Fail(int code, const std::string& path, const std::string& why) {
    throw IoError(code, path + ": " + why);
}

std::vector<std::uint8_t> ReadNonEmpty(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) Fail(io::kReadPastEnd, path, "empty file");
    return bytes;
}

void CheckSize(std::uint64_t width, std::uint64_t height, const std::string& path) {
    if (width == 0 || height == 0) Fail(io::kInvalidData, path, "picture without pixels");
    if (width * height > kMaxPixels)
        Fail(io::kInvalidData, path,
             "picture too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
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
    CheckSize(cinfo.output_width, cinfo.output_height, job.path);  // may throw: no jump pending

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

// ---- BMP

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// Walks an RLE4/RLE8 stream without drawing it and tells whether it is complete: it must
// reach its end-of-bitmap code, or at least close every row, inside the file.
bool RleStreamComplete(const std::vector<std::uint8_t>& b, std::size_t pos, bool rle8,
                       std::uint64_t rows) {
    std::uint64_t row = 0;
    while (pos + 2 <= b.size()) {
        const std::uint8_t count = b[pos];
        const std::uint8_t code = b[pos + 1];
        pos += 2;
        if (count != 0) continue;  // a run: count pixels of one value (or value pair)
        if (code == 0) {           // end of line
            ++row;
        } else if (code == 1) {  // end of bitmap
            return true;
        } else if (code == 2) {  // move right and down
            if (pos + 2 > b.size()) return false;
            row += b[pos + 1];
            pos += 2;
        } else {  // `code` literal pixels, padded to a whole word
            std::size_t n = rle8 ? code : (code + 1u) / 2;
            n += n & 1;
            if (pos + n > b.size()) return false;
            pos += n;
        }
    }
    return pos == b.size() && row >= rows;
}

struct BmpLayout {
    int width = 0;
    int rows = 0;
    bool rle = false;
};

// Checks what Qt's reader does not: given a short file, Qt returns a picture whose missing
// rows are left unset.
BmpLayout CheckBmpComplete(const std::vector<std::uint8_t>& b, const std::string& path) {
    constexpr std::size_t kFileHeader = 14;
    if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') Fail(io::kInvalidData, path, "not a BMP file");
    if (b.size() < kFileHeader + 4) Fail(io::kReadPastEnd, path, "truncated BMP header");
    const std::uint32_t dataOffset = Le32(b, 10);
    const std::uint32_t infoSize = Le32(b, kFileHeader);
    if (b.size() < kFileHeader + std::max<std::uint32_t>(infoSize, 12))
        Fail(io::kReadPastEnd, path, "truncated BMP header");

    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0;
    if (infoSize == 12) {  // OS/2 and Windows 2 core header
        width = Le16(b, 18);
        height = Le16(b, 20);
        bits = Le16(b, 24);
    } else if (infoSize >= 40) {
        width = static_cast<std::int32_t>(Le32(b, 18));
        height = static_cast<std::int32_t>(Le32(b, 22));
        bits = Le16(b, 28);
        compression = Le32(b, 30);
    } else {
        Fail(io::kInvalidData, path, "unknown BMP header size " + std::to_string(infoSize));
    }
    if (width < 0) Fail(io::kInvalidData, path, "negative BMP width");
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    CheckSize(static_cast<std::uint64_t>(width), rows, path);

    if (compression == 1 || compression == 2) {  // RLE8, RLE4
        if (dataOffset >= b.size() || !RleStreamComplete(b, dataOffset, compression == 1, rows))
            Fail(io::kReadPastEnd, path, "truncated BMP pixel data");
    } else if (compression == 0 || compression == 3 || compression == 6) {  // plain, bit fields
        const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
        if (dataOffset + stride * rows > b.size())
            Fail(io::kReadPastEnd, path, "truncated BMP pixel data");
    }
    return {static_cast<int>(width), static_cast<int>(rows), compression == 1 || compression == 2};
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
    const BmpLayout layout = CheckBmpComplete(bytes, path);

    // The bytes are read once, so the file cannot change between the check and the decode.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    // Qt refuses pictures above 128 MB by default; ours may reach kMaxPixels at 4 bytes each.
    // The limit is Qt's one process-wide setting, so it is only ever raised, never lowered.
    constexpr int kAllocationLimitMb = static_cast<int>(kMaxPixels * 4 / (1024 * 1024));
    if (QImageReader::allocationLimit() != 0 &&
        QImageReader::allocationLimit() < kAllocationLimitMb)
        QImageReader::setAllocationLimit(kAllocationLimitMb);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    QImage decoded;
    if (layout.rle) {
        // Qt does not touch the pixels an RLE stream skips (moves, rows ended early) and
        // leaves them uninitialised. Handed a picture of the right size and format, the
        // reader draws into it, so skipped pixels keep palette entry 0, as in a cleared bitmap.
        decoded = QImage(layout.width, layout.rows, QImage::Format_Indexed8);
        decoded.fill(0);
    }
    if (!reader.read(&decoded) || decoded.isNull())
        Fail(io::kInvalidData, path, "unreadable BMP file: " + reader.errorString().toStdString());

    // 16 to 32-bit files arrive as RGB32 or ARGB32, palette files as Mono or Indexed8; ARGB32
    // keeps every channel as stored: no premultiplying, no colour management.
    const bool direct =
        decoded.format() == QImage::Format_RGB32 || decoded.format() == QImage::Format_ARGB32;
    const QImage argb = direct ? decoded : decoded.convertToFormat(QImage::Format_ARGB32);
    Picture picture;
    try {
        picture.reset(argb.width(), argb.height());
    } catch (const std::bad_alloc&) {
        Fail(io::kInvalidData, path, "not enough memory for the picture");
    }
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* out = picture.row(y);
        for (int x = 0; x < argb.width(); ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(qBlue(in[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(in[x]));
            out[2] = static_cast<std::uint8_t>(qRed(in[x]));
        }
    }
    image = std::move(picture);
}

void LoadPicture(const std::string& path, Picture& image) {
    const std::string ext = Extension(path);
    if (ext == ".jpg" || ext == ".jpeg") {
        LoadJpeg(path, image);
    } else if (ext == ".bmp") {
        LoadBmp(path, image);
    } else {
        Fail(io::kInvalidData, path, "not a JPEG or BMP file name");
    }
}

}  // namespace mozu
