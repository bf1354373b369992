// morvane-bench: measures Morvane's polling cost, one tick, the list
// operations at the entry bound, the hot-key latency, the memory and a
// repeated passage's overshoot and gap, each
// beside a reference measured in the same run, under Wine with the stand-in
// player.
//
//   morvane-bench.exe --out DIR [--runs N] [--seconds S] [--presses N]
//                     [--ticks N] [--rounds N] [--passes N]
//
// Progress goes to stderr and a line per check to stdout; the results table
// (Markdown) is written to DIR\table.md. Exits with 1 when a figure could not
// be measured.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "front_bench.h"
#include "hotkey_bench.h"
#include "poll_bench.h"
#include "programs.h"
#include "report.h"

namespace {

std::vector<std::wstring> CommandLineArguments()
{
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return args;
    for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

std::wstring FolderOfThisProgram()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, length);
    const auto slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : full.substr(0, slash);
}

struct Options {
    std::wstring out_dir;
    int runs = 3;
    int seconds = 20;
    int presses = 20;
    int ticks = 2000;
    int rounds = 5;
    int passes = 20;
};

bool ParseOptions(const std::vector<std::wstring>& args, Options& options)
{
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        const std::wstring& name = args[i];
        const std::wstring& value = args[i + 1];
        if (name == L"--out") {
            options.out_dir = value;
            continue;
        }
        const int number = std::wcstol(value.c_str(), nullptr, 10);
        if (number <= 0) return false;
        if (name == L"--runs") options.runs = number;
        else if (name == L"--seconds") options.seconds = number;
        else if (name == L"--presses") options.presses = number;
        else if (name == L"--ticks") options.ticks = number;
        else if (name == L"--rounds") options.rounds = number;
        else if (name == L"--passes") options.passes = number;
        else return false;
    }
    return args.size() % 2 == 0 && !options.out_dir.empty();
}

} // namespace

int main()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    Options options;
    if (!ParseOptions(CommandLineArguments(), options)) {
        std::fprintf(stderr, "usage: morvane-bench.exe --out DIR [--runs N] [--seconds S] [--presses N] "
                             "[--ticks N] [--rounds N] [--passes N]\n");
        return 2;
    }
    CreateDirectoryW(options.out_dir.c_str(), nullptr);

    bench::BenchEnv env;
    env.bin_dir = FolderOfThisProgram();
    env.out_dir = options.out_dir;
    bench::Report report;

    std::fprintf(stderr, "polling: %d runs of %d s for Morvane and each reference\n", options.runs, options.seconds);
    const bench::PollFigures poll = bench::RunPollBench(env, report, options.runs, options.seconds);
    std::fprintf(stderr, "hot keys: %d presses\n", options.presses);
    bench::RunHotkeyBench(env, report, options.presses, poll);
    std::fprintf(stderr, "one tick, the list operations and %d passes of a passage, in this process\n", options.passes);
    bench::RunFrontBench(env, report, options.ticks, options.rounds, options.passes);
    bench::RunLinkTickBench(env, report, options.ticks);

    const std::string table = report.Markdown();
    const std::wstring table_path = options.out_dir + L"\\table.md";
    FILE* file = _wfopen(table_path.c_str(), L"wb");
    if (file == nullptr) {
        std::fprintf(stderr, "morvane-bench: cannot write the table\n");
        return 2;
    }
    std::fwrite(table.data(), 1, table.size(), file);
    std::fclose(file);
    return report.AnyFailed() || env.checks.failed > 0 ? 1 : 0;
}
