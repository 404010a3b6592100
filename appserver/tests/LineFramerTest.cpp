#include "net/LineFramer.h"

#include <gtest/gtest.h>

namespace {

struct FramingCase {
    const char* name;
    std::vector<std::string> chunks; // bytes as they arrive
    std::vector<std::string> lines;  // lines expected
    bool inStep;                     // false: the line limit (8) was exceeded
};

TEST(LineFramer, CutsStreamsIntoLinesAndStopsAtTheLimit) {
    const std::vector<FramingCase> cases{
        {"line split over chunks", {"ab", "c", "d\nx"}, {"abcd"}, true},
        {"crlf is one newline", {"ab\r\n"}, {"ab"}, true},
        {"cr split from its newline", {"12345678\r", "\n"}, {"12345678"}, true},
        {"empty line kept", {"\n\n"}, {"", ""}, true},
        {"one past the limit", {"123456789\n"}, {}, false},
        {"room for a cr while incomplete", {"12345", "6789"}, {}, true},
        {"limit crossed without newline", {"12345", "67890"}, {}, false},
        {"lines before an overlong one survive", {"ok\n123456789012\nlater\n"}, {"ok"}, false},
        {"nothing after overflow", {"1234567890", "\nok\n"}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ger::LineFramer framer(8);
        std::vector<std::string> lines;
        bool inStep = true;
        for (const auto& chunk : c.chunks)
            inStep = framer.Feed(chunk, lines);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(inStep, c.inStep);
        EXPECT_EQ(framer.Overflowed(), !c.inStep);
    }
}

} // namespace
