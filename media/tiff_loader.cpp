// TIFF input through libtiff, read from memory: the first page, whatever its kind (strips or
// tiles, palette, grey, RGB, CMYK, YCbCr, any common compression), through libtiff's RGBA
// reader, laid over the background. libtiff's messages are kept per file, never printed.

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

struct MemoryFile {
    const std::vector<std::uint8_t>* bytes;
    toff_t at = 0;
    std::string error;  // libtiff's first error message
};

tmsize_t ReadProc(thandle_t h, void* buffer, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t left = f->bytes->size() > f->at ? f->bytes->size() - f->at : 0;
    const toff_t n = std::min<toff_t>(left, static_cast<toff_t>(std::max<tmsize_t>(size, 0)));
    std::memcpy(buffer, f->bytes->data() + f->at, static_cast<std::size_t>(n));
    f->at += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t size = f->bytes->size();
    toff_t to = offset;
    if (whence == SEEK_CUR) to = f->at + offset;
    if (whence == SEEK_END) to = size + offset;
    f->at = to;  // reads past the end simply find nothing
    return to;
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t h) {
    return static_cast<MemoryFile*>(h)->bytes->size();
}

int MapProc(thandle_t, void**, toff_t*) {
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int KeepError(TIFF*, void* user, const char*, const char* format, va_list args) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f->error.empty()) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, args);
        f->error = text;
    }
    return 1;  // handled: nothing reaches stderr
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

}  // namespace

void LoadTiff(const std::string& path, Picture& image, Colour background) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) throw IoError(io::kReadPastEnd, path + ": empty file");
    // The byte order mark and the version (42, or 43 for BigTIFF): anything else is no TIFF,
    // whereas libtiff would report a file too short for its header as a read error.
    const bool intel = bytes.size() >= 4 && bytes[0] == 'I' && bytes[1] == 'I' &&
                       (bytes[2] == 42 || bytes[2] == 43) && bytes[3] == 0;
    const bool motorola = bytes.size() >= 4 && bytes[0] == 'M' && bytes[1] == 'M' &&
                          bytes[2] == 0 && (bytes[3] == 42 || bytes[3] == 43);
    if (!intel && !motorola) throw IoError(io::kInvalidData, path + ": not a TIFF file");
    MemoryFile file{&bytes, 0, {}};
    struct Options {
        TIFFOpenOptions* o = TIFFOpenOptionsAlloc();
        ~Options() { TIFFOpenOptionsFree(o); }
    } options;
    TIFFOpenOptionsSetErrorHandlerExtR(options.o, KeepError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options.o, IgnoreWarning, &file);
    struct Handle {
        TIFF* t;
        ~Handle() {
            if (t) TIFFClose(t);
        }
    } tif{TIFFClientOpenExt(path.c_str(), "rm", &file, ReadProc, WriteProc, SeekProc, CloseProc,
                            SizeProc, MapProc, UnmapProc, options.o)};
    const auto fail = [&](const char* what) {
        const bool cut = file.error.find("end of file") != std::string::npos ||
                         file.error.find("Read error") != std::string::npos ||
                         file.error.find("Cannot read") != std::string::npos;
        throw IoError(cut ? io::kReadPastEnd : io::kInvalidData,
                      path + ": TIFF: " + (file.error.empty() ? what : file.error));
    };
    if (!tif.t) fail("not a TIFF file");
    std::uint32_t width = 0, height = 0;
    if (!TIFFGetField(tif.t, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif.t, TIFFTAG_IMAGELENGTH, &height))
        fail("no picture size");
    CheckPictureSize(width, height, path);
    char message[1024] = "";
    if (!TIFFRGBAImageOK(tif.t, message)) {
        if (file.error.empty()) file.error = message;
        fail("a kind of TIFF that cannot be read");
    }
    std::vector<std::uint32_t> raster(std::size_t{width} * height);
    if (!TIFFReadRGBAImageOriented(tif.t, width, height, raster.data(), ORIENTATION_TOPLEFT, 1))
        fail("the picture cannot be decoded");
    // libtiff hands out colours already multiplied by their alpha (it multiplies unassociated
    // alpha itself): only the background's share is added.
    const int back[3] = {Blue(background), Green(background), Red(background)};
    Picture picture(static_cast<int>(width), static_cast<int>(height));
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint32_t* in = raster.data() + std::size_t{width} * static_cast<std::size_t>(y);
        std::uint8_t* out = picture.row(y);
        for (std::uint32_t x = 0; x < width; ++x, out += 3) {
            const int under = 255 - static_cast<int>(TIFFGetA(in[x]));
            const int c[3] = {static_cast<int>(TIFFGetB(in[x])), static_cast<int>(TIFFGetG(in[x])),
                              static_cast<int>(TIFFGetR(in[x]))};
            for (int k = 0; k < 3; ++k)
                out[k] =
                    static_cast<std::uint8_t>(std::min(255, c[k] + (back[k] * under + 127) / 255));
        }
    }
    image = std::move(picture);
}

}  // namespace mozu
