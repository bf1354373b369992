// The speed and memory of finding the sentences of a long recording
// (scripts/bench sentences-speed): Morvane's own search, the real FFmpeg
// decoder and the finder, timed on an hour-long file beside FFmpeg's own
// silencedetect on the same file in the same run; and how far the peak
// memory of this process grows while it searches a three-hour file.
// Writes table.md. Not a test.
//
//   morvane-bench-split-speed --hour FILE --three-hours FILE [--rounds N] [--out DIR]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/splitting/find_in_file.h"
#include "audio/decode_file.h"
#include "report.h"

extern char** environ;

namespace bench {
namespace {

struct Options {
    std::string hour, three_hours, out = ".";
    int rounds = 1;
};

struct Cost {
    double wall_s = 0;
    double cpu_s = 0;
};

struct Search {
    Cost cost;
    std::size_t starts = 0;
    std::int32_t length_ms = 0;
};

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

double CpuSeconds(const rusage& usage) { return Seconds(usage.ru_utime) + Seconds(usage.ru_stime); }

std::optional<double> SelfCpuSeconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return std::nullopt;
    return CpuSeconds(usage);
}

// A "VmHWM:" or "VmRSS:" line of /proc/self/status, in KiB.
std::optional<long> StatusKiB(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == key) {
            long kib = 0;
            if (status >> kib) return kib;
            return std::nullopt;
        }
    return std::nullopt;
}

// Lowers the peak this process's status reports to what it holds now, so
// that a later peak is this search's own and not an earlier one's.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

std::optional<Search> FindSentences(const std::string& path)
{
    const auto decoder = morvane::audio::MakeDecoder();
    const std::u16string wide(path.begin(), path.end());  // the bench's own ASCII paths
    const auto cpu_before = SelfCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const morvane::splitting::Found found = morvane::splitting::FindInFile(*decoder, wide, {}, {}, {});
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto cpu_after = SelfCpuSeconds();
    if (found.end != morvane::splitting::Found::End::Sentences || !cpu_before || !cpu_after) {
        std::fprintf(stderr, "FAIL - no sentences found in %s\n", path.c_str());
        return std::nullopt;
    }
    return Search{{wall, *cpu_after - *cpu_before}, found.starts_ms.size(), found.length_ms};
}

// The decoder alone, its samples dropped: how much of the search is
// decoding and resampling rather than the finder.
std::optional<Cost> DecodeOnly(const std::string& path)
{
    const auto decoder = morvane::audio::MakeDecoder();
    const std::u16string wide(path.begin(), path.end());
    morvane::audio::DecodeCallbacks callbacks;
    callbacks.block = [](std::span<const float>) {};
    const auto cpu_before = SelfCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const morvane::audio::DecodeOutcome outcome = morvane::audio::DecodeFile(*decoder, wide, callbacks);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto cpu_after = SelfCpuSeconds();
    if (outcome.error || !cpu_before || !cpu_after) return std::nullopt;
    return Cost{wall, *cpu_after - *cpu_before};
}

// The reference, as a user would type it: ffmpeg -i FILE -af silencedetect
// -f null -, its report into `log`. Its wall and CPU time, and its peak
// resident memory in KiB.
std::optional<std::pair<Cost, long>> RunSilencedetect(const std::string& path, const std::string& log)
{
    const char* args[] = {"ffmpeg", "-nostdin", "-y", "-i", path.c_str(), "-af", "silencedetect", "-f", "null", "-",
                          nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int spawned = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, const_cast<char**>(args), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "FAIL - ffmpeg could not be started\n");
        return std::nullopt;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "FAIL - ffmpeg failed; see %s\n", log.c_str());
        return std::nullopt;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return std::make_pair(Cost{wall, CpuSeconds(usage)}, usage.ru_maxrss);
}

std::string Mib(long kib) { return Fixed(kib / 1024.0, 1) + " MiB"; }

// "12.3 s = **0.85×**", the ratio against `reference`.
std::string Against(double value, double reference)
{
    return Fixed(value, 1) + " s = **" + Fixed(value / reference, 2) + "×**";
}

struct Growth {
    Search search;
    long before_kib = 0, after_kib = 0;
};

std::optional<Growth> MeasureMemory(const std::string& path)
{
    const bool reset = ResetPeak();
    const auto before = StatusKiB(reset ? "VmRSS:" : "VmHWM:");
    const auto search = FindSentences(path);
    const auto after = StatusKiB("VmHWM:");
    if (!search || !before || !after) return std::nullopt;
    return Growth{*search, *before, *after};
}

void AddMemory(const std::optional<Growth>& growth, long reference_peak_kib, Report& report)
{
    const std::string figure = "The 3-hour MP3 decoded and split: growth of this process's peak memory (VmHWM)";
    if (!growth) {
        report.Add({figure, "-", "-", "< 64 MiB", Verdict::Failed});
        return;
    }
    const long kib = growth->after_kib - growth->before_kib;
    report.Add({figure,
                "**" + Mib(kib) + "** (" + Mib(growth->before_kib) + " → " + Mib(growth->after_kib) + "; " +
                    std::to_string(growth->search.starts) + " sentences in " +
                    Fixed(growth->search.length_ms / 3.6e6, 2) + " h of sound, " +
                    Fixed(growth->search.cost.wall_s, 1) + " s)",
                reference_peak_kib > 0 ? "ffmpeg's silencedetect, its whole process on the 60-minute file: " +
                                             Mib(reference_peak_kib)
                                       : "-",
                "< 64 MiB", kib < 64 * 1024 ? Verdict::Met : Verdict::Missed});
}

// Adds the speed rows; answers ffmpeg's peak resident memory in KiB, 0
// when it did not run.
long MeasureSpeed(const Options& options, Report& report)
{
    const std::string figure = "The 60-minute MP3 decoded and split";
    std::vector<Search> searches;
    std::vector<Cost> references, decodings;
    long reference_peak_kib = 0;
    // Alternated, so that a change in the machine's load falls on both.
    for (int round = 0; round < options.rounds; ++round) {
        const auto reference = RunSilencedetect(options.hour, options.out + "/silencedetect.log");
        const auto search = FindSentences(options.hour);
        const auto decoding = DecodeOnly(options.hour);
        if (!reference || !search || !decoding) {
            report.Add({figure, "-", "-", "no slower", Verdict::Failed});
            return reference_peak_kib;
        }
        references.push_back(reference->first);
        reference_peak_kib = std::max(reference_peak_kib, reference->second);
        searches.push_back(*search);
        decodings.push_back(*decoding);
    }
    // The least each took: the run that the other programs on the machine
    // disturbed least.
    auto least = [](auto list, auto field) {
        double value = list.front().*field;
        for (const auto& item : list) value = std::min(value, item.*field);
        return value;
    };
    std::vector<Cost> costs;
    for (const Search& search : searches) costs.push_back(search.cost);
    const double wall = least(costs, &Cost::wall_s), cpu = least(costs, &Cost::cpu_s);
    const double reference_wall = least(references, &Cost::wall_s), reference_cpu = least(references, &Cost::cpu_s);
    const std::string runs = options.rounds == 1 ? "" : ", the least of " + std::to_string(options.rounds) + " runs";
    report.Add({figure + ": wall time" + runs, Against(wall, reference_wall),
                "`ffmpeg -i FILE -af silencedetect -f null -`: " + Fixed(reference_wall, 1) + " s", "no slower (≤ 1×)",
                wall <= reference_wall ? Verdict::Met : Verdict::Missed});
    report.Add({figure + ": CPU time" + runs, Against(cpu, reference_cpu),
                "the same ffmpeg: " + Fixed(reference_cpu, 1) + " s", "no slower (≤ 1×)",
                cpu <= reference_cpu ? Verdict::Met : Verdict::Missed});
    const double decoding_cpu = least(decodings, &Cost::cpu_s);
    report.Add({"Of which the decoder alone (FFmpeg's libraries to 16 kHz mono, the samples dropped): CPU time" + runs,
                Against(decoding_cpu, reference_cpu), "the same ffmpeg: " + Fixed(reference_cpu, 1) + " s",
                "-", Verdict::Info});
    const double finder_cpu = cpu - decoding_cpu, budget_cpu = reference_cpu - decoding_cpu;
    if (cpu > reference_cpu)
        report.Note("The distance: on the hour-long file the finder adds " + Fixed(finder_cpu, 1) +
                    " s of CPU to the decoder's; to be no slower than ffmpeg it may add " +
                    (budget_cpu > 0 ? Fixed(budget_cpu, 1) + " s, " + Fixed(finder_cpu / budget_cpu, 1) + " times less."
                                    : std::string("nothing: the decoder alone is slower already.")));
    const Search& search = searches.front();
    report.Note("The hour-long file: " + std::to_string(search.starts) + " sentences found in " +
                Fixed(search.length_ms / 60000.0, 1) + " min of sound, " +
                Fixed(search.length_ms / 1000.0 / std::max(wall, 1e-3), 0) + " times as fast as it plays.");
    return reference_peak_kib;
}

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--hour") options.hour = value;
        else if (name == "--three-hours") options.three_hours = value;
        else if (name == "--out") options.out = value;
        else if (name == "--rounds") options.rounds = std::max(1, std::atoi(value.c_str()));
        else return std::nullopt;
    }
    if (argc % 2 == 0 || options.hour.empty() || options.three_hours.empty()) return std::nullopt;
    return options;
}

} // namespace
} // namespace bench

int main(int argc, char** argv)
{
    const auto options = bench::ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s --hour FILE --three-hours FILE [--rounds N] [--out DIR]\n", argv[0]);
        return 2;
    }
    bench::Report report;
    // The memory first, while nothing else has raised this process's peak.
    const auto growth = bench::MeasureMemory(options->three_hours);
    const long reference_peak_kib = bench::MeasureSpeed(*options, report);
    bench::AddMemory(growth, reference_peak_kib, report);
    report.Note("Morvane's figures are this process's own around one search (FindInFile with the FFmpeg decoder, "
                "default settings); ffmpeg's come from the kernel's accounting of the child it started, its own start-up "
                "included, which a search inside the running program does not pay.");
    const std::string table = report.Markdown();
    std::fputs(table.c_str(), stdout);
    std::ofstream(options->out + "/table.md") << table;
    return report.AnyFailed() ? 1 : 0;
}
