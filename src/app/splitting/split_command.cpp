#include "app/splitting/split_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "app/file_errors.h"
#include "app/splitting/find_in_file.h"
#include "marks/formats.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane::splitting {

namespace {

bool EndsWith(std::u16string_view name, std::u16string_view ending)
{
    if (name.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char16_t a, char16_t b) {
                          auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
                          return lower(a) == lower(b);
                      });
}

// "0.5" to 500; nullopt for anything else, and for pauses too short or too
// long to mean a sentence's end.
std::optional<int> PauseMs(const std::u16string& seconds)
{
    const std::string text = ToUtf8(seconds);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0.05 && value <= 10)) return std::nullopt;
    return static_cast<int>(std::lround(value * 1000));
}

SplitOutput Failure(std::u16string message)
{
    return {1, {}, std::move(message)};
}

} // namespace

SplitOutput RunSplit(const SplitRequest& request, audio::Decoder& decoder, Files& files, const CodePage& code_page,
                     mark_file::Encoding encoding)
{
    sentences::Settings settings;
    if (request.pause_seconds) {
        const std::optional<int> ms = PauseMs(*request.pause_seconds);
        if (!ms) return Failure(u"--pause 要一个 0.05 到 10 之间的秒数，例如 0.3");
        settings.min_pause_ms = *ms;
    }
    const Found found = FindInFile(decoder, request.file, settings, {}, {});
    if (found.end == Found::End::Failed) return Failure(u"无法分句“" + request.file + u"”：" + found.reason);

    SplitOutput output;
    if (found.end == Found::End::NoSpeech) output.message = u"“" + request.file + u"”中没有找到说话的声音";
    const std::vector<std::u16string> entries = SentenceEntries(found.starts_ms);
    if (request.to.empty()) {
        for (const std::u16string& entry : entries) output.out += ToUtf8(entry) + "\n";
        return output;
    }
    std::string bytes;
    if (EndsWith(request.to, u".srt"))
        bytes = mark_formats::WriteMarks(mark_formats::Format::Srt, entries, found.length_ms).bytes;
    else if (EndsWith(request.to, u".vtt"))
        bytes = mark_formats::WriteMarks(mark_formats::Format::WebVtt, entries, found.length_ms).bytes;
    else if (EndsWith(request.to, u"labels.txt"))
        bytes = mark_formats::WriteMarks(mark_formats::Format::AudacityLabels, entries, found.length_ms).bytes;
    else
        bytes = mark_file::EncodeLines(entries, code_page, encoding);
    if (const std::optional<FileError> failed = files.WriteReplacing(request.to, bytes))
        return Failure(u"无法写入“" + request.to + u"”：" + FileErrorText(*failed));
    return output;
}

SplitOutput RunSplit(const CommandLine& command_line, Files& files, const CodePage& code_page,
                     mark_file::Encoding encoding)
{
    const std::unique_ptr<audio::Decoder> decoder = audio::MakeDecoder();
    const SplitRequest request{command_line.sentences.value_or(u""), command_line.to.value_or(u""), command_line.pause};
    return RunSplit(request, *decoder, files, code_page, encoding);
}

} // namespace morvane::splitting
