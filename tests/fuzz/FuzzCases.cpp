#include "FuzzCases.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

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

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() { return size ? (--size, *data++) : 0; }
    std::string Text(std::size_t length) {
        std::string text(reinterpret_cast<const char*>(data), std::min(length, size));
        data += text.size();
        size -= text.size();
        return text;
    }
};

bool Put(const std::string& path, const std::string* text) {
    std::remove(path.c_str());
    return !text || SystemOs().WriteWholeFile(path.c_str(), text->data(), text->size());
}

std::string Get(const std::string& path) {
    std::string text;
    return SystemOs().ReadWholeFile(path.c_str(), text) == ReadResult::Ok ? "+" + text : "-";
}

std::string Tokens(const KeyValueFile& file, int cursor) {
    std::string out = std::to_string(file.TextLength()) + "@" + std::to_string(cursor);
    for (int i = 0; i < file.TokenCount(); ++i) {
        out += "|" + std::to_string(file.TokenStart(i)) + ":" + file.Token(i);
    }
    return out;
}

}  // namespace

// The object under test follows the operations as they come, batches included;
// a second object makes every write at once, on its own file, which starts
// again from the first one's whenever a batch begins. After every step both
// agree, each describes its file as a fresh read does, and outside a batch
// both files hold the same bytes.
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    const std::string path = Scratch() + "f.dat", single = Scratch() + "single.dat";
    std::uint8_t flags = in.Byte();
    std::size_t length = in.Byte();
    length |= static_cast<std::size_t>(in.Byte()) << 8;
    std::string start = in.Text(flags & 0x01 ? 0 : length);
    Put(path, flags & 0x01 ? nullptr : &start);
    Put(single, flags & 0x01 ? nullptr : &start);
    KeyValueFile file(path.c_str()), each(single.c_str());
    bool lineKeys = flags & 0x02, batching = false;
    for (int step = 0; step < 12 && in.size; ++step) {
        file.SetKeysAtLineStart(lineKeys);
        each.SetKeysAtLineStart(lineKeys);
        std::uint8_t code = in.Byte(), op = (code & 0x0F) % 8;
        bool add = code & 0x10;
        std::string key;
        if (op == 0 || (op >= 2 && op <= 4)) {
            std::uint8_t b = in.Byte();
            key = !(b & 0x80)         ? in.Text(b)
                  : file.TokenCount() ? file.Token((b & 0x3F) % file.TokenCount())
                                      : "";
            for (char& c : key) {  // a key in another case
                bool letter =
                    (b & 0xC0) == 0xC0 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
                c = letter ? static_cast<char>(c ^ 0x20) : c;
            }
        }
        if (op <= 1) {
            const char* k = op == 0 ? key.c_str() : nullptr;
            if (std::strcmp(file.GetValue(k, "\x01"), each.GetValue(k, "\x01")) != 0) {
                return "step " + std::to_string(step) + ": GetValue differs";
            }
        } else if (op == 2) {
            std::string value = in.Text(in.Byte());
            file.WriteString(key.c_str(), value.c_str(), add);
            each.WriteString(key.c_str(), value.c_str(), add);
        } else if (op <= 4) {
            std::string bytes = in.Text(4) + std::string(4, '\0');
            std::int32_t number;
            float real;
            std::memcpy(&number, bytes.data(), 4);
            std::memcpy(&real, bytes.data(), 4);
            for (KeyValueFile* kv : {&file, &each}) {
                op == 3 ? kv->WriteInt(key.c_str(), number, add)
                        : kv->WriteFloat(key.c_str(), real, add);
            }
        } else if (op == 5 || op == 6) {
            op == 5 ? file.BeginBatch() : (void)file.CommitBatch();
            if (op == 5 || batching) {  // a batch starts from the file; a commit reads it anew
                std::string text = Get(path).substr(1);
                Put(single, Get(path)[0] == '+' ? &text : nullptr);
                each.Load(single.c_str());
            }
            batching = op == 5;
        } else {
            lineKeys = !lineKeys;
        }
        if (Tokens(file, file.Cursor()) != Tokens(each, each.Cursor()) ||
            Tokens(KeyValueFile(single.c_str()), 0) != Tokens(each, 0)) {
            return "step " + std::to_string(step) + ": the token lists differ";
        }
        if ((!batching && Get(path) != Get(single)) || Get(path + ".new") != "-") {
            return "step " + std::to_string(step) + ": the files differ";
        }
    }
    return "";
}

// Whatever the bytes, the table holds at most 512 lines of at most 499
// characters without a line feed, and "<error>" past its last line.
std::string RunLanguageCase(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Put(Scratch() + "language/english.txt", &text);
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
