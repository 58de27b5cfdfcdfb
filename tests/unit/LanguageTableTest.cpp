#include <gtest/gtest.h>

#include "Fakes.h"
#include "i18n/LanguageTable.h"

namespace vok::test {
namespace {

// A table's lines joined by '|', and "<error>" after the last.
std::string Lines(const LanguageTable& table) {
    std::string out;
    for (int i = 0; i <= table.LineCount() && i < 4; ++i) {
        out += table.Text(i) + std::string(i < table.LineCount() ? "|" : "");
    }
    return out;
}

// Lines are read as Windows' text mode reads them, on every platform.
TEST(LanguageTable, ReadsLinesInTextModeWithinItsLimits) {
    std::string many;
    for (int i = 0; i < 600; ++i) {
        many += std::to_string(i) + "\n";
    }
    const std::string x499(499, 'x');
    const struct {
        std::string file, lines;
        int count;
    } cases[] = {
        {"A\nB\n", "A|B||<error>", 3},
        {"A\nB", "A|B|<error>", 2},
        {"", "|<error>", 1},
        {"a\r\nb\r\n", "a|b||<error>", 3},
        {"a\rb\r\r\n\r", "a\rb\r|\r|<error>", 2},
        {"a\032b\nc", "a|<error>", 1},  // Ctrl-Z ends a file in text mode
        {x499 + "\nnext", x499 + "|next|<error>", 2},
        {x499 + "yz\r\nnext", x499 + "|next|<error>", 2},
        {many, "0|1|2|3|", 512},
    };
    for (const auto& c : cases) {
        TestOs os;
        TempFolder root;
        WriteFile(root / "language/english.txt", c.file);
        LanguageTable table;
        EXPECT_EQ(table.Load(root.path.c_str(), 0), 1);
        EXPECT_EQ(table.LineCount(), c.count) << c.file.substr(0, 20);
        EXPECT_EQ(Lines(table), c.lines) << c.file.substr(0, 20);
        EXPECT_STREQ(table.Text(-1), "<error>");
    }
}

// Every identifier of a language, primary language and sublanguage together,
// and neighbours that are none of its own.
TEST(LanguageTable, KnowsEachLanguageIdentifier) {
    const struct {
        unsigned short first;
        int count, language;  // first + k * 0x400, k < count
    } families[] = {{0x0409, 11, 0}, {0x041D, 2, 1},  {0x0414, 2, 2},
                    {0x040B, 1, 3},  {0x0406, 1, 4},  {0x0407, 5, 5},
                    {0x040C, 5, 6},  {0x040A, 20, 7}, {0x0415, 1, 8}};
    for (const auto& family : families) {
        for (int k = -1; k <= family.count; ++k) {
            auto id = static_cast<unsigned short>(family.first + k * 0x400);
            int expected = k >= 0 && k < family.count ? family.language : -1;
            EXPECT_EQ(LanguageForLangId(id, -1), expected) << std::hex << id;
            EXPECT_EQ(LanguageForLangId(static_cast<unsigned short>(id + 0x10), -1), -1);
        }
    }
}

}  // namespace
}  // namespace vok::test
