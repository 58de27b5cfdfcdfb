#include <gtest/gtest.h>

#include "Fakes.h"
#include "kvfile/KeyValueFile.h"

namespace vok::test {
namespace {

const std::string kMissing = "<missing>";

// A file's tokens as "text@offset", joined by '|'.
std::string Tokens(const KeyValueFile& file) {
    std::string out;
    for (int i = 0; i < file.TokenCount(); ++i) {
        out +=
            (i ? "|" : "") + std::string(file.Token(i)) + "@" + std::to_string(file.TokenStart(i));
    }
    return out;
}

// What an object shows besides its tokens: the text length and the cursor.
std::string State(const KeyValueFile& file) {
    return Tokens(file) + " " + std::to_string(file.TextLength()) + " @" +
           std::to_string(file.Cursor());
}

struct Fixture {
    TestOs os;
    TempFolder folder;
    std::string path = folder / "kv.dat";
    explicit Fixture(const std::string& contents) {
        if (contents != kMissing) {
            WriteFile(path, contents);
        }
    }
    std::string Disk() const { return Exists(path) ? ReadFile(path) : kMissing; }
};

// Tokens with their offsets, and the values found from the cursor on:
// "key>value", "*>value" for the next token, "^key>value" with keys only at
// line starts.
TEST(KeyValueFile, CutsTokensAndFindsValuesFromTheCursorOn) {
    const struct {
        std::string text, tokens;
        Strings queries;
    } cases[] = {
        {"a = 1\r\n", "a@0|1@4|@7", {"A>1", "a>1", "b>d"}},
        {"a = 1", "a@0|1@4", {"a>1", "a>1"}},
        {"", "@0", {"a>d", "*>"}},
        {kMissing, "", {"a>d", "*>d"}},
        {"key = \"x y\"\r\n", "key@0|x y@7|@13", {"KEY>x y"}},
        {"a\"b c\"", "a@0|b@2|c@4|@6", {"a>b"}},
        {"k = \"\"\r\n", "k@0|@5|@8", {"k>"}},
        {"k = \"open to the end", "k@0|open to the end@5", {}},
        {"a=1,2,3", "a@0|1@2|2@4|3@6", {"a>1"}},
        {"b\t= 4", "b\t@0|4@4", {"b>d"}},
        {"n\xe4me = \x80x", "n\xe4me@0|\x80x@7", {"N\xe4ME>\x80x", "n\xc4me>d"}},
        {std::string("z\0y = 1", 7), "z@0|1@6", {}},
        {"x = y\r\ny = 2\r\n", "x@0|y@4|y@7|2@11|@14", {"y>y", "^y>2", "^x>y"}},
        {"name\r\n", "name@0|@6", {"name>"}},
        {"a = 1\r\nb", "a@0|1@4|b@7", {"b>a"}},
        {"a = 1\r\nb = 2\r\n", "a@0|1@4|b@7|2@11|@14", {"b>2", "a>1", "*>b", "*>2", "*>", "*>a"}},
        {"A = 1\r\na = 2\r\n", "A@0|1@4|a@7|2@11|@14", {"a>1", "a>2", "a>1"}},
    };
    for (const auto& c : cases) {
        Fixture f(c.text);
        KeyValueFile file(f.path.c_str());
        EXPECT_EQ(Tokens(file), c.tokens) << c.text;
        EXPECT_EQ(file.TextLength(), c.text == kMissing ? 0 : int(c.text.size()) + 1);
        for (const std::string& query : c.queries) {
            bool lineStarts = query[0] == '^';
            file.SetKeysAtLineStart(lineStarts);
            std::string key = query.substr(lineStarts, query.find('>') - lineStarts);
            const char* value = file.GetValue(key == "*" ? nullptr : key.c_str(), "d");
            EXPECT_EQ(value, query.substr(query.find('>') + 1)) << c.text << " " << query;
        }
    }
    Fixture f("a = 1\r\n");
    KeyValueFile file(f.path.c_str());
    EXPECT_TRUE(file.Token(-1) == nullptr && file.Token(3) == nullptr);
    EXPECT_EQ(file.TokenStart(-1), -1);
    EXPECT_EQ(file.TokenStart(3), -1);
    file.Load((f.folder / "kv").c_str());  // shorter than the last path, and missing
    EXPECT_EQ(Tokens(file), "");
    EXPECT_EQ(KeyValueFile::CompareNoCase("Ply[1]", "pLY[1]"), 0);
    EXPECT_EQ(KeyValueFile::CompareNoCase("a", "Z"), -1);
    EXPECT_EQ(KeyValueFile::CompareNoCase("\xe4", "\xc4"), 1);
}

TEST(KeyValueFile, WritesReplaceInPlaceOrAddOnTop) {
    const struct {
        std::string before;
        std::vector<std::string> writes;  // "key=value", "+key=value" adds when absent, "key" reads
        std::string after;
    } cases[] = {
        {kMissing, {"+a=5"}, "a = 5\r\n"},
        {kMissing, {"a=5"}, kMissing},
        {"", {"+a=5"}, "a = 5\r\n"},
        {"a = 10\r\nb = 2\r\n", {"a=7"}, "a = 7\r\nb = 2\r\n"},
        {kMissing, {"+a=1", "+b=2", "+c=3"}, "c = 3\r\nb = 2\r\na = 1\r\n"},
        {"k = \"\"\r\n", {"k=v"}, "k = \"v\"\r\n"},
        {"LeagueName = \"Cup\"\r\n", {"LeagueName=\"Big\""}, "LeagueName = \"\"Big\"\"\r\n"},
        {"a = 1\r\nb", {"+b=2"}, "b = 2\r\na = 1\r\nb"},
        {"a = 1\r\nb", {"b=2"}, "a = 1\r\nb"},
        {"a = 1\r\nb = 2", {"b", "+c=3", "a", "+d=4"}, "d = 4\r\nc = 3\r\na = 1\r\nb = 2"},
        {"x = y\r\ny = 2\r\n", {"y=3"}, "x = y\r\n3 = 2\r\n"},
        {"a = old value\r\n", {"a=", "+b=\"q\"", "+c="}, "c = \r\nb = \"q\"\r\na =  value\r\n"},
        {"a = 1\r\n",
         {"+n=\"x\"y\"", "+m=\"z", "+o=z\""},
         "o = z\"\r\nm = \"z\r\nn = \"x\"y\"\r\na = 1\r\n"},
    };
    // Each case one write at a time and in a batch: the batch's object shows
    // what the other does after every write, and commits the same bytes.
    for (const auto& c : cases) {
        Fixture f(c.before), batched(c.before);
        KeyValueFile file(f.path.c_str()), batch(batched.path.c_str());
        batch.BeginBatch();
        for (const std::string& write : c.writes) {
            bool add = write[0] == '+';
            std::size_t equals = write.find('=');
            std::string key = write.substr(add, equals - add);
            if (equals == std::string::npos) {
                EXPECT_STREQ(batch.GetValue(key.c_str(), "d"), file.GetValue(key.c_str(), "d"));
            } else {
                EXPECT_EQ(file.WriteString(key.c_str(), write.c_str() + equals + 1, add), 0);
                EXPECT_EQ(batch.WriteString(key.c_str(), write.c_str() + equals + 1, add), 0);
            }
            EXPECT_EQ(State(batch), State(file)) << c.before << " " << write;
        }
        EXPECT_EQ(f.Disk(), c.after) << c.before;
        EXPECT_EQ(Tokens(file), Tokens(KeyValueFile(f.path.c_str()))) << c.before;
        EXPECT_FALSE(Exists(f.path + KeyValueFile::kSideSuffix));
        EXPECT_EQ(batched.Disk(), c.before);  // nothing reaches the disk before the commit
        EXPECT_TRUE(batch.CommitBatch());
        EXPECT_EQ(batched.Disk(), c.after);
    }
    Fixture f(kMissing);
    KeyValueFile file(f.path.c_str());
    file.BeginBatch();
    file.Load(f.path.c_str());             // abandons the batch
    EXPECT_FALSE(file.CommitBatch());      // no batch to commit
    file.WriteString("n", nullptr, true);  // no value, nothing written
    file.WriteFloat("f", 0.1f, true);
    file.WriteFloat("h", 100.0f, true);
    file.WriteInt("i", -2147483647 - 1, true);
    EXPECT_EQ(f.Disk(), "i = -2147483648\r\nh = 100.000000\r\nf = 0.100000\r\n");
}

// A write that cannot finish leaves the old file whole, and the object
// describes the file on disk.
TEST(KeyValueFile, AFailedWriteLeavesTheOldFileWhole) {
    const std::string old = "a = 1\r\nb = 2\r\n";
    for (const char* fault : {"write", "replace", "read"}) {
        for (bool batch : {false, true}) {
            Fixture f(old);
            KeyValueFile file(f.path.c_str());
            f.os.failing = {fault};
            if (batch) {
                file.BeginBatch();
            }
            file.WriteInt("a", 7, true);
            file.WriteInt("c", 3, true);
            if (batch) {
                EXPECT_FALSE(file.CommitBatch()) << fault;
            }
            EXPECT_EQ(f.Disk(), old) << fault << (batch ? " (batch)" : "");
            EXPECT_FALSE(Exists(f.path + KeyValueFile::kSideSuffix)) << fault;
            f.os.failing.clear();
            if (std::string(fault) != "read") {  // an unreadable file is described as none
                EXPECT_EQ(Tokens(file), Tokens(KeyValueFile(f.path.c_str()))) << fault;
            }
        }
    }
    // A path too long for its buffer is refused, never cut to another file.
    Fixture f(kMissing);
    std::string longPath = f.path + std::string(600, 'x');
    KeyValueFile file(longPath.c_str());
    EXPECT_EQ(file.WriteInt("a", 1, true), 0);
    file.BeginBatch();
    file.WriteInt("a", 1, true);
    EXPECT_FALSE(file.CommitBatch());
    EXPECT_EQ(Tree(f.folder.path), Files());
}

}  // namespace
}  // namespace vok::test
