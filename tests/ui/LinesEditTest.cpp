// The one replacement that turns a text box's shown lines into the wanted ones.
#include <gtest/gtest.h>

#include "ui/LinesEdit.h"

namespace {

using Lines = std::vector<std::string>;

// Applies an edit the way a text box does: text after the end of the last kept line goes.
std::string Apply(const Lines& shown, const TLinesEdit& edit)
{
    std::string text;
    for (std::size_t i = 0; i < edit.keep; ++i) text += (i ? "\r\n" : "") + shown[i];
    return text + edit.text;
}

std::string Joined(const Lines& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

TEST(LinesEdit, KeepsTheCommonStartAndReplacesTheRest)
{
    struct Case {
        Lines shown, wanted;
        std::size_t keep;
        std::string text;
    };
    const Case cases[] = {
        {{}, {"a", "b"}, 0, "a\r\nb"},                // first fill
        {{"a", "b"}, {"a", "b", "c"}, 2, "\r\nc"},    // a log line appended
        {{"a", "50%"}, {"a", "60%"}, 1, "\r\n60%"},   // a progress line replaced
        {{"a", "50%", "b"}, {"a", "b"}, 1, "\r\nb"},  // a line deleted in the middle
        {{"a", "b"}, {"a"}, 1, ""},                   // the last line deleted
        {{"a", "b"}, {}, 0, ""},                      // cleared
        {{"a"}, {"b"}, 0, "b"},                       // the first line changed
        {{"a"}, {"a", ""}, 1, "\r\n"},                // an empty line appended
    };
    for (const Case& c : cases) {
        const auto edit = LinesEdit(c.shown, c.wanted);
        ASSERT_TRUE(edit);
        EXPECT_EQ(std::tuple(edit->keep, edit->text, Apply(c.shown, *edit)), std::tuple(c.keep, c.text, Joined(c.wanted)));
    }
    EXPECT_FALSE(LinesEdit({"a", "b"}, {"a", "b"}));
}

}  // namespace
