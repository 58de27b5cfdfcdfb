#include "kvfile/KeyValueFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "TestOs.h"

namespace vok::test {
namespace {

using Tokens = std::vector<std::pair<std::string, int>>;

Tokens TokensOf(const KeyValueFile& file) {
    Tokens tokens;
    for (int i = 0; i < file.TokenCount(); ++i) {
        tokens.emplace_back(file.Token(i), file.TokenStart(i));
    }
    return tokens;
}

Tokens Tokenized(const TempFolder& dir, const std::string& contents) {
    WriteFile(dir / "f.txt", contents);
    KeyValueFile file((dir / "f.txt").c_str());
    return TokensOf(file);
}

}  // namespace

TEST(KeyValueFileTest, CutsTextIntoTokensWithTheirOffsets) {
    TempFolder dir;
    struct Case {
        std::string text;
        Tokens tokens;
    };
    const Case cases[] = {
        // The terminating zero is a token byte: a trailing separator leaves an
        // empty last token at the file size.
        {"a = 1\r\n", {{"a", 0}, {"1", 4}, {"", 7}}},
        {"a = 1", {{"a", 0}, {"1", 4}}},
        {"", {{"", 0}}},
        // A quote met while skipping opens a token that holds separators.
        {"key = \"x y\"\r\n", {{"key", 0}, {"x y", 7}, {"", 13}}},
        // A quote right after a plain token only ends it.
        {"a\"b c\"", {{"a", 0}, {"b", 2}, {"c", 4}, {"", 6}}},
        {"k = \"\"\r\n", {{"k", 0}, {"", 5}, {"", 8}}},
        {"a=1,2,3", {{"a", 0}, {"1", 2}, {"2", 4}, {"3", 6}}},
        // Tab, bytes above 0x7F and the zero byte belong to tokens; a token's
        // text ends at its first zero.
        {"b\t= 4", {{"b\t", 0}, {"4", 4}}},
        {"n = \xC5sa\xF1\r\n", {{"n", 0}, {"\xC5sa\xF1", 4}, {"", 10}}},
        {std::string("ab\0cd = 1", 9), {{"ab", 0}, {"1", 8}}},
        // An unclosed quote runs to the end of the text.
        {"a = \"open\r\nb = 2", {{"a", 0}, {std::string("open\r\nb = 2"), 5}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Tokenized(dir, c.text), c.tokens) << "text: " << c.text;
    }

    KeyValueFile missing((dir / "missing.txt").c_str());
    EXPECT_EQ(missing.TokenCount(), 0);
    EXPECT_EQ(missing.TextLength(), 0);
}

TEST(KeyValueFileTest, FindsValuesFromTheCursorOnWithoutRegardToCase) {
    TempFolder dir;
    std::string path = dir / "f.txt";
    auto valueIn = [&](const std::string& contents, const char* key) {
        WriteFile(path, contents);
        KeyValueFile file(path.c_str());
        return std::string(file.GetValue(key, "d"));
    };
    EXPECT_EQ(valueIn("a = 1\r\n", "A"), "1");
    EXPECT_EQ(valueIn("", "a"), "d");
    EXPECT_EQ(valueIn("x = y\r\ny = 2\r\n", "y"), "y");   // values are candidates too
    EXPECT_EQ(valueIn("a = 1\r\nname\r\n", "name"), "");  // the empty last token
    EXPECT_EQ(valueIn("a = 1\r\nname", "name"), "a");     // wraps to the first token
    EXPECT_EQ(valueIn("b\t= 4\r\n", "b"), "d");
    EXPECT_EQ(valueIn("\xC4r = 3\r\n", "\xE4r"), "d");  // only A-Z are folded
    EXPECT_EQ(valueIn("NAME = Grunt\r\n", "name"), "Grunt");

    KeyValueFile missing((dir / "missing.txt").c_str());
    EXPECT_STREQ(missing.GetValue("a", "d"), "d");

    WriteFile(path, "a = 1\r\nb = 2\r\n");
    KeyValueFile file(path.c_str());
    EXPECT_STREQ(file.GetValue("b", nullptr), "2");
    EXPECT_STREQ(file.GetValue("a", nullptr), "1");      // wraps past the end
    EXPECT_STREQ(file.GetValue(nullptr, nullptr), "b");  // the token after the value
    EXPECT_STREQ(file.GetValue(nullptr, nullptr), "2");

    // Keys of any length compare whole.
    std::string longKey(5000, 'k');
    WriteFile(path, longKey + "x = 1\r\n" + longKey + " = 2\r\n");
    KeyValueFile longFile(path.c_str());
    EXPECT_STREQ(longFile.GetValue(longKey.c_str(), "d"), "2");
}

TEST(KeyValueFileTest, WritesReplaceInPlaceOrAddOnTop) {
    TempFolder dir;
    std::string path = dir / "f.txt";
    {
        KeyValueFile file(path.c_str());
        file.WriteInt("a", 5, false);
        EXPECT_FALSE(Exists(path));
        file.WriteInt("a", 5, true);
        EXPECT_EQ(ReadFile(path), "a = 5\r\n");
    }
    {
        WriteFile(path, "a = 10\r\nb = 2\r\n");
        KeyValueFile file(path.c_str());
        file.WriteInt("a", 7, false);
        EXPECT_EQ(ReadFile(path), "a = 7\r\nb = 2\r\n");
        EXPECT_EQ(file.Cursor(), 0);
        EXPECT_STREQ(file.GetValue("b", "d"), "2");  // reloaded
    }
    {
        std::remove(path.c_str());
        KeyValueFile file(path.c_str());
        file.WriteInt("a", 1, true);
        file.WriteInt("b", 2, true);
        file.WriteInt("c", 3, true);
        EXPECT_EQ(ReadFile(path), "c = 3\r\nb = 2\r\na = 1\r\n");
    }
    {
        // The writer never adds quotes; a quoted value keeps its own.
        WriteFile(path, "LeagueName = \"Cup\"\r\n");
        KeyValueFile file(path.c_str());
        file.WriteString("leaguename", "\"Big\"", true);
        EXPECT_EQ(ReadFile(path), "LeagueName = \"\"Big\"\"\r\n");
        EXPECT_STREQ(file.GetValue("LeagueName", "d"), "");
        EXPECT_STREQ(file.GetValue(nullptr, nullptr), "Big");
    }
    {
        WriteFile(path, "k = \"\"\r\n");
        KeyValueFile file(path.c_str());
        file.WriteString("k", "v", false);
        EXPECT_EQ(ReadFile(path), "k = \"v\"\r\n");
    }
    {
        WriteFile(path, "");
        KeyValueFile file(path.c_str());
        file.WriteFloat("f", 0.1f, true);
        file.WriteFloat("g", 100.0f, true);
        file.WriteInt("i", -2147483647 - 1, true);
        file.WriteString("e", "", true);
        EXPECT_EQ(ReadFile(path), "e = \r\ni = -2147483648\r\ng = 100.000000\r\nf = 0.100000\r\n");
    }
}

TEST(KeyValueFileTest, NeverWritesOverAnotherTokenOrOutsideItsFile) {
    TempFolder dir;
    std::string path = dir / "f.txt";

    // A key that is the last token has no value; the wrap would make the first
    // token its value. It is treated as absent instead.
    WriteFile(path, "a = 1\r\nname");
    KeyValueFile file(path.c_str());
    file.WriteString("name", "Grunt", false);
    EXPECT_EQ(ReadFile(path), "a = 1\r\nname");
    file.WriteString("name", "Grunt", true);
    EXPECT_EQ(ReadFile(path), "name = Grunt\r\na = 1\r\nname");
    EXPECT_STREQ(file.GetValue("name", "d"), "Grunt");

    // A path that does not fit the path buffer is refused, never cut.
    std::string longPath = dir.Path() + std::string(600, 'x');
    KeyValueFile tooLong(longPath.c_str());
    tooLong.WriteInt("a", 1, true);
    EXPECT_EQ(tooLong.TokenCount(), 0);
    EXPECT_FALSE(Exists(dir.Path() + std::string(511 - dir.Path().size(), 'x')));
}

TEST(KeyValueFileTest, AFailedWriteLeavesTheOldFileAndItsTokens) {
    TempFolder dir;
    std::string path = dir / "league.dat";
    const std::string original = "b = 2\r\na = 1\r\n";
    const TestOs::Op steps[] = {TestOs::Op::Read, TestOs::Op::Write, TestOs::Op::Replace};
    for (TestOs::Op step : steps) {
        WriteFile(path, original);
        TestOs os;
        vok::ScopedOs scoped(os);
        KeyValueFile file(path.c_str());
        os.FailCall(step, step == TestOs::Op::Read ? 2 : 1);
        file.WriteInt("a", 12345, false);
        file.WriteInt("c", 3, true);  // succeeds: only one call fails
        EXPECT_EQ(ReadFile(path), "c = 3\r\n" + original) << static_cast<int>(step);
        EXPECT_FALSE(Exists(path + ".new"));
        EXPECT_STREQ(file.GetValue("a", "d"), "1");  // the token list is the disk's
    }
}

TEST(KeyValueFileTest, ABatchWritesTheBytesOfSeparateWritesInOneStep) {
    TempFolder dir;
    const std::string starts[] = {
        "",    // missing file
        "\0",  // replaced below by an empty file
        "k2 = old\r\nK5 = \"q v\"\r\nk1 = 1\r\n",
        "x = k3\r\nk3\r\n",  // a value that spells a key, a key at the end
    };
    const char* keys[] = {"k1", "k2", "K3", "k4", "k5"};
    for (int start = 0; start < 4; ++start) {
        std::string plainPath = dir / "plain.dat";
        std::string batchPath = dir / "batch.dat";
        std::remove(plainPath.c_str());
        std::remove(batchPath.c_str());
        if (start > 0) {
            WriteFile(plainPath, start == 1 ? "" : starts[start]);
            WriteFile(batchPath, start == 1 ? "" : starts[start]);
        }
        KeyValueFile plain(plainPath.c_str());
        KeyValueFile batch(batchPath.c_str());
        batch.BeginBatch();
        unsigned seed = 12345u + start;
        for (int n = 0; n < 200; ++n) {
            seed = seed * 1103515245u + 12345u;
            const char* key = keys[(seed >> 8) % 5];
            bool add = (seed >> 4) & 1;
            std::string value = ((seed >> 12) % 3 == 0) ? "" : std::to_string(seed % 1000);
            plain.WriteString(key, value.c_str(), add);
            batch.WriteString(key, value.c_str(), add);
            ASSERT_EQ(TokensOf(batch), TokensOf(plain)) << "start " << start << " write " << n;
        }
        // Nothing reaches the disk before the commit.
        EXPECT_EQ(ReadFile(batchPath), start >= 2 ? starts[start] : "");
        EXPECT_TRUE(batch.CommitBatch());
        EXPECT_EQ(ReadFile(batchPath), ReadFile(plainPath)) << "start " << start;
        EXPECT_EQ(TokensOf(batch), TokensOf(plain));
    }
}

TEST(KeyValueFileTest, AFailedCommitLeavesTheOldFileWhole) {
    TempFolder dir;
    std::string path = dir / "league.dat";
    const TestOs::Op steps[] = {TestOs::Op::Write, TestOs::Op::Replace};
    for (TestOs::Op step : steps) {
        WriteFile(path, "a = 1\r\n");
        TestOs os;
        vok::ScopedOs scoped(os);
        KeyValueFile file(path.c_str());
        file.BeginBatch();
        file.WriteInt("a", 2, true);
        file.WriteInt("b", 3, true);
        os.FailCall(step, 1);
        EXPECT_FALSE(file.CommitBatch());
        EXPECT_EQ(ReadFile(path), "a = 1\r\n");
        EXPECT_FALSE(Exists(path + ".new"));
        EXPECT_STREQ(file.GetValue("b", "d"), "d");
    }
    {
        // A file that exists but cannot be read is never overwritten.
        WriteFile(path, "a = 1\r\n");
        TestOs os;
        vok::ScopedOs scoped(os);
        KeyValueFile file(path.c_str());
        os.FailCall(TestOs::Op::Read, 2);
        file.BeginBatch();
        file.WriteInt("b", 3, true);
        EXPECT_FALSE(file.CommitBatch());
        EXPECT_EQ(ReadFile(path), "a = 1\r\n");
    }
}

TEST(KeyValueFileTest, KeysAtLineStartIgnoresValuesThatSpellAKey) {
    TempFolder dir;
    std::string path = dir / "f.txt";
    WriteFile(path, "p = \"b\"\r\nq = b\r\nb = 1\r\n");
    KeyValueFile file(path.c_str());
    file.SetKeysAtLineStart(true);
    file.WriteInt("b", 9, true);
    EXPECT_EQ(ReadFile(path), "p = \"b\"\r\nq = b\r\nb = 9\r\n");
    file.WriteInt("B", 10, false);
    EXPECT_EQ(ReadFile(path), "p = \"b\"\r\nq = b\r\nb = 10\r\n");
}

TEST(KeyValueFileTest, AFolderInPlaceOfTheFileIsNeitherReadNorReplaced) {
    TempFolder dir;
    std::string path = dir / "league.dat";
    vok::SystemOs().MakeFolder(path.c_str());
    KeyValueFile file(path.c_str());
    EXPECT_EQ(file.TokenCount(), 0);
    file.WriteInt("a", 1, true);
    EXPECT_FALSE(Exists(path + ".new"));
    EXPECT_EQ(file.TokenCount(), 0);
}

}  // namespace vok::test
