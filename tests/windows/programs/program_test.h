#pragma once

// The fixture of the tests that drive the real programs: the stand-in
// player and morvane.exe started beside this program, killed at the end.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "disk_files.h"
#include "readouts.h"
#include "remote_window.h"
#include "player_kinds.h"
#include "sessions.h"

namespace morvane::e2e {

class ProgramTest : public ::testing::Test {
protected:
    // A crash of a program under test must not stop the run with a dialog.
    static void SetUpTestSuite() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX); }

    // The player the stand-in answers for.
    virtual const PlayerKind& Kind() const { return WinampKind(); }

    // The stand-in player with these options, then Morvane beside it.
    void Start(const std::wstring& player_options = L"")
    {
        player = StartPlayer(player_options);
        ASSERT_TRUE(player);
        std::string failure;
        morvane = StartMorvane(failure);
        ASSERT_TRUE(morvane) << failure;
    }
    // Another stand-in player; `name` tells its log from the first one's.
    std::optional<Standin> StartPlayer(const std::wstring& options, const std::wstring& name = L"player")
    {
        return StartPlayerAs(Kind(), options, name);
    }
    std::optional<Standin> StartPlayerAs(const PlayerKind& kind, const std::wstring& options, const std::wstring& name)
    {
        // A parameterised test's name holds a slash.
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '-');
        std::string failure;
        auto started =
            StartStandin(OutPath(std::wstring(test.begin(), test.end()) + L"-" + name + L".log"), options, failure, kind);
        EXPECT_TRUE(started) << failure;
        return started;
    }

    HWND Control(int id) const { return morvane->Control(id); }
    // Waits until the window shows `want`; a failure shows what it showed.
    void ExpectShows(HWND window, const std::wstring& want, DWORD timeout_ms = 5000)
    {
        std::optional<std::wstring> seen;
        PollUntil([&] { return (seen = TextOf(window)) == want; }, timeout_ms);
        EXPECT_EQ(seen, want);
    }

    std::optional<Standin> player;
    std::optional<Morvane> morvane;
};

// One scenario against each player the stand-in answers for:
// INSTANTIATE_TEST_SUITE_P(EachPlayer, Suite, ::testing::ValuesIn(PlayerKinds()), KindName).
class EachPlayerTest : public ProgramTest, public ::testing::WithParamInterface<PlayerKind> {
protected:
    const PlayerKind& Kind() const override { return GetParam(); }
};

inline std::string KindName(const ::testing::TestParamInfo<PlayerKind>& info)
{
    return std::string(info.param.option.begin(), info.param.option.end());
}

} // namespace morvane::e2e
