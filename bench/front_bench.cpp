#include "front_bench.h"

#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "app/main_form.h"
#include "app/program.h"
#include "app/win32/control_ids.h"
#include "app/win32/controls.h"
#include "app/win32/main_window.h"
#include "app/win32/system_ports.h"
#include "app/win32/window_port.h"
#include "marks/mark_file.h"
#include "player/win32/desktop_players.h"
#include "player/win32/winamp_link.h"
#include "stamps/stamps.h"
#include "standin_protocol.h"
#include "stats.h"
#include "remote_window.h"

namespace bench {
namespace {

using morvane::MainForm;

constexpr int kBound = 32767;

// The window port with the file dialogs answered by fixed paths and the
// messages kept instead of shown; the caption goes to the real window.
class BenchWindow final : public morvane::Window {
public:
    explicit BenchWindow(morvane::Window& real) : real_(real) {}

    void SetCaption(const std::u16string& text) override { real_.SetCaption(text); }
    std::u16string Prompt(const std::u16string&, const std::u16string&, const std::u16string&, int) override
    {
        return {};
    }
    void ShowInfo(const std::u16string& text, const std::u16string&) override { messages.push_back(text); }
    bool AskYesNo(const std::u16string&, const std::u16string&) override { return true; }
    std::optional<ChosenFile> ChooseSavePath() override
    {
        if (!save_path) return std::nullopt;
        return ChosenFile{*save_path};
    }
    std::size_t AskChoice(const std::u16string&, const std::u16string&, const std::vector<std::u16string>& choices) override
    {
        return choices.size() - 1;
    }
    std::optional<std::u16string> ChooseOpenPath() override { return open_path; }
    std::optional<std::u16string> ChooseRecordingPath() override { return std::nullopt; }
    void Post(std::function<void()> task) override { real_.Post(std::move(task)); }
    void Quit() override {}

    std::optional<std::u16string> save_path;
    std::optional<std::u16string> open_path;
    std::vector<std::u16string> messages;

private:
    morvane::Window& real_;
};

// Dispatches everything waiting, paints included.
void Pump()
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Milliseconds for the call and the repaints it leaves behind: what the
// user waits before the window answers again.
double TimeMs(const std::function<void()>& call)
{
    Pump();
    const double start = NowSeconds();
    call();
    Pump();
    return (NowSeconds() - start) * 1000;
}

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// Entries as a user's list holds them: stamps in no order, about half with
// a note of up to 40 characters, Chinese and Latin mixed.
std::vector<std::u16string> SampleEntries(int count)
{
    static const std::u16string kWords[] = {u"复读", u"注意", u"这一句", u"第二遍", u"重点", u"phrase", u"again",
                                           u"听写", u"难句", u"ok"};
    std::mt19937 random(7);
    std::vector<std::u16string> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::u16string entry = morvane::FormatMs(static_cast<std::int32_t>(random() % 59'940'000));
        if (random() % 2 == 0) {
            entry += u" 注释:";
            const int parts = static_cast<int>(random() % 8);
            for (int k = 0; k < parts; ++k) entry += kWords[random() % 10];
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

struct Front {
    morvane::win32::MainWindow window;
    morvane::win32::AnsiCodePage code_page;
    std::optional<morvane::win32::WindowAdapter> real_port;
    std::optional<BenchWindow> port;
    std::optional<morvane::win32::WindowControls> controls;
    std::optional<morvane::win32::PollTimer> timer1;
    // The players as the program has them, so one window follows the
    // stand-in through each of its modes.
    morvane::win32players::DesktopPlayers players{code_page, std::nullopt};
    morvane::win32::AsyncKeyboard keyboard;
    morvane::win32::DiskFiles files;
    std::optional<morvane::Program> program;
    MainForm* form = nullptr;

    ~Front() { window.Attach(nullptr); }

    // The program put together as main.cpp does, without the user's files;
    // the timer never goes live, so nothing ticks unless the benchmark
    // calls the tick.
    bool Build()
    {
        using namespace morvane::win32;
        if (!window.Create(GetModuleHandleW(nullptr)).empty()) return false;
        real_port.emplace(window, code_page);
        port.emplace(*real_port);
        controls.emplace(window);
        timer1.emplace(window.Handle(), kTimer1Id);
        // Recording takes a bare stamp: no prompt.
        SendMessageW(window.Control(IDC_ASK_NOTE), BM_SETCHECK, BST_UNCHECKED, 0);
        program.emplace(morvane::FrontEnd{morvane::Ports{*controls, *port, *timer1, players.Chosen(), code_page, files,
                                                         morvane::mark_file::Encoding::Ansi},
                                          {},
                                          [this](const morvane::keys::KeyMap&) -> morvane::HotKeys& { return keyboard; }});
        form = &program->Form();
        window.Attach(form);
        if (!form->Form_Load()) return false;
        window.Show();
        Pump();
        return true;
    }

    int Count() const { return form->mark_list().Count(); }

    void Select(int index)
    {
        SendMessageW(window.Control(IDC_MARK_LIST), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        form->Mark_List_Click(index);
    }
};

void TickBench(Front& front, Report& report, int ticks)
{
    std::vector<double> tick_us;
    for (int i = 0; i < ticks + 50; ++i) {
        Pump();
        const double start = NowSeconds();
        front.form->Poll_Tick();
        if (i >= 50) tick_us.push_back((NowSeconds() - start) * 1e6);
    }
    // The messages of a tick alone, through the same player link.
    morvane::win32::AnsiCodePage code_page;
    morvane::winamp::WinampLink player(code_page);
    std::u16string title;
    std::vector<double> query_us;
    for (int i = 0; i < ticks + 50; ++i) {
        const double start = NowSeconds();
        player.Refresh();
        player.GetPlayState();
        player.GetLengthSec();
        player.GetPositionMs();
        player.ReadTitle(title);
        if (i >= 50) query_us.push_back((NowSeconds() - start) * 1e6);
    }
    std::fprintf(stderr, "  tick: median %.1f us (90th %.1f us); its queries alone: median %.1f us\n", Median(tick_us),
                 Percentile(tick_us, 0.9), Median(query_us));
    report.Add({"One poll tick, player playing (median of " + std::to_string(ticks) + " ticks)",
                Fixed(Median(tick_us), 1) + " µs (90th " + Fixed(Percentile(tick_us, 0.9), 1) + " µs)",
                "its four player messages alone: " + Fixed(Median(query_us), 1) + " µs", "-", Verdict::Info});
}

bool Fail(std::string& why, const char* reason)
{
    why = reason;
    return false;
}

struct OpTimes {
    std::vector<double> record, remove, clear, sort, save, load, copy;
};

// One round at the bound; false (with a reason) when an operation did not
// do what it must.
bool ListOperationsRound(Front& front, BenchWindow& port, const std::wstring& base, const std::wstring& saved,
               const std::wstring& copied, OpTimes& times, std::string& why)
{
    MainForm& form = *front.form;
    port.open_path = ToU16(base);
    form.Load_Click();
    if (front.Count() != kBound - 1) return Fail(why, "the base file did not load");

    times.record.push_back(TimeMs([&] { form.Record_Click(); }));
    if (front.Count() != kBound) return Fail(why, "recording did not add the last entry");

    port.save_path = ToU16(saved);
    times.save.push_back(TimeMs([&] { form.Save_Click(); }));
    if (!port.messages.empty()) return Fail(why, "the save reported a failure");
    times.copy.push_back(TimeMs([&] { CopyFileW(saved.c_str(), copied.c_str(), FALSE); }));

    port.open_path = ToU16(saved);
    times.load.push_back(TimeMs([&] { form.Load_Click(); }));
    if (front.Count() != kBound || !port.messages.empty()) return Fail(why, "the saved file did not load whole");

    times.sort.push_back(TimeMs([&] { form.Sort_Click(); }));
    const std::vector<std::u16string> sorted = form.mark_list().Entries();
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i] < sorted[i - 1]) return Fail(why, "the list is not in order after sorting");

    front.Select(kBound / 2);
    times.remove.push_back(TimeMs([&] { form.Delete_Click(); }));
    if (front.Count() != kBound - 1) return Fail(why, "the delete did not remove one entry");

    times.clear.push_back(TimeMs([&] { form.Clear_Click(); }));
    if (front.Count() != 0) return Fail(why, "the list is not empty after clearing");
    return true;
}

void ListOperationsBench(Front& front, BenchEnv& env, Report& report, int rounds)
{
    const std::wstring base = env.out_dir + L"\\bench-base.txt";
    const std::wstring saved = env.out_dir + L"\\bench-saved.txt";
    const std::wstring copied = env.out_dir + L"\\bench-copied.txt";
    const std::string bytes = morvane::mark_file::EncodeLines(SampleEntries(kBound - 1), front.code_page);
    if (!WriteWholeFile(base, bytes)) {
        report.Add({"List operations at 32 767 entries", "-", "-", "< 100 ms", Verdict::Failed});
        return;
    }

    OpTimes times;
    std::string why;
    for (int round = 0; round < rounds; ++round) {
        if (!ListOperationsRound(front, *front.port, base, saved, copied, times, why)) {
            report.Add({"List operations at 32 767 entries", why, "-", "< 100 ms", Verdict::Failed});
            return;
        }
        std::fprintf(stderr, "  ops round %d: record %.1f, save %.1f, copy %.1f, load %.1f, sort %.1f, delete %.1f, "
                             "clear %.1f ms\n",
                     round + 1, times.record.back(), times.save.back(), times.copy.back(), times.load.back(),
                     times.sort.back(), times.remove.back(), times.clear.back());
    }
    const double copy = Median(times.copy);
    const std::string reference = "copying the file: " + Fixed(copy, 2) + " ms";
    const std::string rounds_text = " (median of " + std::to_string(rounds) + ")";
    const auto row = [&](const std::string& what, const std::vector<double>& samples) {
        const double ms = Median(samples);
        report.Add({what + rounds_text, Fixed(ms, 1) + " ms (max " + Fixed(Maximum(samples), 1) + ")", reference,
                    "< 100 ms", ms < 100 ? Verdict::Met : Verdict::Missed});
    };
    row("Record the 32 767th entry", times.record);
    row("Delete one of 32 767 entries", times.remove);
    row("Clear 32 767 entries", times.clear);
    row("Sort 32 767 entries", times.sort);
    row("Save 32 767 entries (" + std::to_string(bytes.size() / 1024) + " KiB)", times.save);
    row("Load 32 767 entries", times.load);
    report.Note("The list operations are timed from the handler's call until every repaint it caused is done; the "
                "reference copies the saved file with CopyFileW, which does not flush it to disk as the save does.");
    DeleteFileW(base.c_str());
    DeleteFileW(saved.c_str());
    DeleteFileW(copied.c_str());
}

// The passage and the gap the practice runs repeat.
constexpr int kPassageAMs = 10000;
constexpr int kPassageMs = 2000;
constexpr int kGapMs = 1000;

// The stand-in's record of what it did: its i-th value for `query`, from `first` on, while there is one.
std::vector<double> StandinRecord(HWND player, UINT query, std::size_t first)
{
    std::vector<double> values;
    for (std::size_t i = first;; ++i) {
        const auto value = e2e::Send(player, query, i);
        if (!value || *value < 0) return values;
        values.push_back(static_cast<double>(*value));
    }
}

// Runs the window's own messages, its live timer included, until `done`
// or the time runs out; counts that timer's ticks.
bool PumpUntil(Front& front, const std::function<bool()>& done, double seconds, int& ticks)
{
    const double end = NowSeconds() + seconds;
    double asked = 0;
    while (NowSeconds() < end) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ticks += msg.message == WM_TIMER && msg.hwnd == front.window.Handle();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (NowSeconds() - asked > 0.05) {
            if (done()) return true;
            asked = NowSeconds();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
    return false;
}

struct PracticeFigures {
    std::vector<double> overshoot_ms;  // where each jump back left, past B
    std::vector<double> gap_ms;        // each pause between passes, as the player had it
    double tick_ms = 0;                // the timer's period meanwhile
};

std::optional<PracticeFigures> NoFigures(std::string& why, const char* reason)
{
    why = reason;
    return std::nullopt;
}

// Marks at A and B = A + 2 s, then the passage repeated `passes` times with
// a gap of 1 s, from the menu's handlers, with the window's timer ticking.
std::optional<PracticeFigures> PracticeRun(Front& front, HWND player, int passes, std::string& why)
{
    MainForm& form = *front.form;
    int ticks = 0;
    const auto player_at = [&](int ms) {
        return PumpUntil(front, [&] { return e2e::Send(player, STANDIN_GET_POSITION_MS) == ms; }, 5, ticks);
    };
    form.Clear_Click();
    if (!player_at(kPassageAMs)) return NoFigures(why, "the stand-in is not at A");
    // The window looks for a player that went away only now and then: the
    // stand-in of the previous mode may still be the one it knows.
    const auto found = [&] { return front.players.Chosen().FindPlayer() == reinterpret_cast<std::uintptr_t>(player); };
    if (!PumpUntil(front, found, 5, ticks)) return NoFigures(why, "the window did not find the stand-in");
    form.Record_Click();
    form.Forward_Click();
    if (!player_at(kPassageAMs + kPassageMs)) return NoFigures(why, "快进 did not reach B");
    form.Record_Click();
    if (front.Count() != 2) return NoFigures(why, "the marks at A and B were not recorded");
    form.Passes_Click(std::nullopt);
    form.Gap_Click(kGapMs);

    // The start's jump and its resume come first, then one of each per pass.
    const std::size_t jumps = StandinRecord(player, STANDIN_GET_JUMPED_FROM_MS, 0).size() + 1;
    const std::size_t pauses = StandinRecord(player, STANDIN_GET_PAUSE_MS, 0).size() + 1;
    ticks = 0;
    const double start = NowSeconds();
    form.Repeat_Passage_Click(0);
    const bool done = PumpUntil(
        front, [&] { return e2e::Send(player, STANDIN_GET_PAUSE_MS, pauses + passes - 1).value_or(-1) >= 0; },
        passes * (kPassageMs + kGapMs) / 1000.0 + 10, ticks);
    const double elapsed = NowSeconds() - start;
    form.Stop_Repeat_Click();
    if (!done) return NoFigures(why, "the passes did not all come");

    PracticeFigures figures;
    figures.overshoot_ms = StandinRecord(player, STANDIN_GET_JUMPED_FROM_MS, jumps);
    figures.overshoot_ms.resize(std::min<std::size_t>(figures.overshoot_ms.size(), passes));
    for (double& ms : figures.overshoot_ms) ms -= kPassageAMs + kPassageMs;
    figures.gap_ms = StandinRecord(player, STANDIN_GET_PAUSE_MS, pauses);
    figures.gap_ms.resize(std::min<std::size_t>(figures.gap_ms.size(), passes));
    figures.tick_ms = ticks > 0 ? elapsed * 1000 / ticks : 0;
    return figures;
}

std::string Spread(const std::vector<double>& ms)
{
    return "median " + Fixed(Median(ms), 1) + " ms (min " + Fixed(Percentile(ms, 0), 1) + ", max " +
           Fixed(Maximum(ms), 1) + ")";
}

// The passage repeated against the stand-in in each of its modes, one after
// the other, in the same window.
void PracticeBench(Front& front, BenchEnv& env, Report& report, std::optional<e2e::Standin>& player, int passes)
{
    if (!front.form->Window_Shown()) {
        report.Add({"Repeating a passage", "the timer did not start", "-", "-", Verdict::Failed});
        return;
    }
    const std::string count = std::to_string(passes);
    for (const e2e::PlayerKind& kind : e2e::PlayerKinds()) {
        const std::string name(kind.shown_name.begin(), kind.shown_name.end());
        Run t = env.Context("practice-" + std::string(kind.option.begin(), kind.option.end()));
        player.reset();
        player = StartStandin(t, L"--state pause --position " + std::to_wstring(kPassageAMs), kind);
        std::string why = "the stand-in did not start";
        const auto figures = player ? PracticeRun(front, player->window, passes, why) : std::nullopt;
        if (!figures || figures->overshoot_ms.size() < static_cast<std::size_t>(passes) ||
            figures->gap_ms.size() < static_cast<std::size_t>(passes)) {
            report.Add({"Repeating a passage, " + name, figures ? "passes missing" : why, "-", "-", Verdict::Failed});
            continue;
        }
        std::fprintf(stderr, "  %s: past B %s; gaps %s; tick %.2f ms\n", name.c_str(), Spread(figures->overshoot_ms).c_str(),
                     Spread(figures->gap_ms).c_str(), figures->tick_ms);
        const double overshoot = Median(figures->overshoot_ms), gap = Median(figures->gap_ms);
        report.Add({"Overshoot past B, " + name + " (stand-in), its own position when the jump back arrives (" + count +
                        " passes of 2 s)",
                    Spread(figures->overshoot_ms), "the window's timer period during them: " + Fixed(figures->tick_ms, 2) + " ms",
                    "median ≤ 30 ms", overshoot <= 30 ? Verdict::Met : Verdict::Missed});
        report.Add({"Gap as played, " + name + " (stand-in), its own Paused..Playing (" + count + " gaps)",
                    Spread(figures->gap_ms), "the setting: " + std::to_string(kGapMs) + " ms",
                    "median within 50 ms of the setting",
                    std::abs(gap - kGapMs) <= 50 ? Verdict::Met : Verdict::Missed});
    }
    front.form->Window_Gone();
    report.Note("Repeating a passage runs in this process on the real window with its own timer live, the passes and "
                "the gap set through the menu's handlers; the stand-in notes the position each jump leaves and the "
                "length of each pause on its own clock. A passage of 2 s is a whole number of the timer's periods, "
                "so every pass meets B at the same phase of the tick: the overshoot stays near one period, its worst.");
}

} // namespace

void RunFrontBench(BenchEnv& env, Report& report, int ticks, int rounds, int passes)
{
    Run t = env.Context("front");
    auto player = StartStandin(t, L"--state play");
    Front front;
    if (!player || !t.Check("the front end builds in this process", front.Build(), "window or Form_Load failed")) {
        report.Add({"One poll tick", "-", "-", "-", Verdict::Failed});
        return;
    }
    TickBench(front, report, ticks);
    ListOperationsBench(front, env, report, rounds);
    PracticeBench(front, env, report, player, passes);
}

} // namespace bench
