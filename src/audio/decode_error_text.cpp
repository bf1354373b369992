#include "audio/decode_error_text.h"

namespace morvane::audio {

std::u16string DecodeErrorText(const DecodeError& error) {
    using Kind = DecodeError::Kind;
    std::u16string text;
    switch (error.kind) {
    case Kind::NotFound: text = u"找不到文件"; break;
    case Kind::NoAccess: text = u"没有读取这个文件的权限"; break;
    case Kind::Empty: text = u"文件是空的"; break;
    case Kind::NotAudio: text = u"这不是音频文件"; break;
    case Kind::NoAudioTrack: text = u"这个视频没有音轨"; break;
    case Kind::Unsupported: text = u"不能解码这种音频"; break;
    case Kind::Truncated: text = u"文件不完整，可能没有下载完或已经损坏"; break;
    case Kind::Damaged: text = u"文件已损坏或不完整，读不出声音"; break;
    case Kind::Changed: text = u"文件在分析时被改动了"; break;
    case Kind::Stream: text = u"不能分析网络流，只能分析本机上的文件"; break;
    case Kind::Other: text = u"读取音频失败"; break;
    }
    if (!error.detail.empty() && (error.kind == Kind::Unsupported || error.kind == Kind::Other)) {
        text += u"（" + error.detail + u"）";
    }
    return text;
}

} // namespace morvane::audio
