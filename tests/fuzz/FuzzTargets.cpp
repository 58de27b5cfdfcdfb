// The libFuzzer targets: built once for each case, which VOK_FUZZ_CASE names.
// A case runs one input and returns the first invariant that did not hold, or
// "".
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "i18n/LanguageTable.h"
#include "kvfile/KeyValueFile.h"
#include "platform/Os.h"

namespace vok::fuzz {

namespace {

// Inputs run thousands of times a second: one folder a process, removed at
// exit. The path is never destroyed, as the removal runs after destructors.
const std::string& Scratch() {
    static const std::string& folder = *[] {
        Path temp;
        SystemOs().TempPath(temp, sizeof temp);
        auto path = new std::string(temp + ("vokfuzz-" + std::to_string(getpid()) + "/"));
        std::filesystem::create_directories(*path + "language");
        std::atexit([] { std::filesystem::remove_all(Scratch()); });
        return path;
    }();
    return folder;
}

std::string Tokens(const KeyValueFile& file) {
    std::string out = std::to_string(file.TextLength());
    for (int i = 0; i < file.TokenCount(); ++i) {
        out += "|" + std::to_string(file.TokenStart(i)) + ":" + file.Token(i);
    }
    return out;
}

}  // namespace

// The input is a key-value file. Its first tokens are read and written back
// as keys, each with a value cut from the input and keys at line starts every
// other time, once write by write and once in a batch: after each write both
// describe the same text, the single writes' object that of a fresh read, and
// the commit leaves the same bytes, without a side file.
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size) {
    const std::string one = Scratch() + "one.dat", two = Scratch() + "two.dat";
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& path : {one, two}) {
        SystemOs().WriteWholeFile(path.c_str(), text.data(), text.size());
    }
    KeyValueFile file(one.c_str()), batch(two.c_str());
    batch.BeginBatch();
    for (int i = 0; i < 12 && i < file.TokenCount(); ++i) {
        const std::string key = file.Token(i), read = file.Token(i * 5 % file.TokenCount());
        const std::string value = text.substr(i * 7 % (size + 1), i);
        for (KeyValueFile* kv : {&file, &batch}) {
            kv->SetKeysAtLineStart(i % 2);
            kv->GetValue(read.c_str(), "");  // moves the cursor
            kv->WriteString(key.c_str(), value.c_str(), key.size() % 2);
        }
        if (Tokens(file) != Tokens(batch) || file.Cursor() != batch.Cursor()) {
            return "write " + std::to_string(i) + ": the batch differs";
        }
        if (Tokens(file) != Tokens(KeyValueFile(one.c_str()))) {
            return "write " + std::to_string(i) + ": the token list is not the file's";
        }
    }
    batch.CommitBatch();
    std::string written[2];
    SystemOs().ReadWholeFile(one.c_str(), written[0]);
    SystemOs().ReadWholeFile(two.c_str(), written[1]);
    if (written[0] != written[1]) {
        return "the batch wrote other bytes";
    }
    return SystemOs().CanOpen((one + KeyValueFile::kSideSuffix).c_str()) ||
                   SystemOs().CanOpen((two + KeyValueFile::kSideSuffix).c_str())
               ? "a side file is left"
               : "";
}

// Whatever the bytes, the table holds at most 512 lines of at most 499
// characters without a line feed, and "<error>" past its last line.
std::string RunLanguageCase(const std::uint8_t* data, std::size_t size) {
    std::string english = Scratch() + "language/english.txt";
    SystemOs().WriteWholeFile(english.c_str(), data, size);
    LanguageTable table;
    table.Load(Scratch().c_str(), 0);
    bool whole = table.LineCount() >= 1 && table.LineCount() <= 512 &&
                 std::strcmp(table.Text(table.LineCount()), "<error>") == 0;
    for (int i = 0; i < table.LineCount(); ++i) {
        whole = whole && std::strlen(table.Text(i)) <= 499 && !std::strchr(table.Text(i), '\n');
    }
    return whole ? "" : "a table of " + std::to_string(table.LineCount()) + " lines";
}

}  // namespace vok::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error = vok::fuzz::VOK_FUZZ_CASE(data, size);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return 0;
}
