#include "audio/decoder.h"
#include "audio/mono_resampler.h"

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <propidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace morvane::audio {
namespace {

using Kind = DecodeError::Kind;
using Microsoft::WRL::ComPtr;

constexpr DWORD kAudio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);

DecodeError ErrorOf(Kind kind, HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return DecodeError{kind, std::u16string(text, text + std::char_traits<char>::length(text))};
}

DecodeError OpenErrorOf(HRESULT hr) {
    switch (hr) {
    case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND): return DecodeError{Kind::NotFound, {}};
    case E_ACCESSDENIED:
    case HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION): return DecodeError{Kind::NoAccess, {}};
    case MF_E_UNSUPPORTED_BYTESTREAM_TYPE:
    case MF_E_UNSUPPORTED_FORMAT:
    case MF_E_INVALID_FILE_FORMAT:
    case MF_E_UNSUPPORTED_SCHEME: return DecodeError{Kind::NotAudio, {}};
    // No source for the file: Wine says no more than E_FAIL for a format
    // it does not know.
    default: return ErrorOf(Kind::NotAudio, hr);
    }
}

// Media Foundation's functions, looked up when a file is first decoded:
// Windows N lacks its DLLs, and a program that imported them would not
// start there at all.
struct MediaFoundation {
    decltype(&::MFStartup) startup = nullptr;
    decltype(&::MFShutdown) shutdown = nullptr;
    decltype(&::MFCreateMediaType) create_media_type = nullptr;
    decltype(&::MFCreateSourceReaderFromURL) create_source_reader = nullptr;
};

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

// Loaded once, from System32 only, and kept to the end of the program.
const MediaFoundation* LoadMediaFoundation() {
    static const std::optional<MediaFoundation> loaded = []() -> std::optional<MediaFoundation> {
        const HMODULE platform = LoadLibraryExW(L"mfplat.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const HMODULE reading = LoadLibraryExW(L"mfreadwrite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        MediaFoundation api;
        if (!platform || !reading || !Find(platform, "MFStartup", api.startup) ||
            !Find(platform, "MFShutdown", api.shutdown) || !Find(platform, "MFCreateMediaType", api.create_media_type) ||
            !Find(reading, "MFCreateSourceReaderFromURL", api.create_source_reader)) {
            return std::nullopt;
        }
        return api;
    }();
    return loaded ? &*loaded : nullptr;
}

// What the reader hands over, after it decoded.
struct Layout {
    int rate = 0;
    int channels = 0;
    bool floats = true;  // 32-bit floats; else 16-bit integers
};

class MediaFoundationDecoder final : public Decoder {
public:
    MediaFoundationDecoder() = default;
    ~MediaFoundationDecoder() override {
        reader_.Reset();
        if (started_) mf_->shutdown();
        if (com_) CoUninitialize();
    }
    MediaFoundationDecoder(const MediaFoundationDecoder&) = delete;
    MediaFoundationDecoder& operator=(const MediaFoundationDecoder&) = delete;

    std::optional<DecodeError> Open(const std::u16string& path) override;
    std::optional<std::int64_t> DurationMs() const override { return duration_ms_; }
    ReadResult Read(std::span<float> out) override;

private:
    std::optional<DecodeError> ChooseOutput();
    std::optional<DecodeError> ReadLayout();
    void Convert(const BYTE* bytes, DWORD size);

    const MediaFoundation* mf_ = nullptr;
    bool com_ = false;
    bool started_ = false;
    ComPtr<IMFSourceReader> reader_;
    Layout layout_;
    std::optional<MonoResampler> resampler_;
    std::optional<std::int64_t> duration_ms_;
    std::vector<float> pending_;
    std::size_t pending_at_ = 0;
    std::vector<float> interleaved_;
    std::int64_t handed_on_ = 0;
    bool ended_ = false;
};

std::optional<DecodeError> MediaFoundationDecoder::Open(const std::u16string& path) {
    // Decoding runs on a thread of its own; a thread already in a
    // single-threaded apartment serves Media Foundation as well.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) return ErrorOf(Kind::Other, com);
    com_ = SUCCEEDED(com);
    mf_ = LoadMediaFoundation();
    if (!mf_) return DecodeError{Kind::Unsupported, u"这个系统没有 Media Foundation"};
    if (const HRESULT hr = mf_->startup(MF_VERSION, MFSTARTUP_LITE); FAILED(hr)) return ErrorOf(Kind::Other, hr);
    started_ = true;

    const std::wstring file(path.begin(), path.end());
    if (const HRESULT hr = mf_->create_source_reader(file.c_str(), nullptr, &reader_); FAILED(hr)) {
        return OpenErrorOf(hr);
    }
    reader_->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    if (const HRESULT hr = reader_->SetStreamSelection(kAudio, TRUE); FAILED(hr)) {
        if (hr != MF_E_INVALIDSTREAMNUMBER) return ErrorOf(Kind::Other, hr);
        ComPtr<IMFMediaType> video;
        const bool has_video = SUCCEEDED(reader_->GetNativeMediaType(
            static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM), 0, &video));
        return DecodeError{has_video ? Kind::NoAudioTrack : Kind::NotAudio, {}};
    }
    if (auto error = ChooseOutput()) return error;

    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(reader_->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION,
                                                    &duration)) &&
        duration.vt == VT_UI8 && duration.uhVal.QuadPart > 0) {
        // In units of 100 ns.
        duration_ms_ = static_cast<std::int64_t>(duration.uhVal.QuadPart / 10'000);
    }
    PropVariantClear(&duration);
    return std::nullopt;
}

// Floats at the file's own rate and channels: the reader decodes, and the
// portable resampler does the rest, since not every reader resamples (the
// one Wine has does not). 16-bit integers where floats are refused.
std::optional<DecodeError> MediaFoundationDecoder::ChooseOutput() {
    HRESULT hr = E_FAIL;
    for (const GUID& subtype : {MFAudioFormat_Float, MFAudioFormat_PCM}) {
        ComPtr<IMFMediaType> type;
        if (FAILED(hr = mf_->create_media_type(&type))) return ErrorOf(Kind::Other, hr);
        type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
        type->SetGUID(MF_MT_SUBTYPE, subtype);
        if (subtype == MFAudioFormat_PCM) type->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, 16);
        if (SUCCEEDED(hr = reader_->SetCurrentMediaType(kAudio, nullptr, type.Get()))) return ReadLayout();
    }
    return ErrorOf(Kind::Unsupported, hr);
}

std::optional<DecodeError> MediaFoundationDecoder::ReadLayout() {
    ComPtr<IMFMediaType> type;
    if (const HRESULT hr = reader_->GetCurrentMediaType(kAudio, &type); FAILED(hr)) return ErrorOf(Kind::Other, hr);
    GUID subtype{};
    UINT32 rate = 0;
    UINT32 channels = 0;
    UINT32 bits = 0;
    type->GetGUID(MF_MT_SUBTYPE, &subtype);
    type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
    type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
    type->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits);
    const bool floats = subtype == MFAudioFormat_Float && bits == 32;
    const bool shorts = subtype == MFAudioFormat_PCM && bits == 16;
    if ((!floats && !shorts) || rate == 0 || channels == 0) return DecodeError{Kind::Unsupported, {}};
    // What the old resampler holds comes before a change of layout.
    if (resampler_) resampler_->Finish(pending_);
    layout_ = Layout{static_cast<int>(rate), static_cast<int>(channels), floats};
    resampler_.emplace(layout_.rate, layout_.channels, kDecodedRate);
    return std::nullopt;
}

void MediaFoundationDecoder::Convert(const BYTE* bytes, DWORD size) {
    interleaved_.clear();
    if (layout_.floats) {
        interleaved_.resize(size / sizeof(float));
        std::memcpy(interleaved_.data(), bytes, interleaved_.size() * sizeof(float));
    } else {
        interleaved_.resize(size / sizeof(std::int16_t));
        for (std::size_t i = 0; i < interleaved_.size(); ++i) {
            std::int16_t value;
            std::memcpy(&value, bytes + i * sizeof value, sizeof value);
            interleaved_[i] = static_cast<float>(value) / 32768.0f;
        }
    }
    resampler_->Push(interleaved_, pending_);
}

ReadResult MediaFoundationDecoder::Read(std::span<float> out) {
    for (;;) {
        if (pending_at_ < pending_.size()) {
            const std::size_t count = std::min(out.size(), pending_.size() - pending_at_);
            std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pending_at_), count, out.begin());
            pending_at_ += count;
            handed_on_ += static_cast<std::int64_t>(count);
            if (pending_at_ == pending_.size()) {
                pending_.clear();
                pending_at_ = 0;
            }
            return ReadResult{count, {}};
        }
        if (ended_) return ReadResult{};

        DWORD flags = 0;
        LONGLONG timestamp = 0;
        ComPtr<IMFSample> sample;
        const HRESULT hr = reader_->ReadSample(kAudio, 0, nullptr, &flags, &timestamp, &sample);
        if (FAILED(hr) || (flags & MF_SOURCE_READERF_ERROR)) {
            if (handed_on_ == 0) return ReadResult{0, DecodeError{Kind::NotAudio, {}}};
            return ReadResult{0, ErrorOf(Kind::Other, FAILED(hr) ? hr : E_FAIL)};
        }
        if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
            if (auto error = ReadLayout()) return ReadResult{0, error};
        }
        if (sample) {
            ComPtr<IMFMediaBuffer> buffer;
            BYTE* bytes = nullptr;
            DWORD size = 0;
            if (const HRESULT got = sample->ConvertToContiguousBuffer(&buffer); FAILED(got)) {
                return ReadResult{0, ErrorOf(Kind::Other, got)};
            }
            if (const HRESULT locked = buffer->Lock(&bytes, nullptr, &size); FAILED(locked)) {
                return ReadResult{0, ErrorOf(Kind::Other, locked)};
            }
            Convert(bytes, size);
            buffer->Unlock();
        }
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) {
            resampler_->Finish(pending_);
            ended_ = true;
        }
    }
}

} // namespace

std::unique_ptr<Decoder> MakeDecoder() {
    return std::make_unique<MediaFoundationDecoder>();
}

} // namespace morvane::audio
