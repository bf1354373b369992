#pragma once

// The list's context menu of morvane.exe beside each player, opened by a real
// right click or the menu key and walked with the keys. Each test has a fresh
// data folder (%APPDATA%), so no list of an earlier run is offered at the
// menu's end, and leaves no settings behind.

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "app/win32/control_ids.h"
#include "program_test.h"
#include "real_input.h"

namespace morvane::e2e {

class ListMenuTest : public EachPlayerTest {
protected:
    void SetUp() override
    {
        wchar_t saved[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"APPDATA", saved, MAX_PATH) < MAX_PATH) appdata_ = saved;
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '-');
        data_folder_ = OutPath(L"appdata-" + std::wstring(test.begin(), test.end()));
        ASSERT_TRUE(FreshFolder(data_folder_));
        SetEnvironmentVariableW(L"APPDATA", data_folder_.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"APPDATA", appdata_.c_str());
        DeleteFileW(BesideThisProgram(L"settings.ini").c_str());
    }
    // A file in Morvane's data folder.
    std::wstring DataFile(const std::wstring& name) const { return data_folder_ + L"\\Morvane\\" + name; }
    // The middle of the list's entry on the screen.
    POINT EntryPoint(int index)
    {
        const HWND list = Control(IDC_MARK_LIST);
        const int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT).value_or(0));
        POINT point{40, (index - static_cast<int>(Send(list, LB_GETTOPINDEX).value_or(0))) * height + height / 2};
        ClientToScreen(list, &point);
        return point;
    }
    std::vector<HWND> Menus() { return TopWindows(morvane->process.Id(), L"#32768"); }
    // Waits for the menu and walks it with the keys; Choose also waits until it has closed and Morvane has acted.
    bool Walk(bool opened, std::initializer_list<WORD> keys)
    {
        return opened && PollUntil([&] { return !Menus().empty(); }) &&
               std::all_of(keys.begin(), keys.end(), [](WORD key) { return TapKey(key, 30); });
    }
    bool Choose(bool opened, std::initializer_list<WORD> keys)
    {
        return Walk(opened, keys) && PollUntil([&] { return Menus().empty(); }) && Settled(morvane->window);
    }
    bool PlayerAt(int ms) { return PollUntil([&] { return StandinPositionMs(player->window) == ms; }); }

private:
    std::wstring appdata_, data_folder_;
};

} // namespace morvane::e2e
