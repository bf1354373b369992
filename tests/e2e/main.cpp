// morvane-e2e: runs the end-to-end tests against the real programs beside it.
//
//   morvane-e2e.exe [--out DIR] [NAME...]
//
// DIR receives the player logs and the screenshot (default: out\e2e under the
// current folder); NAMEs pick the tests whose names contain one of them.
// Prints one line per check and ends with "e2e: N passed, N failed".
//
//   morvane-e2e.exe --demo DIR
//
// runs no tests: it drives the demo of a headless scripts/run in the
// stand-in player and Morvane already on the screen, and leaves marks.txt
// and area.txt in DIR.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "demo.h"
#include "harness.h"

namespace {

std::vector<std::wstring> arguments()
{
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return args;
    for (int i = 1; i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

std::wstring folder_of_this_program()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

// Creates the folder and its missing parents.
bool make_folders(const std::wstring& path)
{
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != L'\\' && path[i] != L'/')
            continue;
        const std::wstring part = path.substr(0, i);
        if (part.empty() || part.back() == L':')
            continue;
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

bool selected(const char* name, const std::vector<std::wstring>& filters)
{
    if (filters.empty())
        return true;
    const std::string narrow(name);
    const std::wstring wide(narrow.begin(), narrow.end());
    for (const std::wstring& filter : filters)
        if (wide.find(filter) != std::wstring::npos)
            return true;
    return false;
}

}  // namespace

int main()
{
    // A crash of a program under test must not stop the run with a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);

    std::wstring out_dir = L"out\\e2e";
    std::wstring demo_dir;
    std::vector<std::wstring> filters;
    const std::vector<std::wstring> args = arguments();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--out" && i + 1 < args.size())
            out_dir = args[++i];
        else if (args[i] == L"--demo" && i + 1 < args.size())
            demo_dir = args[++i];
        else
            filters.push_back(args[i]);
    }
    if (!demo_dir.empty()) {
        if (!make_folders(demo_dir)) {
            std::fprintf(stderr, "morvane-e2e: cannot create the demo's folder\n");
            return 2;
        }
        return e2e::run_demo(demo_dir);
    }
    if (!make_folders(out_dir)) {
        std::fprintf(stderr, "morvane-e2e: cannot create the output folder\n");
        return 2;
    }

    e2e::Checks checks;
    for (const e2e::Test& test : e2e::registered_tests()) {
        if (!selected(test.name, filters))
            continue;
        std::printf("# %s\n", test.name);
        std::fflush(stdout);
        e2e::Context context{checks, folder_of_this_program(), out_dir, test.name};
        test.run(context);
    }
    std::printf("e2e: %d passed, %d failed\n", checks.passed(), checks.failed());
    std::fflush(stdout);
    return checks.failed() == 0 ? 0 : 1;
}
