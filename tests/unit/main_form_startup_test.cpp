#include <gtest/gtest.h>

#include "app/program.h"
#include "fakes.h"

namespace morvane::test {
namespace {

TEST(MainFormStartup, WithPlayerStartsFromInitialValues)
{
    Rig r;
    EXPECT_TRUE(r.form.Form_Load());
    EXPECT_EQ(r.form.mark_text(), u"[000:00:000]");
    EXPECT_EQ(r.form.mark_ms(), 0);
    EXPECT_EQ(r.form.mark_list().Selection(), std::nullopt);
    EXPECT_EQ(r.count_line.text, u"0");
    EXPECT_TRUE(r.window.messages.empty());
    EXPECT_FALSE(r.window.quit);
    EXPECT_TRUE(r.player.Commands().empty());
}

TEST(MainFormStartup, WithoutPlayerShowsTheMessageOnceAndFails)
{
    Rig r;
    r.player.running = false;
    EXPECT_FALSE(r.form.Form_Load());
    ASSERT_EQ(r.window.messages.size(), 1u);
    EXPECT_EQ(r.window.messages[0].first,
              u"Winamp没有运行或版本不对!\r\n请先打开Winamp并使用1.xx或2.xx版本");
    EXPECT_EQ(r.window.messages[0].second, u"提示");
}

// The poll ticks only while the window is up, whatever a recording asks.
TEST(MainFormStartup, ThePollRunsOnlyWhileTheWindowIsUp)
{
    Rig r;
    r.form.Window_Gone();
    r.form.Record_Click();
    EXPECT_FALSE(r.poll_clock.running);
    EXPECT_TRUE(r.form.Window_Shown());
    EXPECT_TRUE(r.poll_clock.running);
}

TEST(MainFormStartup, EndAsksNothingAndSavesNothing)
{
    Rig r;
    ASSERT_TRUE(r.form.Form_Load());
    r.Show({u"[000:01:000]", u"[000:02:000] 注释:x"});
    r.form.End_Click();
    EXPECT_TRUE(r.window.quit);
    EXPECT_TRUE(r.window.messages.empty());
    EXPECT_EQ(r.window.save_dialogs, 0);
    EXPECT_TRUE(r.files.files.empty());
}

TEST(UserFiles, TheKeysFileWithOneCapAndOneSetOfMessages)
{
    FakeFiles files;
    EXPECT_FALSE(ReadUserSettings(files, u"").keys_file.found);
    const UserSettings missing = ReadUserSettings(files, u"/c/");
    EXPECT_EQ(missing.keys_file.path, u"/c/keys.ini");
    EXPECT_FALSE(missing.keys_file.found);
    EXPECT_TRUE(missing.problems.empty());

    files.files[u"/c/keys.ini"] = "play = F8\n";
    EXPECT_TRUE(ReadUserSettings(files, u"/c/").keys[HotKey::Play].written);
    EXPECT_EQ(files.largest_read, 64u * 1024);
    EXPECT_NE(ListKeys(files, u"/c/").keys.find("/c/keys.ini"), std::string::npos);

    files.files[u"/c/keys.ini"] = std::string(64 * 1024 + 1, ';');
    EXPECT_EQ(ReadUserSettings(files, u"/c/").problems, u"按键设置文件 /c/keys.ini 过大（超过 64 KiB）；使用内置按键。");
    files.unreadable[u"/c/keys.ini"] = u"没有访问权限";
    EXPECT_EQ(ReadUserSettings(files, u"/c/").problems, u"无法读取按键设置文件 /c/keys.ini：没有访问权限；使用内置按键。");

    // A line that is not UTF-8 is still named, not the whole message lost.
    files.unreadable.clear();
    files.files[u"/c/keys.ini"] = "pl\xFFy = F8\n";
    const UserSettings faulty = ReadUserSettings(files, u"/c/");
    EXPECT_NE(faulty.problems.find(u"pl\uFFFDy"), std::u16string::npos);
    EXPECT_EQ(ListKeys(files, u"/c/").problems, faulty.problems);
}

// Every control of one kind is the same fake: the start-up does not tell them apart.
struct OneOfEach : ControlSet {
    ListBox& List(int) override { return list; }
    TextBox& Text(int) override { return text; }
    ScrollBar& Bar(int) override { return bar; }
    CheckBox& Check(int) override { return check; }
    FakeListBox list;
    FakeTextBox text;
    FakeScrollBar bar;
    FakeCheckBox check;
};

TEST(UserFiles, SettingsIniIsTakenAtStartAndWrittenBackOnlyWhereItWasRead)
{
    OneOfEach controls;
    FakeWindow window;
    FakeTimer clock;
    FakePlayer player;
    FakeHotKeys keys;
    TestCodePage code_page;
    FakeFiles files;
    const auto start = [&] {
        auto program = std::make_unique<Program>(FrontEnd{Ports{controls, window, clock, player, code_page, files,
                                                                mark_file::Encoding::Utf8},
                                                          u"/c/",
                                                          [&](const keys::KeyMap&) -> HotKeys& { return keys; }});
        std::u16string told;
        EXPECT_EQ(program->Start([] {}, [&](const std::u16string& text) { told = text; }), Program::Started::Running);
        return std::pair{std::move(program), told};
    };

    // Missing: the defaults, and the first choice makes the file.
    start().first->Form().Step_Click(5000);
    EXPECT_EQ(files.files[u"/c/settings.ini"], "step = 5\n");

    // Its faulty lines are named with the keys file's, the others apply.
    files.files[u"/c/keys.ini"] = "nonsense\n";
    files.files[u"/c/settings.ini"] = "; mine\nstep = 99\ngap = 1\n";
    auto [program, told] = start();
    EXPECT_NE(told.find(u"nonsense"), std::u16string::npos);
    EXPECT_NE(told.find(u"第 2 行"), std::u16string::npos);
    EXPECT_EQ(program->Form().Mark_List_ContextMenu(-1)[2].choices[1].checked, true);  // 每遍之间停顿: 1 秒
    program->Form().Rewind_Click(2000);
    EXPECT_EQ(files.files[u"/c/settings.ini"], "; mine\nstep = 99\ngap = 1\nrewind = 2\n");

    // One that is there but cannot be read is never written over.
    files.files.erase(u"/c/keys.ini");
    files.unreadable[u"/c/settings.ini"] = u"拒绝访问";
    auto [unread, why] = start();
    EXPECT_EQ(why, u"无法读取设置文件 /c/settings.ini：拒绝访问；使用默认设置，菜单中的选择不会保存。");
    unread->Form().Step_Click(1000);
    EXPECT_EQ(files.files[u"/c/settings.ini"], "; mine\nstep = 99\ngap = 1\nrewind = 2\n");
}

} // namespace
} // namespace morvane::test
