#pragma once

// The driver's test runner: named tests, one reported line per check, and
// polling with a time limit instead of fixed sleeps.

#include <windows.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace e2e {

std::string utf8(std::wstring_view text);

// Quotes a text for a failure detail, with CR and LF made visible.
std::string quoted(std::wstring_view text);

class Checks {
public:
    // Prints "ok - name" or "FAIL - name: detail" and counts the result.
    bool check(std::string_view name, bool passed, std::string_view detail = {});

    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

// What every test gets: the checks to report to and where things are.
struct Context {
    Checks& checks;
    std::wstring bin_dir;  // the folder of morvane.exe, standin-player.exe and this driver
    std::wstring out_dir;  // logs and screenshots
    std::string test_name;

    std::wstring bin(std::wstring_view file) const;
    std::wstring out(std::wstring_view file) const;
    bool check(std::string_view name, bool passed, std::string_view detail = {})
    {
        return checks.check(name, passed, detail);
    }
    // The detail worked out only once the check has failed: arguments are
    // evaluated in no set order, so a detail built in the call itself could
    // read what the condition has not yet filled in.
    template <class Detail>
        requires std::is_invocable_r_v<std::string, Detail>
    bool check(std::string_view name, bool passed, Detail detail)
    {
        return checks.check(name, passed, passed ? std::string() : std::string(detail()));
    }
};

using Test_fn = void (*)(Context&);

struct Test {
    const char* name;
    Test_fn run;
};

int register_test(const char* name, Test_fn run);
const std::vector<Test>& registered_tests();

// Calls ready() until it returns true or timeout_ms have passed.
template <class Ready>
bool poll_until(Ready ready, DWORD timeout_ms = 5000, DWORD step_ms = 25)
{
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (ready())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(step_ms);
    }
}

}  // namespace e2e

// Defines and registers a test: E2E_TEST(startup_without_player) { ... t.check(...); }
#define E2E_TEST(name)                                                                 \
    static void e2e_test_##name(e2e::Context& t);                                      \
    static const int e2e_registered_##name = e2e::register_test(#name, e2e_test_##name); \
    static void e2e_test_##name(e2e::Context& t)
