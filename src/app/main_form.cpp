#include "app/main_form.h"

#include <algorithm>
#include <array>

#include "app/layout/control_ids.h"
#include "app/layout/layout.h"
#include "audio/decoder.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane {

namespace {

// The context menu's own items, below the ids practice's items take.
constexpr int kSplitId = 50;
constexpr int kKeepId = 51;
constexpr int kRecoverId = 52;

// Which handler each button's click runs.
struct Click {
    int id;
    void (MainForm::*handler)();
};

constexpr std::array<Click, 20> kClicks{{
    {IDC_END, &MainForm::End_Click},
    {IDC_PLAY, &MainForm::Play_Click},
    {IDC_PAUSE, &MainForm::Pause_Click},
    {IDC_STOP, &MainForm::Stop_Click},
    {IDC_PREVIOUS, &MainForm::Previous_Click},
    {IDC_NEXT, &MainForm::Next_Click},
    {IDC_BACK, &MainForm::Back_Click},
    {IDC_FORWARD, &MainForm::Forward_Click},
    {IDC_MARK, &MainForm::Mark_Click},
    {IDC_REPEAT, &MainForm::Repeat_Click},
    {IDC_JUMP, &MainForm::Jump_Click},
    {IDC_RECORD, &MainForm::Record_Click},
    {IDC_EDIT_NOTE, &MainForm::Edit_Note_Click},
    {IDC_DELETE, &MainForm::Delete_Click},
    {IDC_MOVE_UP, &MainForm::Move_Up_Click},
    {IDC_MOVE_DOWN, &MainForm::Move_Down_Click},
    {IDC_CLEAR, &MainForm::Clear_Click},
    {IDC_SORT, &MainForm::Sort_Click},
    {IDC_SAVE, &MainForm::Save_Click},
    {IDC_LOAD, &MainForm::Load_Click},
}};

} // namespace

MainForm::MainForm(const Ports& ports, HotKeys& hot_keys)
    : ports_(ports),
      hot_keys_(hot_keys),
      list_box_(ports.controls.List(IDC_MARK_LIST)),
      seek_bar_(ports.controls.Bar(IDC_SEEK_BAR)),
      ask_note_(ports.controls.Check(IDC_ASK_NOTE)),
      pause_for_note_(ports.controls.Check(IDC_PAUSE_FOR_NOTE)),
      marks_(list_box_, ports.controls.Text(IDC_COUNT_LINE), ports.window, static_cast<int>(mark_file::kMaxEntries)),
      mark_files_(ports.window, ports.files, ports.code_page, ports.mark_files, ports.player, marks_),
      practice_(ports.player, ports.window, ports.poll_clock, ports.files, marks_.Marks()),
      split_(ports.window, marks_, notice_, [] { return audio::MakeDecoder(); }),
      keep_(ports.files, ports.code_page, ports.mark_files, ports.window, ports.data_folder, marks_, notice_),
      poll_timer_(ports.poll_clock),
      state_line_(ports.controls.Text(IDC_STATE_LINE)),
      time_line_(ports.controls.Text(IDC_TIME_LINE)),
      mark_line_(ports.controls.Text(IDC_MARK_LINE)),
      seek_time_(ports.controls.Text(IDC_SEEK_TIME))
{
    if (layout::kFrameNamesPlayer) player_frame_.emplace(ports.controls.Text(IDC_PLAYER_FRAME));
}

bool MainForm::Form_Load()
{
    mark_text_ = u"[000:00:000]";
    marks_.ShowCount();
    ports_.player.Refresh();
    if (ports_.player.FindPlayer() == 0) {
        ports_.window.ShowInfo(ports_.player.NotFoundMessage(), u"提示");
        return false;
    }
    const bool keep_on = practice_.Settings().keep_with_recording;
    if (keep_on) {
        recording_ = ports_.player.FilePath();
        recording_asked_ms_ = ports_.poll_clock.NowMs();
    }
    keep_.Start(keep_on, recording_, ports_.poll_clock.NowMs());
    return true;
}

void MainForm::Window_Gone()
{
    poll_timer_.End();
    split_.End();
    keep_.End();
}

void MainForm::End_Click()
{
    // Ends at once: nothing is asked and the list is not saved.
    ports_.window.Quit();
}

bool MainForm::Button_Click(int id)
{
    const auto click = std::ranges::find(kClicks, id, &Click::id);
    if (click == kClicks.end()) return false;
    (this->*click->handler)();
    return true;
}

// The window has no default button: Enter is the focused button's click.
bool MainForm::Window_EnterPress(int focused_id) { return Button_Click(focused_id); }

// --- mark list

void MainForm::Record_Click()
{
    // No tick and no hot key may run until the entry is in, the prompt
    // included, so typing the note drives nothing.
    poll_timer_.Disable();
    const WaitingHandler waiting(*this);
    // The stamp is the position at the click, before the player is paused.
    const std::int32_t position_ms = ports_.player.GetExactPositionMs();
    std::u16string entry = FormatMs(position_ms);
    if (ask_note_.Checked()) {
        const bool pause = pause_for_note_.Checked();
        if (pause) ports_.player.CmdPause();
        entry = marks_.WithNote(entry);
        // Keys typed into the note were pressed since the last sample; they
        // are the note's, not commands for the player.
        ForgetHotKeys();
        if (pause) {
            // The rewind of a resume after typing, as after any pause.
            practice_.Repetition().RewindFrom(position_ms, ports_.poll_clock.NowMs());
            ports_.player.CmdPlay();
        }
    }
    // At the bound the entry is not taken and the recording ends quietly;
    // the player has been set playing again above either way.
    const bool added = marks_.Append(entry);
    poll_timer_.Enable();
    if (added) marks_.ShowAppended();
}

void MainForm::Edit_Note_Click()
{
    const WaitingHandler waiting(*this);
    marks_.EditNote();
}

void MainForm::Delete_Click() { marks_.Delete(); }
void MainForm::Move_Up_Click() { marks_.MoveUp(); }
void MainForm::Move_Down_Click() { marks_.MoveDown(); }
void MainForm::Clear_Click() { marks_.Clear(); }
void MainForm::Mark_List_Click(int index) { marks_.Marks().RecordSelection(index); }
void MainForm::Mark_List_MouseMove(bool button_down, int x, int y) { marks_.ShowTooltip(button_down, x, y); }
void MainForm::UpdateExtent() { marks_.UpdateExtent(); }
void MainForm::Mark_List_FontChanged() { marks_.FontChanged(); }
void MainForm::Sort_Click() { marks_.Sort(); }

void MainForm::Save_Click()
{
    const WaitingHandler waiting(*this);
    if (mark_files_.Save()) keep_.Saved();
}

void MainForm::Load_Click()
{
    const WaitingHandler waiting(*this);
    if (mark_files_.Load()) keep_.Saved();
}

// --- practice

std::u16string MainForm::UseSettings(std::u16string path, std::string text)
{
    return practice_.UseSettings(std::move(path), std::move(text));
}

void MainForm::Mark_List_RightClick(int index)
{
    const WaitingHandler waiting(*this);
    if (const int id = ports_.window.ShowMenu(Mark_List_ContextMenu(index)); id != 0) Context_Menu_Click(id);
}

std::vector<MenuItem> MainForm::Mark_List_ContextMenu(int index)
{
    menu_index_ = index;
    std::vector<MenuItem> menu = practice_.Menu(index);
    // After practice: 自动分句 with its pause, then how the list is kept.
    const std::u16string_view pause_text = settings::RowOf(settings::Setting::SplitPause).menu;
    const auto pause = std::ranges::find_if(menu, [&](const MenuItem& item) { return item.text == pause_text; });
    std::optional<MenuItem> pause_menu;
    if (pause != menu.end()) {
        pause_menu = std::move(*pause);
        menu.erase(pause);
    }
    menu.push_back(MenuItem{split_.MenuText(), kSplitId, false, true, {}});
    if (pause_menu) menu.push_back(std::move(*pause_menu));
    menu.push_back(MenuItem{u"标记随录音保存", kKeepId, keep_.KeepOn(), true, {}});
    if (const std::size_t offered = keep_.Offered(); offered > 0)
        menu.push_back(MenuItem{u"恢复上次退出时的标记（" + CountText(offered) + u" 条）", kRecoverId, false, true, {}});
    return menu;
}

void MainForm::Context_Menu_Click(int id)
{
    if (id == kSplitId) Split_Click();
    else if (id == kKeepId) Keep_With_Recording_Click();
    else if (id == kRecoverId) Recover_Click();
    else if (!practice_.Choose(id)) Repeat_Passage_Click(menu_index_);
}

// --- sentences, and the list kept

void MainForm::Split_Click()
{
    const WaitingHandler waiting(*this);
    split_.Split_Click(ports_.player.FilePath(), practice_.Settings().split_pause_ms, ports_.poll_clock.NowMs());
}

void MainForm::Keep_With_Recording_Click()
{
    const WaitingHandler waiting(*this);
    const bool on = !keep_.KeepOn();
    practice_.ChangeSetting(settings::Setting::KeepWithRecording, on ? 1 : 0);
    recording_ = ports_.player.FilePath();
    keep_.SetKeepOn(on, recording_, ports_.poll_clock.NowMs());
}

void MainForm::Recover_Click() { keep_.Recover_Click(); }

void MainForm::KeepStep(std::int64_t now_ms)
{
    constexpr std::int64_t kAskFileEveryMs = 1000;
    keep_.ListChanged(marks_.Marks().Revision(), now_ms);
    // Only what uses the file asks for it: the question crosses to the player.
    if (!keep_.KeepOn() && !split_.Running()) return;
    if (recording_asked_ms_ && now_ms - *recording_asked_ms_ < kAskFileEveryMs) return;
    recording_asked_ms_ = now_ms;
    recording_ = ports_.player.FilePath();
    split_.FollowRecording(recording_, now_ms);
    keep_.FollowRecording(recording_, now_ms);
}

void MainForm::Repeat_Passage_Click(int index)
{
    if (marks_.SelectEntry(index)) practice_.RepeatEntry(index);
}

void MainForm::Stop_Repeat_Click() { practice_.StopRepeat(); }
void MainForm::Loop_Click() { practice_.Loop(); }
void MainForm::Previous_Mark_Click() { practice_.PreviousMark(); }
void MainForm::Next_Mark_Click() { practice_.NextMark(); }
void MainForm::Slower_Click() { practice_.Slower(); }
void MainForm::Faster_Click() { practice_.Faster(); }
void MainForm::Speed_Click(double rate) { practice_.ChangeSpeed(rate); }

void MainForm::Passes_Click(std::optional<int> passes)
{
    practice_.ChangeSetting(settings::Setting::Passes, passes ? settings::Value(*passes) : std::nullopt);
}

void MainForm::Gap_Click(int ms) { practice_.ChangeSetting(settings::Setting::Gap, ms / 1000.0); }
void MainForm::Rewind_Click(int ms) { practice_.ChangeSetting(settings::Setting::Rewind, ms / 1000.0); }
void MainForm::Step_Click(int ms) { practice_.ChangeSetting(settings::Setting::Step, ms / 1000.0); }

} // namespace morvane
