#include "FuzzCases.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "i18n/LanguageTable.h"
#include "kvfile/KeyValueFile.h"
#include "platform/Os.h"

namespace vok::fuzz {

namespace {

// Inputs run thousands of times a second: one folder a process, removed at exit.
// The path outlives the static destructors, which run before the removal.
const std::string& Scratch() {
    static const std::string& folder = *[] {
        char temp[512];
        SystemOs().TempPath(temp, sizeof temp);
        auto path =
            new std::string(std::string(temp) + "vokfuzz-" + std::to_string(getpid()) + "/");
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
        std::string text(reinterpret_cast<const char*>(data), length < size ? length : size);
        data += text.size();
        size -= text.size();
        return text;
    }
    std::uint32_t Number() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return value;
    }
};

std::string Tokens(const KeyValueFile& file, bool cursor = true) {
    std::string out =
        std::to_string(file.TextLength()) + "@" + std::to_string(cursor ? file.Cursor() : 0);
    for (int i = 0; i < file.TokenCount(); ++i) {
        out += "|" + std::to_string(file.TokenStart(i)) + ":" + file.Token(i);
    }
    return out;
}

}  // namespace

// The object under test follows the operations as they come, batches
// included; a second object makes every write at once, each on its own, and
// starts again from the first one's file whenever a batch begins. The two
// must agree after every step, and each must describe its file as a fresh
// read does.
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    const std::string path = Scratch() + "f.dat", single = Scratch() + "single.dat";
    std::uint8_t flags = in.Byte();
    std::size_t length = in.Byte();
    length |= static_cast<std::size_t>(in.Byte()) << 8;
    for (const std::string& file : {path, single, path + ".new", single + ".new"}) {
        std::remove(file.c_str());
    }
    if (!(flags & 0x01)) {
        std::string text = in.Text(length);
        SystemOs().WriteWholeFile(path.c_str(), text.data(), text.size());
        SystemOs().WriteWholeFile(single.c_str(), text.data(), text.size());
    }
    KeyValueFile file(path.c_str()), each(single.c_str());
    bool lineKeys = flags & 0x02, batching = false;
    for (int step = 0; step < 12 && in.size; ++step) {
        file.SetKeysAtLineStart(lineKeys);
        each.SetKeysAtLineStart(lineKeys);
        std::uint8_t code = in.Byte();
        int op = (code & 0x0F) % 8;
        bool add = code & 0x10;
        std::string key;
        if (op == 0 || (op >= 2 && op <= 4)) {
            std::uint8_t b = in.Byte();
            if (!(b & 0x80)) {
                key = in.Text(b);
            } else if (file.TokenCount()) {
                key = file.Token((b & 0x3F) % file.TokenCount());
                for (char& c : key) {
                    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                    c = (b & 0x40) && letter ? static_cast<char>(c ^ 0x20) : c;
                }
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
            std::uint32_t bits = in.Number();
            float real;
            std::memcpy(&real, &bits, sizeof real);
            op == 3 ? file.WriteInt(key.c_str(), static_cast<std::int32_t>(bits), add)
                    : file.WriteFloat(key.c_str(), real, add);
            op == 3 ? each.WriteInt(key.c_str(), static_cast<std::int32_t>(bits), add)
                    : each.WriteFloat(key.c_str(), real, add);
        } else if (op == 5) {
            file.BeginBatch();
            std::string text;  // a batch starts from the file as it is
            std::remove(single.c_str());
            if (SystemOs().ReadWholeFile(path.c_str(), text) == ReadResult::Ok) {
                SystemOs().WriteWholeFile(single.c_str(), text.data(), text.size());
            }
            each.Load(single.c_str());
            batching = true;
        } else if (op == 6) {
            file.CommitBatch();
            if (batching) {
                each.Load(single.c_str());  // the commit reads the file anew
            }
            batching = false;
        } else {
            lineKeys = !lineKeys;
        }
        std::string text, other;
        bool exists = SystemOs().ReadWholeFile(path.c_str(), text) == ReadResult::Ok;
        bool otherExists = SystemOs().ReadWholeFile(single.c_str(), other) == ReadResult::Ok;
        if (Tokens(file) != Tokens(each) ||
            Tokens(KeyValueFile(single.c_str())) != Tokens(each, false)) {
            return "step " + std::to_string(step) + ": the token lists differ";
        }
        if ((!batching && (exists != otherExists || text != other)) ||
            SystemOs().CanOpen((path + ".new").c_str())) {
            return "step " + std::to_string(step) + ": the files differ";
        }
    }
    return "";
}

std::string RunLanguageCase(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    int line = static_cast<std::int32_t>(in.Number());
    std::string text = in.Text(in.size);
    std::string english = Scratch() + "language/english.txt";
    SystemOs().WriteWholeFile(english.c_str(), text.data(), text.size());
    LanguageTable table;
    table.Load(Scratch().c_str(), 0);
    // Windows' text mode: Ctrl-Z ends the file, CR LF reads as LF.
    std::vector<std::string> lines(1);
    for (char c : text.substr(0, text.find('\x1A'))) {
        if (c == '\n') {
            if (!lines.back().empty() && lines.back().back() == '\r') {
                lines.back().pop_back();
            }
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    if (table.LineCount() != static_cast<int>(lines.size() < 512 ? lines.size() : 512) ||
        std::strcmp(table.Text(table.LineCount()), "<error>") != 0 || !table.Text(line)) {
        return "a table of " + std::to_string(table.LineCount()) + " lines";
    }
    for (int i = 0; i < table.LineCount(); ++i) {
        if (std::string(table.Text(i)) != std::string(lines[i].substr(0, 499).c_str())) {
            return "line " + std::to_string(i) + " differs";
        }
    }
    return "";
}

}  // namespace vok::fuzz
