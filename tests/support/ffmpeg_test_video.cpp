#include "tests/support/ffmpeg_test_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "platform/io_error.h"

namespace mozu::test {

bool HasVideoEncoder(const std::string& name) {
    return avcodec_find_encoder_by_name(name.c_str()) != nullptr;
}

namespace {

struct Encoder {
    AVFormatContext* fmt = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* sws = nullptr;
    std::string path;

    ~Encoder() {
        sws_freeContext(sws);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (fmt) {
            if (fmt->pb) avio_closep(&fmt->pb);
            avformat_free_context(fmt);
        }
    }

    void check(int err, const char* what) const {
        if (err < 0) {
            char text[AV_ERROR_MAX_STRING_SIZE] = {};
            av_strerror(err, text, sizeof text);
            throw IoError(io::kDeviceWriteFault,
                          std::string(what) + " failed for " + path + ": " + text);
        }
    }

    void drain(AVFrame* in) {
        check(avcodec_send_frame(codec, in), "encoding");
        for (;;) {
            const int err = avcodec_receive_packet(codec, packet);
            if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return;
            check(err, "encoding");
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(av_interleaved_write_frame(fmt, packet), "writing");
        }
    }
};

}  // namespace

void WriteTestVideo(const std::string& path, const TestVideoRecipe& recipe,
                    const std::function<void(int, Picture&)>& paint) {
    Encoder e;
    e.path = path;
    e.check(avformat_alloc_output_context2(&e.fmt, nullptr, nullptr, path.c_str()),
            "choosing a container");
    const AVCodec* codec = avcodec_find_encoder_by_name(recipe.encoder.c_str());
    if (!codec) throw IoError(io::kInvalidData, "no encoder " + recipe.encoder);
    e.stream = avformat_new_stream(e.fmt, nullptr);
    e.codec = avcodec_alloc_context3(codec);
    if (!e.stream || !e.codec) throw IoError(io::kInvalidData, "out of memory");
    e.codec->width = recipe.width;
    e.codec->height = recipe.height;
    e.codec->time_base = AVRational{recipe.fpsDen, recipe.fpsNum};
    e.codec->framerate = AVRational{recipe.fpsNum, recipe.fpsDen};
    e.codec->gop_size = recipe.gop;
    e.codec->max_b_frames = recipe.maxBFrames;
    if (recipe.bitRate > 0) e.codec->bit_rate = recipe.bitRate;
    // Raw frames keep the painted pixels exactly: fixtures that pin converted bytes do not
    // move with the encoders of the FFmpeg at hand.
    const bool raw = recipe.encoder == "rawvideo";
    e.codec->pix_fmt = raw                         ? AV_PIX_FMT_BGR24
                       : recipe.encoder == "mjpeg" ? AV_PIX_FMT_YUVJ420P
                                                   : AV_PIX_FMT_YUV420P;
    if (!raw && recipe.encoder != "libx264" && recipe.bitRate == 0) {
        e.codec->flags |= AV_CODEC_FLAG_QSCALE;
        e.codec->global_quality = FF_QP2LAMBDA * 3;
    }
    if (recipe.encoder == "libx264") {
        av_opt_set(e.codec->priv_data, "preset", "veryfast", 0);
        av_opt_set(e.codec->priv_data, "crf", "20", 0);
    }
    if (e.fmt->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    e.check(avcodec_open2(e.codec, codec, nullptr), "opening the encoder");
    e.check(avcodec_parameters_from_context(e.stream->codecpar, e.codec), "setting the stream");
    e.stream->time_base = e.codec->time_base;
    e.stream->avg_frame_rate = e.codec->framerate;
    e.check(avio_open(&e.fmt->pb, path.c_str(), AVIO_FLAG_WRITE), "creating the file");
    e.check(avformat_write_header(e.fmt, nullptr), "writing the header");

    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    e.frame->format = e.codec->pix_fmt;
    e.frame->width = recipe.width;
    e.frame->height = recipe.height;
    e.check(av_frame_get_buffer(e.frame, 0), "allocating a frame");
    e.sws =
        sws_getContext(recipe.width, recipe.height, AV_PIX_FMT_BGR24, recipe.width, recipe.height,
                       e.codec->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!e.sws) throw IoError(io::kInvalidData, "no colour conversion for " + path);
    Picture picture(recipe.width, recipe.height);
    for (int i = 0; i < recipe.frames; ++i) {
        paint(i, picture);
        e.check(av_frame_make_writable(e.frame), "allocating a frame");
        const std::uint8_t* src[1] = {picture.data()};
        const int srcStride[1] = {static_cast<int>(picture.stride())};
        sws_scale(e.sws, src, srcStride, 0, recipe.height, e.frame->data, e.frame->linesize);
        e.frame->pts = i;
        e.drain(e.frame);
    }
    e.drain(nullptr);
    e.check(av_write_trailer(e.fmt), "finishing the file");
}

}  // namespace mozu::test
