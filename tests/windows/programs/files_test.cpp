// 保存 and 读取 through the real common dialogs of the running program: a
// name given without its extension, cancelling either dialog, the dialog's
// own question before a file is replaced and Morvane's about a target other
// than the name chosen, and a folder the dialog cannot write into.

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using Entries = std::vector<std::wstring>;

class Files : public ProgramTest {
protected:
    // Waits for the list and the count beside it to show these entries.
    void ExpectEntries(const Entries& want)
    {
        std::optional<Entries> entries;
        std::optional<std::wstring> count;
        PollUntil([&] {
            entries = ListEntries(Control(IDC_MARK_LIST));
            count = TextOf(Control(IDC_COUNT_LINE));
            return entries == want && count == std::to_wstring(want.size());
        });
        EXPECT_EQ(entries, want);
        EXPECT_EQ(count, std::to_wstring(want.size()));
    }
    void ExpectFile(const std::wstring& path, const std::optional<std::string>& want)
    {
        std::optional<std::string> bytes;
        PollUntil([&] { return (bytes = ReadBytes(path)) == want; });
        EXPECT_EQ(bytes, want);
    }
    // Opens the file dialog and chooses the path; the dialog is returned
    // open, as it may ask a question.
    HWND Choose(int button, const std::wstring& path)
    {
        const HWND dialog = OpenFileDialog(morvane->window, button);
        EXPECT_TRUE(dialog != nullptr && ChoosePath(dialog, path)) << "the dialog did not take the path";
        return dialog;
    }
    void ExpectClosed(HWND dialog)
    {
        EXPECT_TRUE(PollUntil([&] { return !IsWindow(dialog); }, 10000) && Settled(morvane->window))
            << "the dialog stayed open";
    }
};

TEST_F(Files, SaveAndLoadThroughTheRealDialogs)
{
    const std::wstring folder = OutPath(L"mark_files");
    ASSERT_TRUE(FreshFolder(folder));
    const std::wstring marks = folder + L"\\marks.txt";
    ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position 62345"));
    const HWND main = morvane->window, list = Control(IDC_MARK_LIST);
    const auto record_at = [&](int ms) {
        EXPECT_TRUE(PollUntil([&] { return StandinPositionMs(player->window) == ms; }));
        EXPECT_TRUE(Click(Control(IDC_RECORD)));
    };
    record_at(62345);
    for (const int ms : {64345, 66345}) {
        ASSERT_TRUE(Click(Control(IDC_FORWARD)));
        record_at(ms);
    }
    const Entries three{L"[001:02:345]", L"[001:04:345]", L"[001:06:345]"}, two(three.begin(), three.end() - 1);
    ExpectEntries(three);

    // "marks" is saved as marks.txt, and nothing else is written.
    ExpectClosed(Choose(IDC_SAVE, folder + L"\\marks"));
    ExpectFile(marks, MarkFileBytes(three, false));
    EXPECT_EQ(NamesIn(folder), Entries{L"marks.txt"});
    EXPECT_EQ(ListSelection(list), 2) << "saving moved the selection";

    // Cancelling either dialog changes nothing; a load selects nothing.
    HWND dialog = OpenFileDialog(main, IDC_SAVE);
    EXPECT_TRUE(dialog && CloseWith(dialog, IDCANCEL) && Settled(main));
    EXPECT_EQ(NamesIn(folder), Entries{L"marks.txt"});
    ExpectFile(marks, MarkFileBytes(three, false));
    EXPECT_TRUE(Click(Control(IDC_CLEAR)));
    ExpectEntries({});
    ExpectClosed(Choose(IDC_LOAD, marks));
    ExpectEntries(three);
    EXPECT_EQ(ListSelection(list), -1);
    dialog = OpenFileDialog(main, IDC_LOAD);
    EXPECT_TRUE(dialog && CloseWith(dialog, IDCANCEL) && Settled(main));
    ExpectEntries(three);

    // Choosing marks.txt itself: the dialog asks, and Yes replaces it.
    // Home and two steps down select the last entry as the user does, the
    // list telling its window.
    for (const WPARAM key : {VK_HOME, VK_DOWN, VK_DOWN}) Send(list, WM_KEYDOWN, key, 1), Send(list, WM_KEYUP, key, 0xC0000001);
    EXPECT_EQ(ListSelection(list), 2);
    EXPECT_TRUE(Click(Control(IDC_DELETE)));
    ExpectEntries(two);
    dialog = Choose(IDC_SAVE, marks);
    const auto question = WaitForBox(dialog);
    ASSERT_TRUE(question) << "the dialog did not ask";
    EXPECT_EQ(question->buttons, 2);
    EXPECT_TRUE(CloseWith(question->window, IDYES));
    ExpectClosed(dialog);
    ExpectFile(marks, MarkFileBytes(two, false));
    EXPECT_EQ(NamesIn(folder), Entries{L"marks.txt"}) << "a marks.txt.txt appeared";

    // Choosing "marks" while marks.txt exists: Morvane asks about marks.txt.
    record_at(66345);
    ExpectEntries(three);
    for (const int answer : {IDNO, IDYES}) {
        Choose(IDC_SAVE, folder + L"\\marks");
        const auto box = WaitForBox(main);
        ASSERT_TRUE(box) << "Morvane did not ask";
        EXPECT_EQ(box->title, L"提示");
        EXPECT_NE(box->text.find(L"marks.txt"), std::wstring::npos);
        EXPECT_EQ(box->buttons, 2);
        EXPECT_TRUE(CloseWith(box->window, answer) && Settled(main));
        ExpectFile(marks, MarkFileBytes(answer == IDYES ? three : two, false));
    }

    // A folder no one may write into, root included: Linux's /sys, Z:\sys
    // under Wine. The dialog itself finds it cannot create the file there
    // and says so; Morvane never gets the name.
    dialog = Choose(IDC_SAVE, L"Z:\\sys\\marks");
    const auto refusal = WaitForBox(dialog);
    EXPECT_TRUE(refusal && CloseWith(refusal->window, IDOK)) << "the dialog said nothing";
    EXPECT_TRUE(CloseWith(dialog, IDCANCEL) && Settled(main));
    ExpectEntries(three);
    EXPECT_EQ(ListSelection(list), 2);
}

} // namespace
} // namespace morvane::e2e
