// WebP input through libwebp: still pictures through the simple decoder, animations through
// the demuxer's animation decoder, of which the first frame on its canvas is taken. Everything
// arrives as red, green, blue, alpha and is laid over the background.

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <vector>

#include "media/alpha_blend.h"
#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

Picture Blended(const std::uint8_t* rgba, int width, int height, Colour background) {
    Picture picture(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        BlendRgbaRow(rgba + rowBytes * static_cast<std::size_t>(y), picture.row(y), width,
                     background);
    return picture;
}

// The RIFF container says how long it is: a file shorter than that was cut off.
bool CutShort(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return false;
    const std::uint64_t riff = static_cast<std::uint64_t>(bytes[4]) | bytes[5] << 8 |
                               bytes[6] << 16 | static_cast<std::uint64_t>(bytes[7]) << 24;
    return bytes.size() < riff + 8;
}

Picture FirstAnimationFrame(const std::vector<std::uint8_t>& bytes, const std::string& path,
                            Colour background) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        throw IoError(io::kInvalidData, path + ": WebP: decoder version mismatch");
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData data{bytes.data(), bytes.size()};
    struct Decoder {
        WebPAnimDecoder* d;
        ~Decoder() { WebPAnimDecoderDelete(d); }
    } decoder{WebPAnimDecoderNew(&data, &options)};
    if (!decoder.d)
        throw IoError(CutShort(bytes) ? io::kReadPastEnd : io::kInvalidData,
                      path + ": WebP: not a readable animation");
    WebPAnimInfo info;
    if (!WebPAnimDecoderGetInfo(decoder.d, &info))
        throw IoError(io::kInvalidData, path + ": WebP: no animation information");
    CheckPictureSize(info.canvas_width, info.canvas_height, path);
    std::uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.d, &canvas, &timestamp))
        throw IoError(CutShort(bytes) ? io::kReadPastEnd : io::kInvalidData,
                      path + ": WebP: the first frame cannot be decoded");
    return Blended(canvas, static_cast<int>(info.canvas_width),
                   static_cast<int>(info.canvas_height), background);
}

}  // namespace

void LoadWebp(const std::string& path, Picture& image, Colour background) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) throw IoError(io::kReadPastEnd, path + ": empty file");
    WebPBitstreamFeatures features;
    const VP8StatusCode status = WebPGetFeatures(bytes.data(), bytes.size(), &features);
    if (status == VP8_STATUS_NOT_ENOUGH_DATA)
        throw IoError(io::kReadPastEnd, path + ": WebP: the file ends early");
    if (status != VP8_STATUS_OK) throw IoError(io::kInvalidData, path + ": not a WebP file");
    // The size from the header, before anything of that size is made.
    CheckPictureSize(static_cast<std::uint64_t>(features.width),
                     static_cast<std::uint64_t>(features.height), path);
    if (features.has_animation) {
        image = FirstAnimationFrame(bytes, path, background);
        return;
    }
    const std::size_t stride = static_cast<std::size_t>(features.width) * 4;
    std::vector<std::uint8_t> rgba(stride * static_cast<std::size_t>(features.height));
    if (!WebPDecodeRGBAInto(bytes.data(), bytes.size(), rgba.data(), rgba.size(),
                            static_cast<int>(stride)))
        throw IoError(CutShort(bytes) ? io::kReadPastEnd : io::kInvalidData,
                      path + ": WebP: the picture cannot be decoded");
    image = Blended(rgba.data(), features.width, features.height, background);
}

}  // namespace mozu
