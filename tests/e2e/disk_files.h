#pragma once

// Files on disk for the mark-file tests: a fresh folder, whole-file reads
// and writes, and the bytes a list must be saved as.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Empties the folder (files and the folders directly in it), creating it
// when missing. False when something stayed.
bool fresh_folder(const std::wstring& folder);

std::optional<std::string> read_bytes(const std::wstring& path);
bool write_bytes(const std::wstring& path, const std::string& bytes);

// The names in the folder, sorted; "." and ".." left out.
std::vector<std::wstring> names_in(const std::wstring& folder);

// Text in a code page (936, CP_UTF8 ...); nullopt when some character has no form in it.
std::optional<std::string> encoded(const std::wstring& text, UINT code_page);

// A mark file's bytes for these entries: each entry and CR LF, in code page
// 936, or in UTF-8 after a byte-order mark.
std::optional<std::string> mark_file_bytes(const std::vector<std::wstring>& entries, bool utf8);

}  // namespace e2e
