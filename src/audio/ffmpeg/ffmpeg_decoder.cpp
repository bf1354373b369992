#include "audio/decoder.h"
#include "text/utf8.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cerrno>
#include <vector>

namespace morvane::audio {
namespace {

using Kind = DecodeError::Kind;

// Silence put before a track that starts after the file does is capped, so
// a broken start time cannot ask for hours of it.
constexpr std::int64_t kMaxLeadMs = 60'000;

DecodeError ErrorOf(Kind kind, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return DecodeError{kind, FromUtf8Replacing(text)};
}

DecodeError OpenErrorOf(int code) {
    if (code == AVERROR(ENOENT)) return DecodeError{Kind::NotFound, {}};
    if (code == AVERROR(EACCES) || code == AVERROR(EPERM)) return DecodeError{Kind::NoAccess, {}};
    // EINVAL: a file that looks like a format only at a stretch (text taken
    // for an MP3) and then fails to parse as one.
    if (code == AVERROR_INVALIDDATA || code == AVERROR(EINVAL) || code == AVERROR(EISDIR)) {
        return DecodeError{Kind::NotAudio, {}};
    }
    return ErrorOf(Kind::Other, code);
}

// Whether the file's first bytes, not just its name, say it is of a format
// FFmpeg knows: an MP4 cut before its index is one, a text file is not.
bool LooksLikeMedia(const std::string& url) {
    AVIOContext* io = nullptr;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avio_open2(&io, url.c_str(), AVIO_FLAG_READ, nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    const AVInputFormat* format = nullptr;
    const int score = av_probe_input_buffer2(io, &format, nullptr, nullptr, 0, 0);
    avio_closep(&io);
    return score > AVPROBE_SCORE_EXTENSION;
}

class FfmpegDecoder final : public Decoder {
public:
    FfmpegDecoder() : packet_(av_packet_alloc()), frame_(av_frame_alloc()) {}
    ~FfmpegDecoder() override {
        swr_free(&resampler_);
        av_channel_layout_uninit(&in_layout_);
        avcodec_free_context(&codec_);
        avformat_close_input(&format_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
    }
    FfmpegDecoder(const FfmpegDecoder&) = delete;
    FfmpegDecoder& operator=(const FfmpegDecoder&) = delete;

    std::optional<DecodeError> Open(const std::u16string& path) override;
    std::optional<std::int64_t> DurationMs() const override { return duration_ms_; }
    ReadResult Read(std::span<float> out) override;

private:
    std::optional<DecodeError> OpenCodec();
    // Converts the frame in frame_ into pending_.
    std::optional<DecodeError> Convert();
    std::optional<DecodeError> Flush();
    std::optional<DecodeError> CheckLength() const;

    AVPacket* packet_;
    AVFrame* frame_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    // What resampler_ was made for.
    AVChannelLayout in_layout_{};
    int in_format_ = -1;
    int in_rate_ = 0;
    int stream_ = -1;
    std::optional<std::int64_t> duration_ms_;
    // Whether the declared length is read from the file, not guessed from
    // its size and bit rate.
    bool duration_exact_ = false;
    // Converted samples not yet read, from pending_at_ on.
    std::vector<float> pending_;
    std::size_t pending_at_ = 0;
    std::int64_t lead_left_ = 0;
    std::int64_t handed_on_ = 0;
    bool draining_ = false;
    bool ended_ = false;
};

std::optional<DecodeError> FfmpegDecoder::Open(const std::u16string& path) {
    if (!packet_ || !frame_) return DecodeError{Kind::Other, u"out of memory"};
    // "file:" and nothing but local files: a name with a colon is no
    // protocol, and a playlist cannot make it fetch from a network.
    const std::string url = "file:" + ToUtf8(path);
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&format_, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        DecodeError error = OpenErrorOf(opened);
        if (error.kind == Kind::NotAudio && LooksLikeMedia(url)) error.kind = Kind::Damaged;
        return error;
    }
    if (const int found = avformat_find_stream_info(format_, nullptr); found < 0) return OpenErrorOf(found);
    return OpenCodec();
}

std::optional<DecodeError> FfmpegDecoder::OpenCodec() {
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream_ == AVERROR_STREAM_NOT_FOUND) {
        for (unsigned i = 0; i < format_->nb_streams; ++i) {
            if (format_->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) return DecodeError{Kind::NoAudioTrack, {}};
        }
        return DecodeError{Kind::NotAudio, {}};
    }
    if (stream_ == AVERROR_DECODER_NOT_FOUND || (stream_ >= 0 && !decoder)) {
        return DecodeError{Kind::Unsupported, {}};
    }
    if (stream_ < 0) return ErrorOf(Kind::Other, stream_);
    // The demuxer skips what is not heard: a video's pictures stay unread.
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        if (static_cast<int>(i) != stream_) format_->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVStream* stream = format_->streams[stream_];
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_) return DecodeError{Kind::Other, u"out of memory"};
    if (const int copied = avcodec_parameters_to_context(codec_, stream->codecpar); copied < 0) {
        return ErrorOf(Kind::Other, copied);
    }
    if (const int opened = avcodec_open2(codec_, decoder, nullptr); opened < 0) {
        DecodeError error = ErrorOf(Kind::Unsupported, opened);
        error.detail = FromUtf8Replacing(decoder->name) + u": " + error.detail;
        return error;
    }

    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        duration_ms_ = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    } else if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) {
        duration_ms_ = av_rescale(format_->duration, 1000, AV_TIME_BASE);
    }
    duration_exact_ = format_->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE;
    // A track that starts after the file's first stream starts later in
    // the player too; its samples keep their place.
    if (stream->start_time != AV_NOPTS_VALUE && format_->start_time != AV_NOPTS_VALUE) {
        const std::int64_t lead_ms = av_rescale_q(stream->start_time, stream->time_base, AVRational{1, 1000}) -
                                     av_rescale(format_->start_time, 1000, AV_TIME_BASE);
        if (lead_ms > 0 && lead_ms <= kMaxLeadMs) lead_left_ = lead_ms * kDecodedRate / 1000;
    }
    return std::nullopt;
}

std::optional<DecodeError> FfmpegDecoder::Convert() {
    // A stream may change its rate or channels between frames: the
    // converter is made anew for them, after what it holds is out.
    const bool same = resampler_ && av_channel_layout_compare(&in_layout_, &frame_->ch_layout) == 0 &&
                      in_format_ == frame_->format && in_rate_ == frame_->sample_rate;
    if (resampler_ && !same) {
        if (auto error = Flush()) return error;
    }
    if (!resampler_) {
        av_channel_layout_uninit(&in_layout_);
        if (av_channel_layout_copy(&in_layout_, &frame_->ch_layout) < 0) return DecodeError{Kind::Other, u"out of memory"};
        in_format_ = frame_->format;
        in_rate_ = frame_->sample_rate;
        AVChannelLayout in_layout{};
        if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&in_layout, frame_->ch_layout.nb_channels);
        } else if (av_channel_layout_copy(&in_layout, &frame_->ch_layout) < 0) {
            return DecodeError{Kind::Other, u"out of memory"};
        }
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        int made = swr_alloc_set_opts2(&resampler_, &mono, AV_SAMPLE_FMT_FLT, kDecodedRate, &in_layout,
                                       static_cast<AVSampleFormat>(frame_->format), frame_->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in_layout);
        if (made >= 0) made = swr_init(resampler_);
        if (made < 0) {
            swr_free(&resampler_);
            return ErrorOf(Kind::Unsupported, made);
        }
    }
    const int room = swr_get_out_samples(resampler_, frame_->nb_samples);
    if (room < 0) return ErrorOf(Kind::Other, room);
    pending_.resize(static_cast<std::size_t>(room));
    auto* out = reinterpret_cast<std::uint8_t*>(pending_.data());
    const int converted = swr_convert(resampler_, &out, room, const_cast<const std::uint8_t**>(frame_->extended_data),
                                      frame_->nb_samples);
    if (converted < 0) return ErrorOf(Kind::Other, converted);
    pending_.resize(static_cast<std::size_t>(converted));
    pending_at_ = 0;
    return std::nullopt;
}

std::optional<DecodeError> FfmpegDecoder::Flush() {
    if (!resampler_) return std::nullopt;
    const int room = swr_get_out_samples(resampler_, 0);
    // Keeps what is pending: it comes first.
    std::vector<float> rest(pending_.begin() + static_cast<std::ptrdiff_t>(pending_at_), pending_.end());
    const std::size_t kept = rest.size();
    rest.resize(kept + static_cast<std::size_t>(std::max(room, 0)));
    auto* out = reinterpret_cast<std::uint8_t*>(rest.data() + kept);
    const int converted = room > 0 ? swr_convert(resampler_, &out, room, nullptr, 0) : 0;
    swr_free(&resampler_);
    if (converted < 0) return ErrorOf(Kind::Other, converted);
    rest.resize(kept + static_cast<std::size_t>(converted));
    pending_ = std::move(rest);
    pending_at_ = 0;
    return std::nullopt;
}

// A file whose header gives a length well past the sound it holds was cut
// short (an interrupted download or copy). A length guessed from size and
// bit rate says nothing of that.
std::optional<DecodeError> FfmpegDecoder::CheckLength() const {
    if (!duration_ms_ || !duration_exact_) return std::nullopt;
    const std::int64_t decoded_ms = handed_on_ * 1000 / kDecodedRate;
    if (decoded_ms + 500 < *duration_ms_ * 98 / 100) return DecodeError{Kind::Truncated, {}};
    return std::nullopt;
}

ReadResult FfmpegDecoder::Read(std::span<float> out) {
    for (;;) {
        if (lead_left_ > 0) {
            const auto count = static_cast<std::size_t>(std::min<std::int64_t>(lead_left_, std::ssize(out)));
            std::fill_n(out.begin(), count, 0.0f);
            lead_left_ -= static_cast<std::int64_t>(count);
            handed_on_ += static_cast<std::int64_t>(count);
            return ReadResult{count, {}};
        }
        if (pending_at_ < pending_.size()) {
            const std::size_t count = std::min(out.size(), pending_.size() - pending_at_);
            std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pending_at_), count, out.begin());
            pending_at_ += count;
            handed_on_ += static_cast<std::int64_t>(count);
            return ReadResult{count, {}};
        }
        if (ended_) {
            if (auto error = CheckLength()) return ReadResult{0, error};
            return ReadResult{};
        }

        const int received = avcodec_receive_frame(codec_, frame_);
        if (received == 0) {
            auto error = Convert();
            av_frame_unref(frame_);
            if (error) return ReadResult{0, error};
            continue;
        }
        // The end, or drained and still asking for more: nothing more will come.
        if (received == AVERROR_EOF || (received == AVERROR(EAGAIN) && draining_)) {
            ended_ = true;
            if (auto error = Flush()) return ReadResult{0, error};
            continue;
        }
        // A frame that did not decode is skipped, as players do.
        if (received == AVERROR_INVALIDDATA) continue;
        if (received != AVERROR(EAGAIN)) return ReadResult{0, ErrorOf(Kind::Other, received)};

        const int read = av_read_frame(format_, packet_);
        if (read == AVERROR_EOF) {
            draining_ = true;
            avcodec_send_packet(codec_, nullptr);
            continue;
        }
        // Nothing read yet: the format was a wrong guess (text taken for
        // an MP3). Later, an error of the disk or a cut mid-file: what came
        // before stands.
        if (read < 0 && handed_on_ == 0) return ReadResult{0, DecodeError{Kind::NotAudio, {}}};
        if (read < 0) {
            return ReadResult{0, read == AVERROR_INVALIDDATA ? DecodeError{Kind::Truncated, {}} : ErrorOf(Kind::Other, read)};
        }
        if (packet_->stream_index == stream_) {
            const int sent = avcodec_send_packet(codec_, packet_);
            // So is a damaged packet.
            if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR(EAGAIN)) {
                av_packet_unref(packet_);
                return ReadResult{0, ErrorOf(Kind::Other, sent)};
            }
        }
        av_packet_unref(packet_);
    }
}

} // namespace

std::unique_ptr<Decoder> MakeDecoder() {
    // Failures come back as values; FFmpeg's own log would only reach a
    // terminal nobody reads, or the output of --sentences.
    av_log_set_level(AV_LOG_QUIET);
    return std::make_unique<FfmpegDecoder>();
}

} // namespace morvane::audio
