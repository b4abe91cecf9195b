#include "video/vid_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/io_error.h"
#include "video/vid_format.h"

namespace mozu {

namespace {
// Wider than any frame the writer makes (240), narrow enough to refuse nonsense early.
constexpr int kMaxVidWidth = 1024;
}  // namespace

VidReader::VidReader() = default;
VidReader::~VidReader() = default;

void VidReader::open(const ColourTable& colours, const std::string& path) {
    close();
    auto file = std::make_unique<InputFile>(path);
    const auto refuse = [&](const std::string& why) {
        throw IoError(io::kInvalidData, path + " is not a SymbOS video: " + why);
    };
    if (file->size() < static_cast<std::uint64_t>(kVidHeaderSize)) refuse("the file is too short");
    std::array<std::uint8_t, kVidHeaderSize> h{};
    file->readAt(0, h);
    if (std::memcmp(h.data(), kVidMagic, 8) != 0) refuse("no SymVid10 mark");

    const int rate = h[kVidRateOffset];
    const std::int32_t frames =
        h[kVidCountOffset] | (h[kVidCountOffset + 1] << 8) | (h[kVidCountOffset + 2] << 16);
    const int width = h[kVidWidthOffset] | (h[kVidWidthOffset + 1] << 8);
    const int height = h[kVidHeightOffset] | (h[kVidHeightOffset + 1] << 8);
    const int type = h[kVidTypeOffset];
    // Byte 53, the frame size's third byte, is not read: sizes are 16 bits.
    const int frameSize = h[kVidFrameSizeOffset] | (h[kVidFrameSizeOffset + 1] << 8);

    if (type != kVidFourColours && type != kVidSixteenColours)
        refuse("colour type " + std::to_string(type));
    const bool sixteen = type == kVidSixteenColours;
    const int perByte = sixteen ? 2 : 4;
    if (width < perByte || width > kMaxVidWidth || width % perByte != 0)
        refuse("frame width " + std::to_string(width));
    if (height < 1) refuse("frame height 0");
    const std::int64_t data = std::int64_t{height} * (width / perByte);
    if (data > frameSize)
        refuse("frames of " + std::to_string(width) + " x " + std::to_string(height) +
               " do not fit the frame size " + std::to_string(frameSize));
    if (frames < 1) refuse("no frames");
    const std::uint64_t need =
        kVidHeaderSize + static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(frameSize);
    if (need > file->size())
        refuse("the header claims " + std::to_string(frames) + " frames, the file holds " +
               std::to_string((file->size() - kVidHeaderSize) /
                              static_cast<std::uint64_t>(frameSize)));

    const auto text = [&](int offset) {
        const auto* begin = h.data() + offset;
        return std::string(begin, std::find(begin, begin + kVidTextSize, 0));
    };
    file_ = std::move(file);
    path_ = path;
    frameRate_ = rate;
    frameCount_ = frames;
    width_ = width;
    height_ = height;
    colourType_ = type;
    frameSize_ = frameSize;
    title_ = text(kVidTitleOffset);
    information_ = text(kVidInfoOffset);
    palette_.fill(0);
    std::copy_n(colours.begin(), sixteen ? 17 : 4, palette_.begin());
    picture_.reset(width_, height_);
    bytes_.assign(static_cast<std::size_t>(data), 0);
}

void VidReader::close() {
    file_.reset();
    picture_ = Picture();
    bytes_ = {};
}

const Picture& VidReader::decodeFrame(std::int32_t index) {
    if (!file_) throw IoError(io::kFileNotOpen, "no SymbOS video is open");
    if (index < 0 || index >= frameCount_)
        throw IoError(io::kReadPastEnd, "frame " + std::to_string(index) + " is past the end of " +
                                            path_ + " (" + std::to_string(frameCount_) +
                                            " frames)");
    file_->readAt(kVidHeaderSize + static_cast<std::uint64_t>(index) * frameSize_, bytes_);
    const bool sixteen = colourType_ == kVidSixteenColours;
    const int rowBytes = width_ / (sixteen ? 2 : 4);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = bytes_.data() + static_cast<std::size_t>(y) * rowBytes;
        int x = 0;
        for (int i = 0; i < rowBytes; ++i) {
            const int b = in[i];
            if (sixteen) {
                picture_.setPixel(x++, y, palette_[static_cast<std::size_t>(b >> 4)]);
                picture_.setPixel(x++, y, palette_[static_cast<std::size_t>(b & 15)]);
            } else {
                for (int p = 0; p < 4; ++p) {
                    const int pen = ((b >> (7 - p)) & 1) | (((b >> (3 - p)) & 1) << 1);
                    picture_.setPixel(x++, y, palette_[static_cast<std::size_t>(pen)]);
                }
            }
        }
    }
    return picture_;
}

void OpenVIDfile(VidReader& reader, const ConversionState& state, VideoState& video,
                 const std::string& path) {
    reader.open(state.colourTable, path);
    video.symbosFrameCount = reader.frameCount();
    ResetVideoPosition(video, reader.frameCount());
}

void showVIDframe2(VidReader& reader, std::int32_t index, Picture& target) {
    const Picture& frame = reader.decodeFrame(index);
    if (!reader.sixteen()) {
        target = frame;
        return;
    }
    target.reset(frame.width(), frame.height() * 2);
    for (int y = 0; y < frame.height(); ++y) {
        std::copy_n(frame.row(y), frame.stride(), target.row(2 * y));
        std::copy_n(frame.row(y), frame.stride(), target.row(2 * y + 1));
    }
}

void CloseVIDfile(VidReader& reader) {
    reader.close();
}

std::string VidTitleLabel(const VidReader& reader) {
    return reader.title() + "\n\r" + reader.information();
}

std::string VidDescription(const VidReader& reader) {
    // A rate of 0 has no running time.
    const std::string time = reader.frameRate() > 0
                                 ? RunningTimeText(reader.frameCount() / reader.frameRate())
                                 : std::string("--:--:--");
    return "SymbOS video\n\r" + time + "\n\r" + std::to_string(reader.frameRate()) + " fps\n\r" +
           (reader.sixteen() ? "16 colors" : "4 colors");
}

int VidPlayInterval(const VidReader& reader) {
    return reader.frameRate() > 0 ? 1000 / reader.frameRate() : 0;
}

Picture VideoPensToColours(const ColourTable& colours, const Picture& pens) {
    Picture out(pens.width(), pens.height());
    for (int y = 0; y < pens.height(); ++y)
        for (int x = 0; x < pens.width(); ++x)
            out.setPixel(x, y, colours[static_cast<std::size_t>(pens.row(y)[x * 3 + 2] & 15)]);
    return out;
}

}  // namespace mozu
