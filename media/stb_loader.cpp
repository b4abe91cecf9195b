// TGA and PNM input through stb_image (Debian's libstb): small, and reads every common TGA kind
// (palette, grey, true colour, RLE, either row order) and binary PPM and PGM files.

#include <stb_image.h>

#include <cctype>
#include <memory>
#include <optional>
#include <vector>

#include "media/alpha_blend.h"
#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

using Bytes = std::vector<std::uint8_t>;

// A binary PNM file's header: "P5" (grey) or "P6" (colour), then width, height and the largest
// sample value as numbers between white space and comments, then one white space character.
struct PnmHeader {
    std::uint64_t width = 0, height = 0, maxValue = 0;
    std::uint64_t dataOffset = 0;
    std::uint64_t channels = 0;
};

// Read as stb_image reads it: a comment runs to the end of its line ('\n' or '\r'); a number
// above 2^31 - 1 is no header (stb_image refuses it too; a number cut short at some length
// would let the two readers disagree on the picture's size).
std::optional<PnmHeader> ParsePnmHeader(const Bytes& b) {
    if (b.size() < 2 || b[0] != 'P' || (b[1] != '5' && b[1] != '6')) return std::nullopt;
    std::size_t pos = 2;
    std::uint64_t numbers[3] = {};
    for (std::uint64_t& n : numbers) {
        for (;;) {  // white space and comments
            if (pos >= b.size()) return std::nullopt;
            if (b[pos] == '#') {
                while (pos < b.size() && b[pos] != '\n' && b[pos] != '\r') ++pos;
            } else if (std::isspace(b[pos])) {
                ++pos;
            } else {
                break;
            }
        }
        if (!std::isdigit(b[pos])) return std::nullopt;
        while (pos < b.size() && std::isdigit(b[pos])) {
            n = n * 10 + (b[pos++] - '0');
            if (n > 0x7FFFFFFF) return std::nullopt;
        }
    }
    PnmHeader h;
    h.width = numbers[0];
    h.height = numbers[1];
    h.maxValue = numbers[2];
    h.dataOffset = pos + 1;  // the one white space character before the samples
    h.channels = b[1] == '6' ? 3 : 1;
    return h;
}

// stb_image reads missing bytes as zeros; these checks make a file that ends before its pixels
// do an error rather than a picture with a black end.

// The text variants of PNM are not read. The header is followed by width x height samples.
bool CompletePnm(const Bytes& b) {
    const std::optional<PnmHeader> h = ParsePnmHeader(b);
    if (!h) return false;
    const std::uint64_t sample = h->maxValue > 255 ? 2 : 1;
    // Each side is below 2^31: the product of the sides cannot wrap, nor can the data's size
    // of a header that passes the first test.
    if (h->width * h->height > b.size()) return false;
    return h->dataOffset + h->width * h->height * h->channels * sample <= b.size();
}

// TGA has no signature: stb_image checks the header's fields; here the pixel data is walked,
// packet by packet for the RLE kinds.
bool CompleteTga(const Bytes& b) {
    if (b.size() < 18) return false;
    const int type = b[2];
    const std::uint64_t width = b[12] | (b[13] << 8), height = b[14] | (b[15] << 8);
    const std::uint64_t bytesPerPixel = (b[16] + 7u) / 8;
    const std::uint64_t mapLength = b[5] | (b[6] << 8), mapEntry = (b[7] + 7u) / 8;
    std::uint64_t pos = 18 + b[0] + (b[1] ? mapLength * mapEntry : 0);
    const std::uint64_t pixels = width * height;
    if (type < 8) return pos + pixels * bytesPerPixel <= b.size();
    for (std::uint64_t done = 0; done < pixels;) {
        if (pos >= b.size()) return false;
        const std::uint8_t packet = b[static_cast<std::size_t>(pos++)];
        const std::uint64_t count = (packet & 0x7Fu) + 1;
        pos += packet & 0x80 ? bytesPerPixel : count * bytesPerPixel;
        done += count;
    }
    return pos <= b.size();
}

[[noreturn]] void StbFail(const std::string& path, const char* kind) {
    throw IoError(
        io::kInvalidData,
        path + ": " + kind + ": " + (stbi_failure_reason() ? stbi_failure_reason() : "unreadable"));
}

// `sizeAgrees`: whether the size stb_image reads is the one `isKind` checked the file against.
// `wideMaxOf`: for files of 16-bit samples (PNM with a largest value above 255), that value.
// stb_image hands such samples over as it finds them in memory, most significant byte first
// as PNM stores them, and its own reduction to 8 bits takes the wrong byte; they are read with
// their 16 bits here and scaled by the largest value.
void LoadWithStb(const std::string& path, Picture& image, Colour background, const char* kind,
                 bool (*isKind)(const Bytes&), std::uint64_t (*wideMaxOf)(const Bytes&) = nullptr,
                 bool (*sizeAgrees)(const Bytes&, int, int) = nullptr) {
    Bytes bytes = ReadWholeFile(path);
    if (bytes.empty()) throw IoError(io::kReadPastEnd, path + ": empty file");
    if (!isKind(bytes))
        throw IoError(io::kInvalidData, path + ": not a " + std::string(kind) + " file");
    const std::uint64_t wideMax = wideMaxOf ? wideMaxOf(bytes) : 0;
    const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), size, &width, &height, &channels)) StbFail(path, kind);
    // The completeness check above read the size from the header itself: stb_image must agree.
    if (sizeAgrees && !sizeAgrees(bytes, width, height))
        throw IoError(io::kInvalidData, path + ": " + kind + ": unreadable header");
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), path);
    const bool wide = stbi_is_16_bit_from_memory(bytes.data(), size) != 0;
    if (wide && wideMax == 0) StbFail(path, kind);
    // Decoded with the file's own channels (grey, grey and alpha, RGB, RGBA), not converted by
    // stb_image: its conversion holds a second full-size copy, and on 16-bit samples it takes
    // them for 8-bit ones and reads past its buffer.
    const int infoWidth = width, infoHeight = height;
    std::unique_ptr<void, void (*)(void*)> pixels(
        wide ? static_cast<void*>(
                   stbi_load_16_from_memory(bytes.data(), size, &width, &height, &channels, 0))
             : static_cast<void*>(
                   stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, 0)),
        stbi_image_free);
    if (pixels && (width != infoWidth || height != infoHeight || channels < 1 || channels > 4))
        pixels.reset();
    if (!pixels) StbFail(path, kind);
    // The file's bytes go before the picture is made: a PNM file is as large as its pixels.
    Bytes().swap(bytes);

    Picture picture(width, height);
    const auto n = static_cast<std::size_t>(channels);
    const auto w = static_cast<std::size_t>(width);
    const auto* narrow = static_cast<const std::uint8_t*>(pixels.get());
    const auto* big = static_cast<const std::uint8_t*>(pixels.get());
    const auto sample = [&](std::size_t i) -> std::uint8_t {
        if (!wide) return narrow[i];
        const std::uint64_t v = std::min<std::uint64_t>(big[2 * i] << 8 | big[2 * i + 1], wideMax);
        return static_cast<std::uint8_t>((v * 255 + wideMax / 2) / wideMax);
    };
    std::vector<std::uint8_t> rgba(4 * w);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::size_t in = (y * w + x) * n;
            std::uint8_t* out = rgba.data() + 4 * x;
            for (std::size_t c = 0; c < 3; ++c) out[c] = sample(in + (n <= 2 ? 0 : c));
            out[3] = n == 2 ? sample(in + 1) : n == 4 ? sample(in + 3) : 255;
        }
        BlendRgbaRow(rgba.data(), picture.row(static_cast<int>(y)), width, background);
    }
    image = std::move(picture);
}

}  // namespace

void LoadTga(const std::string& path, Picture& image, Colour background) {
    LoadWithStb(path, image, background, "TGA", CompleteTga);
}

void LoadPnm(const std::string& path, Picture& image) {
    LoadWithStb(
        path, image, 0, "PNM", CompletePnm,
        [](const Bytes& b) -> std::uint64_t {
            const std::optional<PnmHeader> header = ParsePnmHeader(b);
            return header && header->maxValue > 255 ? header->maxValue : 0;
        },
        [](const Bytes& b, int width, int height) {
            const std::optional<PnmHeader> header = ParsePnmHeader(b);
            return header && header->width == static_cast<std::uint64_t>(width) &&
                   header->height == static_cast<std::uint64_t>(height);
        });
}

}  // namespace mozu
