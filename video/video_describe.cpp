#include "video/video_describe.h"

#include "video/vid_reader.h"
#include "video/video_navigation.h"

namespace mozu {

std::string DescribePcVideo(const VideoInfo& info) {
    return "Video\n\r" + VideoInfoText(info, info.frameCount) + "\n\r" +
           std::to_string(info.width) + "x" + std::to_string(info.height) + "\n\r" +
           std::to_string(info.frameCount) + " frames";
}

std::string DescribePcVideoFile(VideoFrameSource& source, const std::string& path) {
    const VideoInfo info = source.open(path);
    source.close();
    return DescribePcVideo(info);
}

Picture PcVideoFrame(VideoFrameSource& source, const std::string& path, std::int32_t index) {
    VideoState v;
    struct Borrowed : VideoFrameSource {
        explicit Borrowed(VideoFrameSource& s) : s(s) {}
        const VideoInfo& open(const std::string& p) override { return s.open(p); }
        void decodeFrame(std::int32_t i, std::span<std::uint8_t> b) override {
            s.decodeFrame(i, b);
        }
        void close() override { s.close(); }
        VideoFrameSource& s;
    };
    v.source = std::make_unique<Borrowed>(source);
    OpenVideoSource(v, path);
    DecodeVideoFrame(v, index);
    Picture frame = std::move(v.frame);
    CloseVideoSource(v);
    return frame;
}

std::string DescribeVidFile(const ColourTable& colours, const std::string& path) {
    VidReader reader;
    reader.open(colours, path);
    return VidDescription(reader) + "\n\r" + std::to_string(reader.width()) + "x" +
           std::to_string(reader.height()) + "\n\r" + std::to_string(reader.frameCount()) +
           " frames\n\r" + VidTitleLabel(reader);
}

Picture VidFileFrame(const ColourTable& colours, const std::string& path, std::int32_t index) {
    VidReader reader;
    reader.open(colours, path);
    Picture target;
    showVIDframe2(reader, index, target);
    return target;
}

}  // namespace mozu
