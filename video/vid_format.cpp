#include "video/vid_format.h"

#include <algorithm>

#include "video/video_navigation.h"

namespace mozu {

Slot VideoKindFor(int width, int height, bool sixteen) {
    const bool wide = height > 0 && static_cast<double>(width) / height >= 1.5;
    if (sixteen) return wide ? Slot::Video16Wide : Slot::Video16;
    return wide ? Slot::Video4Wide : Slot::Video4;
}

int FrameStepFor(std::int32_t fps) {
    if (fps < 16) return 1;
    if (fps <= 30) return 2;
    if (fps <= 45) return 3;
    return fps / 16 + 1;  // trunc(fps / step) <= 15
}

int VidFrameDataSize(int width, int height, bool sixteen) {
    return height * (sixteen ? width / 2 : width / 4);
}

int VidFrameSize(int dataSize) {
    return dataSize % 512 == 0 ? dataSize : (dataSize / 512 + 1) * 512;
}

VideoRunPlan PlanVideoRun(std::int32_t fps, std::int32_t startMark, std::int32_t endMark,
                          bool sixteen, int width, int height) {
    VideoRunPlan plan;
    plan.sixteen = sixteen;
    if (fps <= 0)
        throw VideoRefused(
            "The video plays at less than one frame per second; it cannot be converted");
    plan.step = FrameStepFor(fps);
    plan.rate = fps / plan.step;
    const std::int64_t frames = (static_cast<std::int64_t>(endMark) - startMark) / plan.step;
    if (frames < 1)
        throw VideoRefused("No frames to convert: set the end mark at least " +
                           std::to_string(plan.step) + " frames after the start mark");
    if (frames > kVidMaxFrames)
        throw VideoRefused(
            "Too many frames: a SymbOS video holds at most 65535 (this range gives " +
            std::to_string(frames) + ")");
    plan.frames = static_cast<std::int32_t>(frames);
    plan.width = width;
    plan.height = height;
    plan.dataSize = VidFrameDataSize(width, height, sixteen);
    if (width <= 0 || height <= 0 || plan.dataSize <= 0)
        throw VideoRefused("The video's frames are too small to convert");
    plan.frameSize = VidFrameSize(plan.dataSize);
    if (plan.frameSize > kVidMaxFrameSize)
        throw VideoRefused("The video's frames are too tall: a frame of " + std::to_string(width) +
                           " x " + std::to_string(height) + " needs more than 65535 bytes");
    return plan;
}

VideoDescription ParseVideoDescription(const std::string& answer) {
    VideoDescription d;
    std::size_t pos = 0;
    const auto take = [&]() {
        if (pos >= answer.size()) return std::string();
        const int length = static_cast<unsigned char>(answer[pos++]) - 32;
        const std::size_t n = std::min<std::size_t>(std::max(length, 0), answer.size() - pos);
        std::string text = answer.substr(pos, n);
        pos += n;
        if (text.size() > kVidTextSize) text.resize(kVidTextSize);
        return text;
    };
    d.title = take();
    d.information = take();
    return d;
}

std::string MakeVideoDescription(const std::string& title, const std::string& information) {
    const std::string t = title.substr(0, kVidTextSize);
    const std::string i = information.substr(0, kVidTextSize);
    return std::string(1, static_cast<char>(32 + t.size())) + t +
           std::string(1, static_cast<char>(32 + i.size())) + i;
}

std::array<std::uint8_t, kVidHeaderSize> MakeVidHeader(const VideoRunPlan& plan,
                                                       const std::string& title,
                                                       const std::string& information) {
    std::array<std::uint8_t, kVidHeaderSize> h{};
    std::copy_n(kVidMagic, 8, h.begin());
    h[kVidRateOffset] = static_cast<std::uint8_t>(plan.rate);
    h[kVidCountOffset] = static_cast<std::uint8_t>(plan.frames & 0xFF);
    h[kVidCountOffset + 1] = static_cast<std::uint8_t>((plan.frames >> 8) & 0xFF);
    h[kVidWidthOffset] = static_cast<std::uint8_t>(plan.width & 0xFF);
    h[kVidWidthOffset + 1] = static_cast<std::uint8_t>((plan.width >> 8) & 0xFF);
    h[kVidHeightOffset] = static_cast<std::uint8_t>(plan.height & 0xFF);
    h[kVidHeightOffset + 1] = static_cast<std::uint8_t>((plan.height >> 8) & 0xFF);
    h[kVidTypeOffset] = plan.sixteen ? kVidSixteenColours : kVidFourColours;
    h[kVidFrameSizeOffset] = static_cast<std::uint8_t>(plan.frameSize & 0xFF);
    h[kVidFrameSizeOffset + 1] = static_cast<std::uint8_t>((plan.frameSize >> 8) & 0xFF);
    const auto put = [&](int offset, const std::string& text) {
        const std::size_t n = std::min<std::size_t>(text.size(), kVidTextSize);
        std::copy_n(text.begin(), n, h.begin() + offset);
    };
    put(kVidTitleOffset, title);
    put(kVidInfoOffset, information);
    h[kVidModeOffset] = plan.sixteen ? 1 : 0;
    return h;
}

std::uint8_t EncodeFourPens(int p0, int p1, int p2, int p3) {
    const int p[4] = {p0, p1, p2, p3};
    int b = 0;
    for (int i = 0; i < 4; ++i) b |= ((p[i] & 1) << (7 - i)) | (((p[i] >> 1) & 1) << (3 - i));
    return static_cast<std::uint8_t>(b);
}

std::uint8_t EncodeTwoPens(int p0, int p1) {
    return static_cast<std::uint8_t>(((p0 & 15) << 4) | (p1 & 15));
}

void EncodeVidFrame(const Picture& pens, const VideoRunPlan& plan, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), 0);
    const int perByte = plan.sixteen ? 2 : 4;
    const int rowBytes = plan.width / perByte;
    for (int y = 0; y < plan.height; ++y) {
        const std::uint8_t* row = pens.row(y);
        std::uint8_t* o = out.data() + static_cast<std::size_t>(y) * rowBytes;
        // The pen of a pixel is its red byte, the third of blue, green, red.
        const auto pen = [&](int x) { return row[static_cast<std::size_t>(x) * 3 + 2]; };
        for (int b = 0; b < rowBytes; ++b) {
            const int x = b * perByte;
            o[b] = plan.sixteen ? EncodeTwoPens(pen(x), pen(x + 1))
                                : EncodeFourPens(pen(x), pen(x + 1), pen(x + 2), pen(x + 3));
        }
    }
}

std::string VideoRunDescription(std::int32_t frames, int rate) {
    const std::int64_t seconds = rate > 0 ? frames / rate : 0;
    return "SymbOS video\n\r" + RunningTimeText(seconds) + "\n\r" + std::to_string(rate) +
           " fps\n\r";
}

std::string FrameCounterText(std::int32_t k, std::int32_t frames) {
    return "Frame " + std::to_string(k) + " of " + std::to_string(frames);
}

}  // namespace mozu
