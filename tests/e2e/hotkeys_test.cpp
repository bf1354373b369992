// The global keys: pressed while another program has the focus, each runs
// its button's handler once per press, with today's keys and with a keys
// file. And P typed into the list reaches the player twice, once as the
// list's key and once as the global key.

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "message_box.h"
#include "harness.h"
#include "player_checks.h"
#include "real_input.h"
#include "sessions.h"
#include "text_polls.h"
#include "window_access.h"

namespace {

constexpr int start_ms = 10000;

class Key_checks {
public:
    // Each key is pressed while `modifiers` are held.
    Key_checks(e2e::Context& t, e2e::Standin& player, e2e::Morvane& morvane, std::vector<WORD> modifiers = {})
        : t_(t), player_(player), morvane_(morvane), modifiers_(std::move(modifiers))
    {
    }

    bool press(WORD key, DWORD hold_ms = e2e::key_hold_ms) const
    {
        std::vector<std::unique_ptr<e2e::Held_key>> held;
        for (WORD modifier : modifiers_) {
            held.push_back(std::make_unique<e2e::Held_key>(modifier));
            if (!held.back()->ok())
                return false;
        }
        return e2e::tap_key(key, hold_ms);
    }

    // The key sends exactly one command, the expected one.
    void sends(const std::string& name, WORD key, const std::string& expected, DWORD hold_ms = e2e::key_hold_ms)
    {
        const std::size_t mark = player_.log.mark();
        std::vector<std::string> seen;
        t_.check(name, press(key, hold_ms) && e2e::sent_exactly(player_.log, mark, expected, seen),
                 [&] { return "expected \"" + expected + "\", the player received " + e2e::joined(seen); });
    }

    // The key jumps, and the player gets there before the next key.
    void jumps(const std::string& name, WORD key, int target_ms)
    {
        sends(name, key, e2e::jump_line(target_ms));
        t_.check(name + ": the player is there", e2e::standin_reaches(player_.window, target_ms), [&] {
            return "the stand-in reports "
                   + std::to_string(e2e::standin_position_ms(player_.window).value_or(-1));
        });
    }

    // 定位: no command, the mark in mark_line.
    void marks(const std::string& name, WORD key, int at_ms)
    {
        const std::size_t mark = player_.log.mark();
        std::vector<std::string> seen;
        std::wstring shown;
        const bool pressed = press(key);
        t_.check(name + ": no command", pressed && e2e::sent_nothing(player_.log, mark, seen),
                 [&] { return "the player received " + e2e::joined(seen); });
        t_.check(
            name + ": mark_line shows the mark",
            e2e::shows(morvane_.control(IDC_MARK_LINE), e2e::mark_line(at_ms, at_ms), shown),
            [&] { return "mark_line shows " + e2e::quoted(shown); });
    }

private:
    e2e::Context& t_;
    e2e::Standin& player_;
    e2e::Morvane& morvane_;
    std::vector<WORD> modifiers_;
};

// The player paused at start_ms and Morvane's tick showing it; nullopt
// (after a failed check) otherwise.
std::optional<e2e::Session> ticking_session(e2e::Context& t)
{
    auto session = e2e::start_session(t, L"--state pause --position " + std::to_wstring(start_ms));
    std::wstring seen;
    if (session && !t.check("the tick runs",
                            e2e::shows(session->morvane.control(IDC_MARK_LINE), e2e::mark_line(0, start_ms), seen),
                            [&] { return "mark_line shows " + e2e::quoted(seen); }))
        return std::nullopt;
    return session;
}

// Types the text as a person would, Shift held for capitals and '?'.
bool type_text(const std::string& text)
{
    for (char c : text) {
        const bool shifted = (c >= 'A' && c <= 'Z') || c == '?';
        WORD key = c == ' ' ? VK_SPACE : c == ',' ? VK_OEM_COMMA : c == '.' ? VK_OEM_PERIOD : c == '?' ? VK_OEM_2
                 : static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        const auto shift = shifted ? std::make_unique<e2e::Held_key>(VK_LSHIFT) : nullptr;
        if ((shift && !shift->ok()) || !e2e::tap_key(key))
            return false;
    }
    return true;
}

}  // namespace

E2E_TEST(hot_keys)
{
    auto session = ticking_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    std::wstring seen;
    if (!t.check("the stand-in player has the focus", e2e::to_foreground(player.window),
                 "the foreground window is another one"))
        return;
    e2e::let_input_settle();

    Key_checks keys(t, player, morvane);
    // The seek keys first, while the player is paused and every target exact.
    keys.marks("left Ctrl sets the mark at 10000 ms", VK_LCONTROL, 10000);
    keys.jumps("comma steps back to 8000 ms", VK_OEM_COMMA, 8000);
    keys.jumps("left Shift repeats from the mark, 10000 ms", VK_LSHIFT, 10000);
    keys.jumps("full stop steps forward to 12000 ms", VK_OEM_PERIOD, 12000);
    keys.marks("right Ctrl sets the mark at 12000 ms", VK_RCONTROL, 12000);
    keys.jumps("comma steps back to 10000 ms", VK_OEM_COMMA, 10000);
    keys.jumps("right Shift repeats from the mark, 12000 ms", VK_RSHIFT, 12000);
    keys.jumps("comma steps back to 10000 ms again", VK_OEM_COMMA, 10000);
    keys.marks("Ctrl (generic code) sets the mark at 10000 ms", VK_CONTROL, 10000);
    keys.jumps("full stop steps forward to 12000 ms again", VK_OEM_PERIOD, 12000);
    keys.jumps("Shift (generic code) repeats from the mark, 10000 ms", VK_SHIFT, 10000);

    // Keypad 0 records the position, asking nothing (ask_note is unticked).
    const HWND list = morvane.control(IDC_MARK_LIST);
    const std::size_t mark = player.log.mark();
    std::vector<std::string> sent;
    const bool recorded =
        e2e::tap_key(VK_NUMPAD0) && e2e::poll_until([&] { return e2e::list_count(list) == 1; });
    // One press records once: still one entry a few ticks later.
    Sleep(300);
    t.check("keypad 0 records one entry [000:10:000]",
            recorded && e2e::list_count(list) == 1
                && e2e::list_text(list, 0) == std::optional<std::wstring>(e2e::stamp(10000)),
            [&] {
                return "entries " + std::to_string(e2e::list_count(list).value_or(-1)) + ", first "
                       + e2e::quoted(e2e::list_text(list, 0).value_or(L"(none)"));
            });
    t.check("keypad 0: count_line shows 1", e2e::shows(morvane.control(IDC_COUNT_LINE), L"1", seen),
            [&] { return "count_line shows " + e2e::quoted(seen); });
    t.check("keypad 0: no command", e2e::sent_nothing(player.log, mark, sent),
            [&] { return "the player received " + e2e::joined(sent); });

    keys.sends("H pauses (the paused player plays on)", 'H', "273 40046 0");
    keys.sends("P plays", 'P', "273 40045 0");
    keys.sends("S stops", 'S', "273 40047 0");
    keys.sends("U goes to the previous track", 'U', "273 40044 0");
    keys.sends("N goes to the next track", 'N', "273 40048 0");
    keys.sends("N held for 600 ms skips exactly one track", 'N', "273 40048 0", 600);

    t.check("the stand-in player kept the focus throughout", GetForegroundWindow() == player.window,
            "the foreground window changed");
}

// Shift+P with the list focused: the Shift hot key repeats from the mark
// (0 ms, none set) once, then P plays twice, as the list's key and as the
// global key.
E2E_TEST(list_key_and_hot_key)
{
    auto session = ticking_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND list = morvane.control(IDC_MARK_LIST);
    const SIZE size = e2e::client_size(list);
    const bool focused = e2e::to_foreground(morvane.window)
                         && e2e::left_click(e2e::screen_point(list, size.cx / 2, size.cy / 2))
                         && e2e::poll_until([&] { return e2e::focus_in_thread_of(morvane.window) == list; });
    if (!t.check("a click gives the empty list the focus", focused, "the focus is elsewhere"))
        return;
    e2e::let_input_settle();

    const std::size_t mark = player.log.mark();
    std::vector<std::string> sent;
    {
        const e2e::Held_key shift(VK_LSHIFT);
        const bool repeated = shift.ok() && e2e::poll_until([&] {
                                  sent = player.log.commands_since(mark);
                                  return !sent.empty();
                              });
        if (!t.check("Shift down: one repeat from the mark, 0 ms",
                     repeated && sent == std::vector<std::string>{e2e::jump_line(0)},
                     [&] { return "the player received " + e2e::joined(sent); }))
            return;
        if (!t.check("P pressed with Shift down", e2e::tap_key('P'), "SendInput failed"))
            return;
        e2e::poll_until([&] {
            sent = player.log.commands_since(mark);
            return std::count(sent.begin(), sent.end(), "273 40045 0") >= 2;
        });
    }
    Sleep(300);
    sent = player.log.commands_since(mark);
    const std::vector<std::string> expected{e2e::jump_line(0), "273 40045 0", "273 40045 0"};
    t.check("Shift+P in the list plays twice, and nothing more", sent == expected,
            [&] { return "the player received " + e2e::joined(sent); });
    t.check("the list kept the focus", e2e::focus_in_thread_of(morvane.window) == list, "the focus moved");
}

// The transcribers' keys file, with one line the program cannot use: that
// line is named at start, the program runs on with the others, its old
// plain keys and a sentence typed in the player's window do nothing, and
// each chosen key acts once.
E2E_TEST(keys_from_the_keys_file)
{
    const std::wstring keys_ini = t.bin(L"keys.ini");
    const std::unique_ptr<const std::wstring, void (*)(const std::wstring*)> remove_after(
        &keys_ini, [](const std::wstring* path) { DeleteFileW(path->c_str()); });
    const bool written = e2e::write_bytes(
        keys_ini, "; for transcribers: nothing on plain letters\r\n"
                  "previous = Ctrl+Alt+U\r\nplay = Ctrl+Alt+P\r\nstop = Ctrl+Alt+S\r\nnext = Ctrl+Alt+N\r\n"
                  "back = Ctrl+Alt+Comma\r\nforward = Ctrl+Alt+Period\r\nmark = Ctrl+Alt+M\r\n"
                  "record = Ctrl+Alt+0\r\npause = F8\r\nrepeat = none\r\nshuffle = Z\r\n");
    if (!t.check("keys.ini is written beside morvane.exe", written, "it cannot be written"))
        return;
    auto session = e2e::start_session(t, L"--state pause --position " + std::to_wstring(start_ms));
    if (!session)
        return;
    auto& [player, morvane] = *session;

    std::vector<HWND> boxes;
    e2e::poll_until([&] {
        boxes = e2e::top_windows(morvane.process.id(), L"#32770", true);
        return !boxes.empty();
    });
    const auto box = boxes.empty() ? std::nullopt : e2e::read_message_box(boxes.front());
    if (!t.check("a message names the faulty line 12",
                 box && box->text.find(L"第 12 行") != std::wstring::npos
                     && box->text.find(L"shuffle") != std::wstring::npos,
                 [&] { return box ? "the message reads " + e2e::quoted(box->text) : std::string("no message box"); }))
        return;
    e2e::press_ok(boxes.front());
    std::wstring seen;
    if (!t.check("then the tick runs",
                 e2e::shows(morvane.control(IDC_MARK_LINE), e2e::mark_line(0, start_ms), seen),
                 [&] { return "mark_line shows " + e2e::quoted(seen); }))
        return;
    if (!t.check("the stand-in player has the focus", e2e::to_foreground(player.window),
                 "the foreground window is another one"))
        return;
    e2e::let_input_settle();

    const HWND list = morvane.control(IDC_MARK_LIST);
    std::size_t mark = player.log.mark();
    std::vector<std::string> sent;
    bool typed = true;
    for (int old : std::initializer_list<int>{'P', 'H', 'S', 'U', 'N', VK_OEM_COMMA, VK_OEM_PERIOD, VK_LCONTROL,
                                               VK_LSHIFT, VK_NUMPAD0})
        typed = typed && e2e::tap_key(static_cast<WORD>(old));
    typed = typed && type_text("Please send Hugh the notes, page 10. Shall we stop?");
    Sleep(300);
    t.check("the old keys and a typed sentence send nothing", typed && e2e::sent_nothing(player.log, mark, sent),
            [&] { return typed ? "the player received " + e2e::joined(sent) : std::string("SendInput failed"); });
    t.check("... record nothing and set no mark",
            e2e::list_count(list) == 0
                && e2e::shows(morvane.control(IDC_MARK_LINE), e2e::mark_line(0, start_ms), seen),
            [&] { return "mark_line shows " + e2e::quoted(seen); });

    Key_checks chords(t, player, morvane, {VK_LCONTROL, VK_LMENU});
    chords.marks("Ctrl+Alt+M sets the mark at 10000 ms", 'M', 10000);
    chords.jumps("Ctrl+Alt+comma steps back to 8000 ms", VK_OEM_COMMA, 8000);
    chords.jumps("Ctrl+Alt+full stop steps forward to 10000 ms", VK_OEM_PERIOD, 10000);
    mark = player.log.mark();
    const bool recorded = chords.press('0') && e2e::poll_until([&] { return e2e::list_count(list) == 1; });
    Sleep(300);
    t.check("Ctrl+Alt+0 records one entry, sending nothing",
            recorded && e2e::list_count(list) == 1 && e2e::sent_nothing(player.log, mark, sent),
            [&] { return "entries " + std::to_string(e2e::list_count(list).value_or(-1)) + ", the player received "
                         + e2e::joined(sent); });
    Key_checks(t, player, morvane).sends("F8 pauses (the paused player plays on)", VK_F8, "273 40046 0");
    chords.sends("Ctrl+Alt+P plays", 'P', "273 40045 0");
    chords.sends("Ctrl+Alt+S stops", 'S', "273 40047 0");
    chords.sends("Ctrl+Alt+U goes to the previous track", 'U', "273 40044 0");
    chords.sends("Ctrl+Alt+N goes to the next track", 'N', "273 40048 0");
}
