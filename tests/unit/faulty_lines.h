#pragma once

// What the keys file and the settings file tell of their faulty lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane::test {

// `problems` names each of `lines` ("第 N 行"), and is empty when there are none.
inline testing::AssertionResult NamesTheFaultyLines(const std::string& problems, const std::vector<int>& lines)
{
    for (int line : lines)
        if (problems.find("第 " + std::to_string(line) + " 行") == std::string::npos)
            return testing::AssertionFailure() << "line " << line << " not named in: " << problems;
    if (problems.empty() != lines.empty()) return testing::AssertionFailure() << "problems: " << problems;
    return testing::AssertionSuccess();
}

} // namespace morvane::test
