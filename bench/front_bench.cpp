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
#include "player/win32/winamp_link.h"
#include "stamps/stamps.h"
#include "stats.h"

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
    std::optional<std::u16string> ChooseOpenPath() override { return open_path; }
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
    morvane::winamp::WinampLink player{code_page};
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
        program.emplace(morvane::FrontEnd{*controls, *port, *timer1, player, code_page, files,
                                          morvane::mark_file::Encoding::Ansi, {},
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
        if (player.GetPlayState() == morvane::PlayState::Playing) player.GetLengthSec();
        player.GetLengthSec();
        player.GetPositionMs();
        player.GetPositionMs();
        player.ReadTitle(title);
        if (i >= 50) query_us.push_back((NowSeconds() - start) * 1e6);
    }
    std::fprintf(stderr, "  tick: median %.1f us (90th %.1f us); its queries alone: median %.1f us\n", Median(tick_us),
                 Percentile(tick_us, 0.9), Median(query_us));
    report.Add({"One poll tick, player playing (median of " + std::to_string(ticks) + " ticks)",
                Fixed(Median(tick_us), 1) + " µs (90th " + Fixed(Percentile(tick_us, 0.9), 1) + " µs)",
                "its six player messages alone: " + Fixed(Median(query_us), 1) + " µs", "-", Verdict::Info});
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

} // namespace

void RunFrontBench(BenchEnv& env, Report& report, int ticks, int rounds)
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
}

} // namespace bench
