// Mark files through the real dialogs onto the real disk: notes in code page
// 936 and beyond it come back intact, and files that are not what they
// should be, or saves that cannot be done, each give a message naming the
// file and the reason, losing neither the list nor an old file.

#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "rig.h"

namespace morvane::test {
namespace {

using Texts = std::vector<std::wstring>;

class Files : public WindowRig {
protected:
    Files()
    {
        player.state = PlayState::Paused;
        player.position = 62345;
    }
    struct Shown {
        Texts entries;
        int selection;
        std::wstring count;
        bool operator==(const Shown&) const = default;
    };
    Shown Now() { return {Entries(), Selection(), Text(IDC_COUNT_LINE)}; }

    // Saves or loads through the dialog, says Yes when Morvane asks before
    // replacing, and answers the message that follows with OK.
    BoxSeen ThroughDialog(int button, const std::wstring& path, bool asks = false, bool tells = true)
    {
        BoxSeen seen;
        AnswerFileDialog(path);
        if (asks) AnswerBox(IDYES);
        if (tells) AnswerBox(IDOK, &seen);
        Click(button);
        return seen;
    }
};

TEST_F(Files, NotesInCodePage936AndBeyondItComeBackIntact)
{
    const std::wstring folder = OutPath(L"notes");
    ASSERT_TRUE(e2e::FreshFolder(folder));
    SetCheck(IDC_ASK_NOTE, true);
    ClickAndAnswerPrompt(IDC_RECORD, L"第一句 注意连读");
    Texts entries{L"[001:02:345] 注释:第一句 注意连读"};
    ASSERT_EQ(Entries(), entries);
    ThroughDialog(IDC_SAVE, folder + L"\\chinese", false, false);
    EXPECT_EQ(e2e::ReadBytes(folder + L"\\chinese.txt"), e2e::MarkFileBytes(entries, false));

    // A note beyond code page 936: UTF-8 after a byte-order mark.
    ClickAndAnswerPrompt(IDC_RECORD, L"笑脸 \U0001F600");
    entries.push_back(L"[001:02:345] 注释:笑脸 \U0001F600");
    ASSERT_EQ(Entries(), entries);
    ThroughDialog(IDC_SAVE, folder + L"\\emoji", false, false);
    EXPECT_EQ(e2e::ReadBytes(folder + L"\\emoji.txt"), e2e::MarkFileBytes(entries, true));
    Click(IDC_CLEAR);
    ThroughDialog(IDC_LOAD, folder + L"\\emoji.txt", false, false);
    EXPECT_EQ(Entries(), entries);
}

TEST_F(Files, BadFilesAndFailedSavesKeepTheListAndTheOldFile)
{
    const std::wstring folder = OutPath(L"bad_mark_files");
    ASSERT_TRUE(e2e::FreshFolder(folder));
    wchar_t self[MAX_PATH]{};
    const auto program = e2e::ReadBytes(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)));
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        const std::wstring stamp = Stamp(i * 100);
        many += std::string(stamp.begin(), stamp.end()) + "\r\n";
    }
    const std::string old_text = "[000:00:001]\r\n";
    const std::wstring read_only = folder + L"\\ro.txt";
    ASSERT_TRUE(program && e2e::WriteBytes(folder + L"\\garbage.txt", program->substr(0, 65536)) &&
                e2e::WriteBytes(folder + L"\\long.txt", "[000:00:000] \xd7\xa2\xca\xcd:" + std::string(10 << 20, 'a')) &&
                e2e::WriteBytes(folder + L"\\many.txt", many) && e2e::WriteBytes(read_only, old_text) &&
                SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY) &&
                CreateDirectoryW((folder + L"\\dir.txt").c_str(), nullptr));
    Click(IDC_RECORD);
    SetCheck(IDC_ASK_NOTE, true);
    ClickAndAnswerPrompt(IDC_RECORD, L"要保住的注释");
    const Shown before = Now();

    // Windows refuses to replace a read-only file; Wine, run as root, would
    // not, so Morvane asks the file itself. A folder in the target's place
    // cannot be replaced by a file on any system.
    const struct {
        int button;
        std::wstring chosen, file, reason;
    } refusals[] = {{IDC_LOAD, L"garbage.txt", L"garbage.txt", L"不是文本文件"},
                    {IDC_LOAD, L"long.txt", L"long.txt", L"第 1 行超过 32767 个字符"},
                    {IDC_SAVE, L"ro", L"ro.txt", L"只读"},
                    {IDC_SAVE, L"dir", L"dir.txt", L"没有访问权限"}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(std::string(refusal.file.begin(), refusal.file.end()));
        const BoxSeen box = ThroughDialog(refusal.button, folder + L"\\" + refusal.chosen, refusal.button == IDC_SAVE);
        EXPECT_EQ(box.title, L"提示");
        EXPECT_NE(box.text.find(refusal.file), std::wstring::npos) << "the file is not named";
        EXPECT_NE(box.text.find(refusal.reason), std::wstring::npos) << "the reason is not given";
        EXPECT_TRUE(Now() == before) << "the list, its selection or the count changed";
    }
    EXPECT_EQ(e2e::ReadBytes(read_only), old_text);
    EXPECT_EQ(e2e::NamesIn(folder), (Texts{L"dir.txt", L"garbage.txt", L"long.txt", L"many.txt", L"ro.txt"}));
    const DWORD attributes = GetFileAttributesW((folder + L"\\dir.txt").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << "dir.txt is gone";

    // More lines than the list holds: the first 32767 load, and a message says so.
    const BoxSeen box = ThroughDialog(IDC_LOAD, folder + L"\\many.txt");
    EXPECT_EQ(box.title, L"提示");
    for (const wchar_t* part : {L"many.txt", L"100000", L"32767"}) EXPECT_NE(box.text.find(part), std::wstring::npos) << part;
    const Texts loaded = Entries();
    ASSERT_EQ(loaded.size(), 32767u);
    EXPECT_EQ(loaded.front(), L"[000:00:000]");
    EXPECT_EQ(loaded.back(), L"[054:36:600]");
    EXPECT_EQ(Text(IDC_COUNT_LINE), L"32767");
}

} // namespace
} // namespace morvane::test
