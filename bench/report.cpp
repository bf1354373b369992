#include "report.h"

#include <cstdio>

namespace bench {

namespace {

const char* VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Met: return "met";
    case Verdict::Missed: return "**missed**";
    case Verdict::Failed: return "**not measured**";
    case Verdict::Info: break;
    }
    return "";
}

} // namespace

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Report::Markdown() const
{
    std::string out = "| Figure | Morvane | Reference (same run) | Goal | Result |\n";
    out += "|---|---|---|---|---|\n";
    for (const Row& row : rows_)
        out += "| " + row.figure + " | " + row.value + " | " + row.reference + " | " + row.goal + " | " +
               VerdictText(row.verdict) + " |\n";
    if (!notes_.empty()) {
        out += "\n";
        for (const std::string& note : notes_) out += "- " + note + "\n";
    }
    return out;
}

bool Report::AnyFailed() const
{
    for (const Row& row : rows_)
        if (row.verdict == Verdict::Failed) return true;
    return false;
}

} // namespace bench
