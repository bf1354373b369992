// 自动分句 beside each player on a spoken lesson of ten sentences (tests/windows/lesson): ten marks, each at
// most 100 ms before its sentence and never after; 跳到下一条 steps through them; 复读这一段 on the third
// keeps to that sentence. And morvane.exe --sentences without a window.

#include <climits>
#include <cstdio>
#include <sstream>

#include "list_menu.h"
#include "screenshot.h"

namespace morvane::e2e {
namespace {

constexpr int kBeforeMs = 100;

std::wstring Lesson(const std::wstring& file) { return BesideThisProgram(L"lesson\\" + file); }

std::vector<int> TrueStarts()
{
    std::istringstream text(ReadBytes(Lesson(L"starts.txt")).value_or(""));
    std::vector<int> starts;
    for (int ms = 0; text >> ms;) starts.push_back(ms);
    return starts;
}

// Each mark within kBeforeMs before its sentence, and at most late_ms after it.
void ExpectJustBefore(const std::vector<int>& marks, int late_ms = 0)
{
    const std::vector<int> truth = TrueStarts();
    ASSERT_EQ(truth.size(), 10u);
    ASSERT_EQ(marks.size(), truth.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        EXPECT_GE(marks[i], truth[i] - kBeforeMs) << "sentence " << i + 1;
        EXPECT_LE(marks[i], truth[i] + late_ms) << "sentence " << i + 1;
    }
}

class Sentences : public ListMenuTest {
protected:
    std::vector<int> Marks()
    {
        std::vector<int> marks;
        for (const std::wstring& entry : ListEntries(Control(IDC_MARK_LIST)).value_or(std::vector<std::wstring>{})) {
            int minutes = 0, seconds = 0, ms = 0;
            if (std::swscanf(entry.c_str(), L"[%d:%d:%d]", &minutes, &seconds, &ms) == 3)
                marks.push_back((minutes * 60 + seconds) * 1000 + ms);
        }
        return marks;
    }
    // 自动分句 from the list's menu (third from its end: 分句停顿 and 标记随录音保存 follow) on the player's file.
    void Split(const std::wstring& file, std::vector<int>& marks)
    {
        ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position 0 --file " + Quoted(file)));
        ASSERT_TRUE(ToForeground(morvane->window));
        // A key sent into the menu is now and then lost under Wine: the menu then
        // closes on another item, and the state line never tells of a search.
        const auto searching = [&] {
            return Marks().size() >= 10 || TextOf(Control(IDC_STATE_LINE)).value_or(L"").starts_with(L"正在分句");
        };
        for (int attempt = 0; attempt < 2 && !searching(); ++attempt) {
            ASSERT_TRUE(Choose(RightClick(EntryPoint(0)), {VK_END, VK_UP, VK_UP, VK_RETURN}));
            PollUntil(searching, 5000, 20);
        }
        PollUntil([&] { return Marks().size() >= 10; }, 180000, 100);
        Sleep(500);  // one more would show too
        marks = Marks();
    }
};
using SentencesInMp3 = Sentences;

TEST_P(Sentences, TenMarksThatStepAndRepeat)
{
    std::vector<int> marks;
    ASSERT_NO_FATAL_FAILURE(Split(Lesson(L"lesson.wav"), marks));
    ASSERT_NO_FATAL_FAILURE(ExpectJustBefore(marks));
    EXPECT_TRUE(SaveWindowBmp(morvane->window, OutPath(L"sentences-" + Kind().option + L".bmp")));

    // 跳到下一条 from the paused start: the first three marks in turn.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Choose(RightClick(EntryPoint(0)), {VK_END, VK_UP, VK_UP, VK_UP, VK_RETURN}));
        EXPECT_TRUE(PlayerAt(marks[i])) << "mark " << i + 1;
    }
    // 复读这一段 on the third: back to its start twice, never before it nor on into the fourth.
    ASSERT_TRUE(Choose(RightClick(EntryPoint(2)), {VK_HOME, VK_RETURN}));
    int arrivals = 0, lowest = INT_MAX, highest = 0, last_ms = marks[3];
    const bool repeated = PollUntil(
        [&] {
            const auto at = StandinPositionMs(player->window);
            if (!at) return false;
            arrivals += *at < marks[2] + 300 && last_ms >= marks[2] + 300;
            last_ms = *at;
            lowest = std::min(lowest, *at);
            highest = std::max(highest, *at);
            return arrivals == 3;
        },
        30000, 10);
    EXPECT_TRUE(repeated) << arrivals << " arrivals at the third sentence";
    EXPECT_GE(lowest, marks[2]);
    EXPECT_LE(highest, marks[3] + 300) << "played on into the fourth sentence";
}

// Wine's decoder (GStreamer) keeps the MP3 encoder's delay of 1105 samples, 25 ms at 44.1 kHz.
TEST_P(SentencesInMp3, TenMarksJustBeforeTheirSentences)
{
    std::vector<int> marks;
    ASSERT_NO_FATAL_FAILURE(Split(Lesson(L"lesson.mp3"), marks));
    ExpectJustBefore(marks, 30);
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, Sentences, ::testing::ValuesIn(PlayerKinds()), KindName);
INSTANTIATE_TEST_SUITE_P(Winamp, SentencesInMp3, ::testing::Values(WinampKind()), KindName);

// morvane.exe with these arguments, its standard output and error going to files; its exit code.
std::optional<DWORD> RunMorvane(const std::wstring& arguments, const std::wstring& out, const std::wstring& error)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    // Shared for writing as a command prompt's redirections are: under Wine the message to standard error is
    // lost otherwise.
    const auto open = [&](const std::wstring& path) {
        return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, CREATE_ALWAYS, 0, nullptr);
    };
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = open(out);
    start.hStdError = open(error);
    std::wstring command = Quoted(BesideThisProgram(L"morvane.exe")) + L" " + arguments;
    PROCESS_INFORMATION started{};
    std::optional<DWORD> code;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &started)) {
        DWORD exit_code = 0;
        // A message box instead of standard error would keep it running.
        if (WaitForSingleObject(started.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(started.hProcess, &exit_code))
            code = exit_code;
        else
            TerminateProcess(started.hProcess, 1);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    CloseHandle(start.hStdOutput);
    CloseHandle(start.hStdError);
    return code;
}

TEST(SentencesCommand, SubtitlesStandardOutputAndAMissingFile)
{
    const std::wstring srt = OutPath(L"lesson.srt"), out = OutPath(L"sentences-out.txt"), error = OutPath(L"sentences-error.txt");
    DeleteFileW(srt.c_str());
    ASSERT_EQ(RunMorvane(L"--sentences " + Quoted(Lesson(L"lesson.wav")) + L" --to " + Quoted(srt), out, error), 0u);
    std::istringstream cues(ReadBytes(srt).value_or(""));
    std::vector<int> starts;
    for (std::string line; std::getline(cues, line);) {
        int hours = 0, minutes = 0, seconds = 0, ms = 0;
        if (std::sscanf(line.c_str(), "%d:%d:%d,%d -->", &hours, &minutes, &seconds, &ms) == 4)
            starts.push_back(((hours * 60 + minutes) * 60 + seconds) * 1000 + ms);
    }
    ExpectJustBefore(starts);

    // Without --to: one entry a line, the same starts.
    ASSERT_EQ(RunMorvane(L"--sentences " + Quoted(Lesson(L"lesson.wav")), out, error), 0u);
    std::istringstream lines(ReadBytes(out).value_or(""));
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const std::wstring stamp = Stamp(count < starts.size() ? starts[count] : 0);
        EXPECT_EQ(line.substr(0, stamp.size()), std::string(stamp.begin(), stamp.end()));
    }
    EXPECT_EQ(count, starts.size());

    const auto missing = RunMorvane(L"--sentences " + Quoted(OutPath(L"没有这个文件.wav")), out, error);
    ASSERT_TRUE(missing) << "still running: a message box instead of standard error?";
    EXPECT_NE(*missing, 0u);
    EXPECT_NE(ReadBytes(error).value_or("").find("没有这个文件"), std::string::npos);

}

} // namespace
} // namespace morvane::e2e
