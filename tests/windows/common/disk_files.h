#pragma once

// Files on disk for the tests: where they write, a fresh folder, whole-file
// reads and writes, and the bytes a list must be saved as.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace morvane::e2e {

// A file in the tests' output folder: E2E_OUT, else out\e2e under the
// current folder (created when missing).
std::wstring OutPath(const std::wstring& file);

// Empties the folder, creating it when missing; false when something stayed.
bool FreshFolder(const std::wstring& folder);

std::optional<std::string> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// The names in the folder, sorted.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

// A mark file's bytes for these entries: each entry and CR LF, in code page
// 936, or in UTF-8 after a byte-order mark; nullopt when code page 936
// cannot hold an entry.
std::optional<std::string> MarkFileBytes(const std::vector<std::wstring>& entries, bool utf8);

} // namespace morvane::e2e
