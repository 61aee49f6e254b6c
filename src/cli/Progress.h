#pragma once
// A progress bar on stderr, drawn only when stderr is a terminal (never into a log or a pipe).
#include <string>

namespace cli {

class Progress {
public:
    explicit Progress(std::string label);
    // Clears the bar's line.
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // percent 0..100; the label may change with it (an empty one keeps the last).
    void Show(double percent, const std::string& label = "");

private:
    std::string label_;
    bool terminal_;
    bool shown_ = false;
};

}  // namespace cli
