#include "media/bmp_decoder.h"

#include <algorithm>
#include <array>

#include "media/picture_limits.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Fail(int code, const std::string& path, const std::string& why) {
    throw IoError(code, path + ": " + why);
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kPlain = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

struct Header {
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows top-down
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::size_t paletteAt = 0;
    std::size_t pixelsAt = 0;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
};

Header ReadHeader(const Bytes& b, const std::string& path) {
    if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') Fail(io::kInvalidData, path, "not a BMP file");
    if (b.size() < kFileHeader + 4) Fail(io::kReadPastEnd, path, "truncated BMP header");
    Header h;
    h.infoSize = Le32(b, kFileHeader);
    if (b.size() < kFileHeader + std::max<std::uint32_t>(h.infoSize, 12))
        Fail(io::kReadPastEnd, path, "truncated BMP header");
    std::uint32_t planes = 1;
    if (h.infoSize == 12) {  // OS/2 and Windows 2 core header: 16-bit sizes, no compression
        h.width = static_cast<std::int16_t>(Le16(b, 18));
        h.height = static_cast<std::int16_t>(Le16(b, 20));
        planes = Le16(b, 22);
        h.bits = Le16(b, 24);
    } else if (h.infoSize >= 40) {
        h.width = static_cast<std::int32_t>(Le32(b, 18));
        h.height = static_cast<std::int32_t>(Le32(b, 22));
        planes = Le16(b, 26);
        h.bits = Le16(b, 28);
        h.compression = Le32(b, 30);
        h.coloursUsed = Le32(b, 46);
    } else {
        Fail(io::kInvalidData, path, "unknown BMP header size " + std::to_string(h.infoSize));
    }
    const std::uint32_t bits = h.bits;
    const std::uint32_t comp = h.compression;
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool knownKind = comp == kPlain || (bits == 4 && comp == kRle4) ||
                           (bits == 8 && comp == kRle8) ||
                           ((bits == 16 || bits == 32) && comp == kBitFields);
    if (!knownDepth || planes != 1 || !knownKind)
        Fail(io::kInvalidData, path,
             "unreadable BMP file: " + std::to_string(bits) + " bits, compression " +
                 std::to_string(comp));
    if (h.width < 0) Fail(io::kInvalidData, path, "negative BMP width");
    CheckPictureSize(static_cast<std::uint64_t>(h.width),
                     static_cast<std::uint64_t>(h.height < 0 ? -h.height : h.height), path);

    // Bit masks follow a 40-byte header (and stand inside the longer ones); the palette follows
    // the whole header.
    std::size_t pos = kFileHeader + h.infoSize;
    if (h.infoSize >= 40 && comp == kBitFields) {
        if (b.size() < kFileHeader + 40 + 12) Fail(io::kReadPastEnd, path, "truncated BMP header");
        for (std::size_t i = 0; i < 3; ++i) h.masks[i] = Le32(b, kFileHeader + 40 + 4 * i);
        if (h.infoSize == 40) pos += 12;
    }
    h.paletteAt = pos;
    if (bits <= 8) {
        const std::uint64_t colours = h.coloursUsed ? h.coloursUsed : 1u << bits;
        if (colours > 256)
            Fail(io::kInvalidData, path, "BMP palette of " + std::to_string(colours) + " colours");
        pos += colours * (h.infoSize == 12 ? 3 : 4);
        // The palette may not run into the end of the file.
        if (pos >= b.size()) Fail(io::kReadPastEnd, path, "truncated BMP palette");
    }
    // The pixels start at the header's offset, unless that points back into the headers.
    const std::uint32_t offset = Le32(b, 10);
    h.pixelsAt = std::max<std::size_t>(offset, pos);
    if (h.pixelsAt > b.size()) Fail(io::kReadPastEnd, path, "truncated BMP pixel data");
    return h;
}

// The palette as blue, green, red triples; entries past the stored ones are black, except that
// a one-bit picture with a single colour shows its other pixels white.
std::array<std::array<std::uint8_t, 3>, 256> ReadPalette(const Bytes& b, const Header& h) {
    std::array<std::array<std::uint8_t, 3>, 256> palette{};
    const std::size_t entry = h.infoSize == 12 ? 3 : 4;
    const std::size_t colours = h.coloursUsed ? h.coloursUsed : 1u << h.bits;
    for (std::size_t i = 0; i < colours; ++i) {
        const std::size_t at = h.paletteAt + i * entry;
        palette[i] = {b[at], b[at + 1], b[at + 2]};
    }
    if (h.bits == 1 && colours == 1) palette[1] = {255, 255, 255};
    return palette;
}

// Walks an RLE4/RLE8 stream without drawing it and tells whether it is complete: it must reach
// its end-of-bitmap code, or at least close every row, inside the file.
bool RleStreamComplete(const Bytes& b, std::size_t pos, bool rle8, std::uint64_t rows) {
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

// Draws an RLE stream into palette indexes, rows in stream order (bottom row first). Pixels the
// stream never reaches keep index 0; runs are cut at the end of their row.
void DrawRle(const Bytes& b, std::size_t pos, bool rle8, int width, int rows,
             std::vector<std::uint8_t>& index) {
    int x = 0, y = 0;
    auto put = [&](std::uint8_t value) {
        if (x < width) index[static_cast<std::size_t>(y) * width + x] = value;
        ++x;
    };
    while (y < rows && pos < b.size()) {
        const std::uint8_t count = b[pos++];
        if (count != 0) {
            if (pos >= b.size()) break;
            const std::uint8_t value = b[pos++];
            for (int i = 0; i < count; ++i) put(rle8 ? value : (i & 1 ? value & 0x0F : value >> 4));
            continue;
        }
        if (pos >= b.size()) break;
        const std::uint8_t code = b[pos++];
        if (code == 1) break;  // end of bitmap
        if (code == 0) {       // end of line
            x = 0;
            ++y;
        } else if (code == 2) {  // move: kept inside the picture
            const int dx = pos < b.size() ? b[pos] : 0;
            const int dy = pos + 1 < b.size() ? b[pos + 1] : 0;
            pos += 2;
            x = std::min(x + dx, width - 1);
            y = std::min(y + dy, rows - 1);
        } else {  // literal pixels, padded to a whole word
            const std::size_t n = rle8 ? code : (code + 1u) / 2;
            for (int i = 0; i < code; ++i) {
                const std::size_t at = pos + (rle8 ? i : i / 2);
                const std::uint8_t v = at < b.size() ? b[at] : 0;
                put(rle8 ? v : (i & 1 ? v & 0x0F : v >> 4));
            }
            pos += n + (n & 1);
        }
    }
}

}  // namespace

Picture DecodeBmp(const Bytes& b, const std::string& path) {
    const Header h = ReadHeader(b, path);
    const int width = static_cast<int>(h.width);
    const int rows = static_cast<int>(h.height < 0 ? -h.height : h.height);
    const bool topDown = h.height < 0;
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * h.bits + 31) / 32 * 4;
    if (rle) {
        if (h.pixelsAt >= b.size() ||
            !RleStreamComplete(b, h.pixelsAt, h.compression == kRle8, static_cast<unsigned>(rows)))
            Fail(io::kReadPastEnd, path, "truncated BMP pixel data");
    } else if (h.pixelsAt + stride * static_cast<std::uint64_t>(rows) > b.size()) {
        Fail(io::kReadPastEnd, path, "truncated BMP pixel data");
    }

    Picture picture(width, rows);
    // Row r of the file (in stored order) is picture row Target(r).
    auto target = [&](int r) { return topDown ? r : rows - 1 - r; };

    if (h.bits <= 8) {
        const auto palette = ReadPalette(b, h);
        auto paint = [&](int y, auto indexAt) {
            std::uint8_t* out = picture.row(y);
            for (int x = 0; x < width; ++x, out += 3) {
                const auto& c = palette[indexAt(x)];
                out[0] = c[0];
                out[1] = c[1];
                out[2] = c[2];
            }
        };
        if (rle) {
            // The one working copy: a palette index per pixel.
            std::vector<std::uint8_t> index(static_cast<std::size_t>(width) * rows, 0);
            DrawRle(b, h.pixelsAt, h.compression == kRle8, width, rows, index);
            for (int r = 0; r < rows; ++r) {
                const std::uint8_t* in = index.data() + static_cast<std::size_t>(r) * width;
                paint(target(r), [&](int x) { return in[x]; });
            }
        } else {
            for (int r = 0; r < rows; ++r) {
                const std::uint8_t* in = b.data() + h.pixelsAt + r * stride;
                switch (h.bits) {
                    case 1:
                        paint(target(r), [&](int x) { return (in[x >> 3] >> (7 - (x & 7))) & 1; });
                        break;
                    case 4:
                        paint(target(r),
                              [&](int x) { return x & 1 ? in[x >> 1] & 0x0F : in[x >> 1] >> 4; });
                        break;
                    default:
                        paint(target(r), [&](int x) { return in[x]; });
                        break;
                }
            }
        }
        return picture;
    }

    // 16, 24 and 32 bits: each channel is (pixel & mask) >> shift, times 256 / (mask range + 1),
    // so five bits widen to 0-248 and six to 0-252; eight-bit channels stay as stored.
    std::array<std::uint32_t, 3> mask{0x00FF0000, 0x0000FF00, 0x000000FF};
    std::array<int, 3> shift{16, 8, 0};
    std::array<std::uint32_t, 3> scale{1, 1, 1};
    if (h.compression == kBitFields) {
        mask = h.masks;
        for (std::size_t i = 0; i < 3; ++i) {
            shift[i] = 0;
            while (mask[i] && !((mask[i] >> shift[i]) & 1)) ++shift[i];
            const std::uint64_t range = std::uint64_t{mask[i] >> shift[i]} + 1;
            scale[i] = static_cast<std::uint32_t>(256 / range);
        }
    } else if (h.bits == 16) {
        mask = {0x7C00, 0x03E0, 0x001F};
        shift = {7, 2, 0};
        scale = {1, 1, 8};
    }
    const int bytesPerPixel = static_cast<int>(h.bits / 8);
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* in = b.data() + h.pixelsAt + r * stride;
        std::uint8_t* out = picture.row(target(r));
        for (int x = 0; x < width; ++x, in += bytesPerPixel, out += 3) {
            std::uint32_t c = in[0] | (in[1] << 8);
            if (bytesPerPixel > 2) c |= static_cast<std::uint32_t>(in[2]) << 16;
            if (bytesPerPixel > 3) c |= static_cast<std::uint32_t>(in[3]) << 24;
            out[2] = static_cast<std::uint8_t>(((c & mask[0]) >> shift[0]) * scale[0]);
            out[1] = static_cast<std::uint8_t>(((c & mask[1]) >> shift[1]) * scale[1]);
            out[0] = static_cast<std::uint8_t>(((c & mask[2]) >> shift[2]) * scale[2]);
        }
    }
    return picture;
}

}  // namespace mozu
