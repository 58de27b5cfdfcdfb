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
        char temp[512];
        SystemOs().TempPath(temp, sizeof temp);
        auto path = new std::string(temp + ("vokfuzz-" + std::to_string(getpid()) + "/"));
        std::filesystem::create_directories(*path + "language");
        std::atexit([] { std::filesystem::remove_all(Scratch()); });
        return path;
    }();
    return folder;
}

std::string Take(const std::uint8_t*& data, std::size_t& size, std::size_t length) {
    std::string text(reinterpret_cast<const char*>(data), std::min(length, size));
    data += text.size();
    size -= text.size();
    return text;
}

std::string Tokens(const KeyValueFile& file) {
    std::string out = std::to_string(file.TextLength());
    for (int i = 0; i < file.TokenCount(); ++i) {
        out += "|" + std::to_string(file.TokenStart(i)) + ":" + file.Token(i);
    }
    return out;
}

}  // namespace

// A key-value file driven through the real seam. The input: flags (1 byte:
// 0x01 start without a file, 0x02 keys only at line starts), the initial
// file (a 2-byte little-endian length, then its bytes), and up to 12
// operations, each an opcode byte (low 4 bits modulo 8: get by key, get next,
// WriteString, WriteInt, WriteFloat, BeginBatch, CommitBatch, keys at line
// starts; 0x10 sets addIfAbsent) with its operands: a key is one byte b (with
// 0x80 the text of token b & 0x3F, else b bytes), a text one length byte and
// its bytes, a number 4 bytes. Missing bytes read as zero. Outside a batch the
// token list must be that of a fresh read, and no side file may be left.
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size) {
    const std::string path = Scratch() + "f.dat";
    std::remove(path.c_str());
    std::string head = Take(data, size, 3) + std::string(3, '\0');
    std::string start = Take(data, size, std::uint8_t(head[1]) | std::uint8_t(head[2]) << 8);
    if (!(head[0] & 0x01)) {
        SystemOs().WriteWholeFile(path.c_str(), start.data(), start.size());
    }
    KeyValueFile file(path.c_str());
    file.SetKeysAtLineStart(head[0] & 0x02);
    bool batching = false;
    for (int step = 0; step < 12 && size; ++step) {
        std::uint8_t code = Take(data, size, 1)[0], op = (code & 0x0F) % 8;
        std::string key, operand;
        if (op == 0 || (op >= 2 && op <= 4)) {
            std::uint8_t b = Take(data, size, 1).append(1, '\0')[0];
            key = !(b & 0x80)         ? Take(data, size, b)
                  : file.TokenCount() ? file.Token((b & 0x3F) % file.TokenCount())
                                      : "";
        }
        if (op >= 2 && op <= 4) {
            operand = op == 2 ? Take(data, size, Take(data, size, 1).append(1, '\0')[0])
                              : Take(data, size, 4) + std::string(4, '\0');
        }
        std::int32_t number = 0;
        float real = 0;
        std::memcpy(&number, operand.data(), op == 3 ? 4 : 0);
        std::memcpy(&real, operand.data(), op == 4 ? 4 : 0);
        bool add = code & 0x10;
        switch (op) {
            case 0:
                file.GetValue(key.c_str(), "");
                break;
            case 1:
                file.GetValue(nullptr, "");
                break;
            case 2:
                file.WriteString(key.c_str(), operand.c_str(), add);
                break;
            case 3:
                file.WriteInt(key.c_str(), number, add);
                break;
            case 4:
                file.WriteFloat(key.c_str(), real, add);
                break;
            case 5:
                file.BeginBatch(), batching = true;
                break;
            case 6:
                file.CommitBatch(), batching = false;
                break;
            default:
                file.SetKeysAtLineStart(step % 2);
                break;
        }
        // Outside a batch the object describes its file as a fresh read does.
        if (!batching && Tokens(file) != Tokens(KeyValueFile(path.c_str()))) {
            return "step " + std::to_string(step) + ": the token list is not the file's";
        }
        if (SystemOs().CanOpen((path + ".new").c_str())) {
            return "step " + std::to_string(step) + ": a side file is left";
        }
    }
    return "";
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
