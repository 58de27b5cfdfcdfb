#include "i18n/LanguageTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestOs.h"

using vok::test::TempFolder;
using vok::test::TestOs;
using vok::test::WriteFile;

namespace {

const char* const kFiles[] = {"english.txt", "swedish.txt", "norwegian.txt",
                              "finnish.txt", "danish.txt",  "german.txt",
                              "french.txt",  "spanish.txt", "polish.txt"};

void WriteLanguage(const TempFolder& dir, const std::string& file, const std::string& contents) {
    std::filesystem::create_directories(dir / "language");
    WriteFile(dir / ("language/" + file), contents);
}

// Each file's first line names the file, so a test can tell which was loaded.
void WriteAllLanguages(const TempFolder& dir) {
    for (const char* file : kFiles) {
        WriteLanguage(dir, file, std::string(file) + "\r\nsecond\r\n");
    }
}

std::vector<std::string> Lines(const LanguageTable& table) {
    std::vector<std::string> lines;
    for (int i = 0; i < table.LineCount(); ++i) {
        lines.emplace_back(table.Text(i));
    }
    return lines;
}

}  // namespace

TEST(LanguageTableTest, KnowsExactlyTheListedLanguageIdentifiers) {
    std::map<unsigned, int> expected = {
        {0x0409, 0}, {0x0809, 0}, {0x0C09, 0}, {0x1009, 0}, {0x1409, 0}, {0x1809, 0}, {0x1C09, 0},
        {0x2009, 0}, {0x2409, 0}, {0x2809, 0}, {0x2C09, 0}, {0x041D, 1}, {0x081D, 1}, {0x0414, 2},
        {0x0814, 2}, {0x040B, 3}, {0x0406, 4}, {0x0407, 5}, {0x0807, 5}, {0x0C07, 5}, {0x1007, 5},
        {0x1407, 5}, {0x040C, 6}, {0x080C, 6}, {0x0C0C, 6}, {0x100C, 6}, {0x140C, 6}, {0x0415, 8},
    };
    for (unsigned k = 0; k < 20; ++k) {
        expected[0x040A + k * 0x0400] = 7;
    }
    ASSERT_EQ(expected.size(), 48u);
    ASSERT_EQ(expected.count(0x500A), 1u);

    // Every identifier, so that near misses (0x3009, 0x180C, 0x540A, 0x000A,
    // 0x0000) are covered along with the listed ones.
    for (unsigned id = 0; id <= 0xFFFF; ++id) {
        auto it = expected.find(id);
        int want = it == expected.end() ? -1 : it->second;
        ASSERT_EQ(LanguageForLangId(static_cast<unsigned short>(id), -1), want) << std::hex << id;
    }

    TestOs os;
    vok::ScopedOs scoped(os);
    os.SetLangId(0x3009);
    EXPECT_EQ(LanguageForKeyboardLayout(4), 4);
    os.SetLangId(0x080C);
    EXPECT_EQ(LanguageForKeyboardLayout(4), 6);
}

TEST(LanguageTableTest, ChoosesTheFileFromTheKeyboardLayoutOrTheIndex) {
    TempFolder dir;
    WriteAllLanguages(dir);
    TestOs os;
    vok::ScopedOs scoped(os);
    const struct {
        unsigned short langId;
        int index;
        const char* loaded;
    } cases[] = {
        {0x0807, 9, "german.txt"},
        {0x081D, 9, "swedish.txt"},
        {0x3009, 9, "english.txt"},
        {0x180C, 9, "english.txt"},
        {0x0000, 9, "english.txt"},
        {0x500A, 9, "spanish.txt"},
        {0x540A, 9, "english.txt"},
        {0x040B, 9, "finnish.txt"},
        {0x0415, 9, "polish.txt"},
        {0x0814, 9, "norwegian.txt"},
        // An explicit index ignores the layout; one outside 0-9 reads English.
        {0x0407, 4, "danish.txt"},
        {0x0407, 0, "english.txt"},
        {0x0407, -1, "english.txt"},
        {0x0407, 10, "english.txt"},
        {0x0407, INT_MAX, "english.txt"},
    };
    for (const auto& c : cases) {
        os.SetLangId(c.langId);
        LanguageTable table;
        EXPECT_EQ(table.Load(dir.Path().c_str(), c.index), 1);
        EXPECT_STREQ(table.Text(0), c.loaded) << std::hex << c.langId << " index " << c.index;
        EXPECT_EQ(table.LineCount(), 3);
    }
}

TEST(LanguageTableTest, FallsBackToEnglishAndLeavesTheTableEmptyWithoutIt) {
    TempFolder dir;
    TestOs os;
    vok::ScopedOs scoped(os);
    os.SetLangId(0x041D);
    LanguageTable table;

    WriteLanguage(dir, "english.txt", "english.txt\n");
    EXPECT_EQ(table.Load(dir.Path().c_str(), 9), 1);
    EXPECT_STREQ(table.Text(0), "english.txt");
    EXPECT_EQ(table.Load(dir.Path().c_str(), 8), 1);
    EXPECT_STREQ(table.Text(0), "english.txt");

    // An English file that is there but cannot be read counts as missing.
    WriteLanguage(dir, "swedish.txt", "swedish.txt\n");
    os.FailPath(TestOs::Op::Read, "english.txt");
    os.FailPath(TestOs::Op::Read, "swedish.txt");
    for (int index : {9, 1, 0}) {
        EXPECT_EQ(table.Load(dir.Path().c_str(), index), 0);
        EXPECT_EQ(table.LineCount(), 0);  // the previous load is gone
        EXPECT_STREQ(table.Text(0), "<error>");
    }
    os.ClearFaults();
    std::filesystem::remove_all(dir / "language");
    EXPECT_EQ(table.Load(dir.Path().c_str(), 1), 0);
    EXPECT_STREQ(table.Text(0), "<error>");
}

TEST(LanguageTableTest, NeverOpensAPathThatDoesNotFitItsBuffer) {
    TestOs os;
    vok::ScopedOs scoped(os);
    // "language/english.txt" and "language/swedish.txt" are 20 characters: a
    // 491-character directory leaves room for the zero, 492 does not.
    for (std::size_t length : {491u, 492u, 5000u}) {
        std::string directory(length - 1, 'd');
        directory += '/';
        LanguageTable table;
        int reads = os.Calls(TestOs::Op::Read);
        EXPECT_EQ(table.Load(directory.c_str(), 1), 0);
        EXPECT_EQ(table.LineCount(), 0);
        EXPECT_EQ(os.Calls(TestOs::Op::Read) - reads, length == 491 ? 2 : 0) << length;
    }
}

TEST(LanguageTableTest, ReadsLinesAsTextModeDoes) {
    TempFolder dir;
    TestOs os;
    vok::ScopedOs scoped(os);
    const std::string a499(499, 'a');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"A\nB\n", {"A", "B", ""}},
        {"A\nB", {"A", "B"}},
        {"", {""}},
        {"\n", {"", ""}},
        {"A\r\nB\r\n", {"A", "B", ""}},
        // Only a carriage return directly before a line feed goes.
        {"A\rB\r\r\nC\r", {"A\rB\r", "C\r"}},
        {"A\nB\x1A"
         "C\nD",
         {"A", "B"}},
        {"\x1A\nA", {""}},
        {a499 + "\nB", {a499, "B"}},
        {a499 + "\r\nB", {a499, "B"}},
        // A longer line keeps its first 499 characters; the next line starts
        // after its line feed.
        {a499 + "b\nB", {a499, "B"}},
        {a499 + std::string(600, 'b') + "\r\nB\r\nC", {a499, "B", "C"}},
        {"x\n" + a499 + "bc", {"x", a499}},
    };
    for (const auto& c : cases) {
        WriteLanguage(dir, "english.txt", c.text);
        LanguageTable table;
        ASSERT_EQ(table.Load(dir.Path().c_str(), 0), 1);
        EXPECT_EQ(Lines(table), c.lines) << "text: " << c.text.substr(0, 20);
        EXPECT_STREQ(table.Text(table.LineCount()), "<error>");
        EXPECT_STREQ(table.Text(-1), "<error>");
        EXPECT_STREQ(table.Text(INT_MIN), "<error>");
    }

    std::string many;
    for (int i = 0; i < 600; ++i) {
        many += "line " + std::to_string(i) + "\r\n";
    }
    WriteLanguage(dir, "english.txt", many);
    LanguageTable table;
    ASSERT_EQ(table.Load(dir.Path().c_str(), 0), 1);
    EXPECT_EQ(table.LineCount(), 512);
    EXPECT_STREQ(table.Text(511), "line 511");
    EXPECT_STREQ(table.Text(512), "<error>");
}
