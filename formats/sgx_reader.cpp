// Reading a SymbOS graphic strip by strip (DecodeSgxFile of picture_decoding.h).
#include <algorithm>
#include <cstring>

#include "formats/picture_decoding.h"
#include "formats/pixel_encoding.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

struct StripHeader {
    int bytes;
    int height;
};

// The 7 header bytes after the leading 0x40: type, width in bytes, width in pixels, height.
StripHeader ReadHeaderRest(ByteReader& r) {
    r.u8();  // type: the file type found on opening decides the encoding
    StripHeader h;
    h.bytes = r.u16();
    r.u16();  // width in pixels: bytes x pixels a byte
    h.height = r.u16();
    return h;
}

struct Strip {
    int offset;  // pixels
    int bytes;
    int height;
    std::span<const std::uint8_t> data;
};

}  // namespace

DecodedPicture DecodeSgxFile(std::span<const std::uint8_t> file, bool sixteen,
                             const std::string& name) {
    const PixelEncoding encoding = sixteen ? PixelEncoding::Nibbles : PixelEncoding::Mode1;
    const int ppb = PixelsPerByte(encoding);
    ByteReader r(file, name);
    r.seek(1);
    StripHeader header = ReadHeaderRest(r);
    int offset = 0;
    std::vector<Strip> strips;
    for (;;) {
        if (header.bytes == 0 || header.height == 0)
            throw IoError(io::kInvalidData, name + ": a strip of " + std::to_string(header.bytes) +
                                                " bytes by " + std::to_string(header.height) +
                                                " lines is no SymbOS graphic");
        if (offset + header.bytes * ppb > kSgxCanvasSize || header.height > kSgxCanvasSize)
            throw IoError(io::kInvalidData, name + ": the picture is larger than " +
                                                std::to_string(kSgxCanvasSize) + "x" +
                                                std::to_string(kSgxCanvasSize));
        const std::size_t size =
            static_cast<std::size_t>(header.bytes) * static_cast<std::size_t>(header.height);
        strips.push_back({offset, header.bytes, header.height, r.take(size)});
        if (r.position() == r.size()) break;  // the file ends after a strip
        const std::uint8_t next = r.u8();
        if (next == 0x00) break;
        if (next == 0x40) {
            offset += header.bytes * ppb;
            header = ReadHeaderRest(r);
        } else if (next == 0xFF) {
            r.u8();
            r.u8();
            if (r.u8() != 0x40) break;
            offset += header.bytes * ppb;
            header = ReadHeaderRest(r);
        }
        // Any other byte: another block of the same size at the same place.
    }
    DecodedPicture d;
    const Strip& last = strips.back();
    d.picture.width = last.offset + last.bytes * ppb;
    d.picture.height = last.height;
    // Strips need not cover the whole picture: what they leave is pen 0.
    d.picture.pens.resize(static_cast<std::size_t>(d.picture.width) *
                          static_cast<std::size_t>(d.picture.height));
    std::memset(d.picture.pens.data(), 0, d.picture.pens.size());
    std::vector<std::uint8_t> row;
    for (const Strip& s : strips) {
        row.resize(static_cast<std::size_t>(s.bytes * ppb));
        const int lines = std::min(s.height, d.picture.height);
        const int columns = std::min(s.bytes * ppb, d.picture.width - s.offset);
        for (int y = 0; y < lines; ++y) {
            DecodeBytes(encoding, s.data.data() + static_cast<std::size_t>(y * s.bytes), s.bytes,
                        row.data());
            std::memcpy(
                d.picture.pens.data() +
                    static_cast<std::size_t>(y) * static_cast<std::size_t>(d.picture.width) +
                    static_cast<std::size_t>(s.offset),
                row.data(), static_cast<std::size_t>(columns));
        }
    }
    return d;
}

}  // namespace mozu
