#pragma once
// The one replacement that turns the lines a text box shows into the wanted lines, so a
// growing log or report is appended to instead of rewritten on every change.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct TLinesEdit {
    // Lines kept at the start; everything after the end of the last kept line is replaced.
    std::size_t keep;
    // The replacement: the following lines, each after "\r\n" unless keep is 0.
    std::string text;
};

// nullopt when the shown lines are the wanted ones.
std::optional<TLinesEdit> LinesEdit(const std::vector<std::string>& shown, const std::vector<std::string>& wanted);
