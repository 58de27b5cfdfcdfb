#include "dialogs/Credits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "TestUi.h"
#include "common/ProcessState.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

const int kColumnControls[] = {IDC_CREDITS_COLUMN1, IDC_CREDITS_COLUMN2, IDC_CREDITS_COLUMN3};

// Splits a column into its sections and counts the names under each heading.
struct Section {
    std::string heading;
    int names;
};

std::vector<Section> Sections(const std::string& column) {
    std::vector<Section> sections;
    std::size_t start = 0;
    while (true) {
        std::size_t end = column.find("\n\n", start);
        std::string text = column.substr(start, end == std::string::npos ? end : end - start);
        Section section{text.substr(0, text.find('\n')), 0};
        for (std::size_t at = text.find("\n - "); at != std::string::npos;
             at = text.find("\n - ", at + 1)) {
            ++section.names;
        }
        sections.push_back(section);
        if (end == std::string::npos) {
            return sections;
        }
        start = end + 2;
    }
}

class CreditsTest : public ::testing::Test {
protected:
    CreditsTest() { ResetProcess(); }

    void LoadLanguage(int lines) {
        WriteLanguageFile(root_.Path(), "english.txt", lines, "en ");
        Process().language.Load((root_.Path() + "data/").c_str(), 0);
    }

    TempFolder root_;
};

TEST_F(CreditsTest, ColumnsTakeTheirHeadingsInTheTablesOrderAndCounts) {
    LoadLanguage(102);
    TestUi dialog;

    OpenCredits(dialog);

    EXPECT_EQ(dialog.Captions(), std::vector<std::string>{"en 87"});
    EXPECT_EQ(dialog.TextOf(1), "en 101");
    ASSERT_EQ(dialog.Texts().size(), 4u);
    EXPECT_EQ(dialog.Texts().back().first, 1);  // the button comes last

    const std::vector<std::vector<std::pair<std::string, int>>> expected = {
        {{"en 88", 3}, {"en 89", 2}, {"en 90", 4}, {"en 91", 2}},
        {{"en 92", 1}, {"en 93", 2}, {"en 94", 2}, {"en 95", 2}, {"en 97", 2}},
        {{"en 96", 1}, {"en 98", 2}, {"DEMO", 2}, {"en 99", 1}, {"en 100", 1}},
    };
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        std::string text = dialog.TextOf(kColumnControls[column]);
        EXPECT_EQ(dialog.Texts()[column].first, kColumnControls[column]);
        std::vector<std::pair<std::string, int>> found;
        for (const Section& section : Sections(text)) {
            found.emplace_back(section.heading, section.names);
        }
        EXPECT_EQ(found, expected[column]);
        EXPECT_NE(text.back(), '\n');
        EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
    }
}

TEST_F(CreditsTest, FirstColumnReadsExactly) {
    LoadLanguage(102);
    char buffer[kCreditsBufferSize];
    int length = ComposeCreditsColumn(0, Process().language, buffer);
    const std::string expected =
        "en 88\n - Maren Holt\n - Jonas Brink\n - Elsa Varg\n\n"
        "en 89\n - Pekka Ruusu\n - Ida Stenvall\n\n"
        "en 90\n - Rune Falkner\n - Lotta Grahn\n - Nils Ekberg\n - Saga Lindmark\n\n"
        "en 91\n - Viktor Ahlgren\n - Hedda Moss";
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(length, static_cast<int>(expected.size()));
}

TEST_F(CreditsTest, MissingLinesShowAsErrorAndTheNamesStay) {
    LoadLanguage(88);  // lines 0-87: the caption and nothing after it
    TestUi dialog;

    OpenCredits(dialog);

    EXPECT_EQ(dialog.Captions(), std::vector<std::string>{"en 87"});
    EXPECT_EQ(dialog.TextOf(1), "<error>");
    int errors = 0;
    for (int control : kColumnControls) {
        for (const Section& section : Sections(dialog.TextOf(control))) {
            errors += section.heading == "<error>";
            EXPECT_GT(section.names, 0);
        }
    }
    EXPECT_EQ(errors, 13);
    EXPECT_NE(dialog.TextOf(IDC_CREDITS_COLUMN3).find("\n\nDEMO\n - "), std::string::npos);
    EXPECT_NE(dialog.TextOf(IDC_CREDITS_COLUMN1).find(" - Maren Holt"), std::string::npos);
}

TEST_F(CreditsTest, HeadingsOfTheLongestLineAreComposedWhole) {
    std::string text;
    for (int line = 0; line < 102; ++line) {
        text += std::string(499, static_cast<char>('A' + line % 26)) + "\r\n";
    }
    std::filesystem::create_directories(root_.Path() + "data/language");
    WriteFile(root_.Path() + "data/language/english.txt", text);
    Process().language.Load((root_.Path() + "data/").c_str(), 0);

    for (int column = 0; column < kCreditsColumns; ++column) {
        SCOPED_TRACE(column);
        char buffer[kCreditsBufferSize];
        int length = ComposeCreditsColumn(column, Process().language, buffer);
        ASSERT_GT(length, 0);
        EXPECT_LT(length, static_cast<int>(kCreditsBufferSize));
        for (const Section& section : Sections(buffer)) {
            if (section.heading != "DEMO") {
                EXPECT_EQ(section.heading.size(), 499u);
            }
        }
    }
}

TEST_F(CreditsTest, OkAndEscapeEndWithTwoOtherCommandsAreNotHandled) {
    for (int id : {1, 2}) {
        TestUi dialog;
        EXPECT_TRUE(RunCreditsCommand(dialog, id));
        EXPECT_EQ(dialog.EndResults(), std::vector<int>{2}) << id;
    }
    TestUi dialog;
    for (int id : {0, 3, IDC_CREDITS_COLUMN1, 0xFFFF}) {
        EXPECT_FALSE(RunCreditsCommand(dialog, id)) << id;
    }
    EXPECT_TRUE(dialog.EndResults().empty());
}

}  // namespace
}  // namespace vok::test
