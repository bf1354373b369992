// The file the player plays reaches the player link whole, through each
// player's own way of telling it: Winamp's memory, PotPlayer's WM_COPYDATA,
// AIMP's memory map. A real file, a path with Chinese characters.

#include "app/win32/system_ports.h"
#include "player/win32/desktop_players.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using PlayedFile = EachPlayerTest;

TEST_P(PlayedFile, ThePathArrivesWhole)
{
    const std::wstring file = OutPath(L"第一课 听力.mp3");
    ASSERT_TRUE(WriteBytes(file, "ID3"));
    player = StartPlayer(L"--file " + Quoted(file));
    ASSERT_TRUE(player);

    win32::AnsiCodePage code_page;
    win32players::DesktopPlayers players(code_page, std::nullopt);
    Player& link = players.Chosen();
    link.Refresh();
    ASSERT_EQ(link.Name(), std::u16string(Kind().shown_name.begin(), Kind().shown_name.end()));
    const std::u16string path = link.FilePath();
    EXPECT_EQ(std::wstring(path.begin(), path.end()), file);
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, PlayedFile, ::testing::ValuesIn(PlayerKinds()), KindName);

} // namespace
} // namespace morvane::e2e
