#pragma once

// The results table: one row per figure, Morvane's value beside its
// reference, the goal and whether it is met. Printed as Markdown.

#include <string>
#include <vector>

namespace bench {

enum class Verdict { Met, Missed, Info, Failed };

struct Row {
    std::string figure;
    std::string value;      // Morvane
    std::string reference;  // the reference measured in the same run
    std::string goal;
    Verdict verdict = Verdict::Info;
};

class Report {
public:
    void Add(Row row) { rows_.push_back(std::move(row)); }
    void Note(std::string text) { notes_.push_back(std::move(text)); }
    // The table and the notes below it.
    std::string Markdown() const;
    bool AnyFailed() const;

private:
    std::vector<Row> rows_;
    std::vector<std::string> notes_;
};

// "12.3" with `decimals` digits after the point.
std::string Fixed(double value, int decimals);

} // namespace bench
