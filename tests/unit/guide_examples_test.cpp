#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/keys/keys_file.h"
#include "app/settings/settings_file.h"

namespace morvane {
namespace {

// The ```ini blocks of a Markdown file, each as the text of a file.
std::vector<std::string> IniBlocks(const std::string& path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::vector<std::string> blocks;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        const auto fence = line.find("```");
        if (!inside && fence != std::string::npos && line.substr(fence) == "```ini") {
            inside = true;
            blocks.emplace_back();
        } else if (inside && fence != std::string::npos) {
            inside = false;
        } else if (inside) {
            blocks.back() += line + "\n";  // the parsers trim the indent of a block inside a list
        }
    }
    return blocks;
}

// A settings file names settings; anything else is a keys file.
bool IsSettingsFile(const std::string& text)
{
    for (settings::Setting setting : settings::kAllSettings)
        if (text.find(std::string(settings::SettingName(setting)) + " ") != std::string::npos) return true;
    return false;
}

bool NameSameAction(const keys::KeyMap& a, const keys::KeyMap& b)
{
    for (HotKey action : kAllHotKeys)
        if (a[action].written && b[action].written) return true;
    return false;
}

// Each example is taken whole; two keys examples that set different
// actions can also share one file without their keys meeting.
TEST(GuideExamples, EveryIniExampleIsTakenWhole)
{
    for (const char* name : {"docs/使用说明.md", "README.md"}) {
        const std::vector<std::string> blocks = IniBlocks(std::string(MORVANE_SOURCE_DIR) + "/" + name);
        EXPECT_FALSE(blocks.empty()) << name;
        std::vector<std::string> keys_blocks;
        for (const std::string& block : blocks) {
            SCOPED_TRACE(block);
            if (IsSettingsFile(block)) {
                EXPECT_EQ(settings::ParseSettingsFile(block).problems, "");
            } else {
                EXPECT_EQ(keys::ParseKeysFile(block).problems, "");
                keys_blocks.push_back(block);
            }
        }
        for (std::size_t i = 0; i < keys_blocks.size(); ++i)
            for (std::size_t j = i + 1; j < keys_blocks.size(); ++j) {
                if (NameSameAction(keys::ParseKeysFile(keys_blocks[i]).map, keys::ParseKeysFile(keys_blocks[j]).map))
                    continue;
                SCOPED_TRACE(keys_blocks[i] + keys_blocks[j]);
                EXPECT_EQ(keys::ParseKeysFile(keys_blocks[i] + keys_blocks[j]).problems, "");
            }
    }
}

} // namespace
} // namespace morvane
