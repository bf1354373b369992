#include "program_test.h"

#include "disk_files.h"

namespace morvane::e2e {

std::optional<Standin> Program_Test::Start_Player(const std::wstring& options, const std::wstring& name)
{
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string failure;
    auto started = Start_Standin(Out_Path(std::wstring(test.begin(), test.end()) + L"-" + name + L".log"), options, failure);
    EXPECT_TRUE(started) << failure;
    return started;
}

void Program_Test::Start(const std::wstring& player_options)
{
    player = Start_Player(player_options);
    ASSERT_TRUE(player);
    std::string failure;
    morvane = Start_Morvane(failure);
    ASSERT_TRUE(morvane) << failure;
}

void Program_Test::Expect_Shows(HWND window, const std::wstring& want, DWORD timeout_ms)
{
    std::optional<std::wstring> seen;
    Poll_Until([&] { return (seen = Text_Of(window)) == want; }, timeout_ms);
    EXPECT_EQ(seen, want);
}

} // namespace morvane::e2e
