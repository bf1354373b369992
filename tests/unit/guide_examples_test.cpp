#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/keys/keys_file.h"
#include "app/settings/settings_file.h"

namespace morvane {
namespace {

std::string FileText(const std::string& path)
{
    std::ifstream in(MORVANE_SOURCE_DIR "/" + path);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), {}};
}

// The ```ini blocks of a Markdown file; the parsers trim a list's indent.
std::vector<std::string> IniBlocks(const std::string& path)
{
    std::istringstream in(FileText(path));
    std::vector<std::string> blocks;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        const auto fence = line.find("```");
        if (fence == std::string::npos) {
            if (inside) blocks.back() += line + "\n";
        } else if ((inside = !inside && line.substr(fence) == "```ini")) {
            blocks.emplace_back();
        }
    }
    return blocks;
}

bool NameSameAction(const std::string& a, const std::string& b)
{
    const keys::KeyMap map_a = keys::ParseKeysFile(a).map, map_b = keys::ParseKeysFile(b).map;
    return std::ranges::any_of(kAllHotKeys, [&](HotKey action) { return map_a[action].written && map_b[action].written; });
}

// Each example is a keys file or a settings file taken whole, and two keys
// examples that set different actions can share one file.
TEST(GuideExamples, EveryIniExampleIsTakenWhole)
{
    for (const std::vector<std::string>& blocks :
         {IniBlocks("docs/使用说明.md"), IniBlocks("README.md"),
          {FileText("packaging/windows/keys.example.ini"), FileText("packaging/windows/settings.example.ini")}}) {
        EXPECT_FALSE(blocks.empty());
        std::vector<std::string> keys_blocks;
        for (const std::string& block : blocks) {
            const bool keys_file = keys::ParseKeysFile(block).problems.empty();
            EXPECT_TRUE(keys_file || settings::ParseSettingsFile(block).problems.empty()) << block;
            if (keys_file) keys_blocks.push_back(block);
        }
        for (std::size_t i = 0; i < keys_blocks.size(); ++i)
            for (std::size_t j = i + 1; j < keys_blocks.size(); ++j)
                if (!NameSameAction(keys_blocks[i], keys_blocks[j]))
                    EXPECT_EQ(keys::ParseKeysFile(keys_blocks[i] + keys_blocks[j]).problems, "")
                        << keys_blocks[i] << keys_blocks[j];
    }
}

} // namespace
} // namespace morvane
