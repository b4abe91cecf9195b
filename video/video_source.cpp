#include "video/video_source.h"

#include <algorithm>

namespace mozu {

void VideoFrameSource::decodePicture(std::int32_t index, Picture& frame,
                                     std::vector<std::uint8_t>& scratch) {
    scratch.resize(frame.byteSize());
    decodeFrame(index, scratch);
    const int h = frame.height();
    const std::size_t stride = frame.stride();
    for (int y = 0; y < h; ++y)
        std::copy_n(scratch.data() + static_cast<std::size_t>(y) * stride, stride,
                    frame.row(h - 1 - y));
}

}  // namespace mozu
