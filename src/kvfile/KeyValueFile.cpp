#include "kvfile/KeyValueFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/Os.h"

namespace vok {

namespace {

// The six separator bytes as a table: the tokenizer asks once per byte.
struct SeparatorTable {
    bool separator[256] = {};
    constexpr SeparatorTable() {
        for (const char* byte = KeyValueFile::kSeparators; *byte; ++byte) {
            separator[static_cast<unsigned char>(*byte)] = true;
        }
    }
};
constexpr SeparatorTable kSeparatorTable;

inline bool IsSeparator(unsigned char byte) {
    return kSeparatorTable.separator[byte];
}

unsigned char Fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Writes the new content beside the file (so that both stay on one volume),
// onto the disk, and moves it over the file in one step: a failure at any
// point, or a power loss after the move, leaves a whole file.
bool ReplaceWhole(const char* path, const std::string& contents) {
    Os& os = CurrentOs();
    std::string side = std::string(path) + KeyValueFile::kSideSuffix;
    if (os.WriteWholeFile(side.c_str(), contents.data(), contents.size()) &&
        os.FlushToDisk(side.c_str()) && os.MoveReplace(side.c_str(), path)) {
        return true;
    }
    os.RemoveFile(side.c_str());
    return false;
}

}  // namespace

KeyValueFile::KeyValueFile(const char* path) {
    Load(path);
}

void KeyValueFile::Load(const char* path) {
    batching_ = false;
    std::size_t length = path ? std::strlen(path) : sizeof path_;
    // A cut path would name another file: it is refused, as a missing file.
    pathValid_ = length < sizeof path_;
    if (pathValid_) {
        std::memcpy(path_, path, length + 1);
    }
    Reload();
}

void KeyValueFile::Reload() {
    std::string file;
    const std::string& text = batching_ ? image_ : file;
    bool exists = batching_
                      ? imageExists_
                      : pathValid_ && CurrentOs().ReadWholeFile(path_, file) == ReadResult::Ok;
    // The text cut into tokens is the file plus a terminating zero (a
    // std::string keeps one after its last byte), which is a token byte: a
    // file ending in a separator ends in an empty token.
    if (exists && text.size() < static_cast<std::size_t>(INT_MAX)) {
        Tokenize(text.c_str(), static_cast<int>(text.size()) + 1);
    } else {
        Tokenize("", 0);
    }
}

bool KeyValueFile::Tokenize(const char* text, int length) {
    textLength_ = length;
    cursor_ = 0;
    text_.assign(text, static_cast<std::size_t>(length));
    tokens_.clear();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    int pos = 0;
    while (pos < length) {
        bool quoted = false;
        while (pos < length && IsSeparator(bytes[pos])) {
            if (bytes[pos++] == '"') {
                quoted = true;  // the byte after the quote is never a separator
                break;
            }
        }
        if (!quoted && pos == length) {
            break;
        }
        int start = pos;
        while (pos < length && (quoted ? bytes[pos] != '"' : !IsSeparator(bytes[pos]))) {
            ++pos;
        }
        tokens_.push_back({start, start == 0 || bytes[start - 1] == '\n'});
        text_[pos++] = '\0';  // the quote or separator that ended the token goes with it
    }
    return pos == length;
}

const char* KeyValueFile::Token(int index) const {
    return index >= 0 && index < TokenCount() ? text_.c_str() + tokens_[index].start : nullptr;
}

int KeyValueFile::TokenStart(int index) const {
    return index >= 0 && index < TokenCount() ? tokens_[index].start : -1;
}

int KeyValueFile::CompareNoCase(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        unsigned char p = Fold(*x);
        unsigned char q = Fold(*y);
        if (p != q) {
            return p < q ? -1 : 1;
        }
        if (p == 0) {
            return 0;
        }
    }
}

const char* KeyValueFile::Find(const char* key) {
    int count = TokenCount();
    if (cursor_ >= count) {
        cursor_ = 0;
    }
    for (int n = 0; n < count; ++n) {
        bool match = (!keysAtLineStart_ || tokens_[cursor_].lineStart) &&
                     CompareNoCase(key, Token(cursor_)) == 0;
        if (++cursor_ == count) {
            cursor_ = 0;
        }
        if (match) {
            return Token(cursor_);
        }
    }
    return nullptr;
}

const char* KeyValueFile::GetValue(const char* key, const char* defaultValue) {
    if (cursor_ >= TokenCount()) {
        cursor_ = 0;
    }
    if (!key) {
        if (TokenCount() == 0) {
            return defaultValue ? defaultValue : "";
        }
        return Token(cursor_++);
    }
    const char* value = Find(key);
    if (!value) {
        return defaultValue;
    }
    ++cursor_;
    return value;
}

int KeyValueFile::WriteString(const char* key, const char* value, bool addIfAbsent) {
    if (!pathValid_ || !key || !value) {
        return 0;
    }
    const char* found = Find(key);
    // A key that is the file's last token has no value: the search wrapped to
    // the first token, which belongs to someone else. Treat the key as absent.
    if (found && cursor_ == 0) {
        found = nullptr;
    }
    // A batch changes its image; otherwise the file is read, changed and
    // replaced. A file that exists but cannot be read is never written over.
    std::string file;
    std::string& contents = batching_ ? image_ : file;
    if ((found || addIfAbsent) &&
        (batching_ ? !batchBroken_
                   : CurrentOs().ReadWholeFile(path_, file) != ReadResult::Failed)) {
        std::string line;
        if (found) {
            // Offsets come from the last load; a file shortened behind our
            // back must not put the start past its end.
            std::size_t start = std::min<std::size_t>(tokens_[cursor_].start, contents.size());
            contents.replace(start, std::strlen(found), value);
        } else {
            line = std::string(key) + " = " + value + "\r\n";
            contents.insert(0, line);
        }
        if (!batching_) {
            ReplaceWhole(path_, contents);
        } else {
            bool existed = imageExists_;
            imageExists_ = true;
            if (existed && !found && AddOnTop(static_cast<int>(line.size()))) {
                return 0;
            }
        }
    }
    Reload();
    return 0;
}

// Save adds each of its keys on top of a growing image: cutting the whole
// image again after each of its 534 writes would take it from about 1.5 ms to
// 4 ms.
bool KeyValueFile::AddOnTop(int length) {
    KeyValueFile line;  // the line cut on its own
    if (image_.size() >= static_cast<std::size_t>(INT_MAX) ||
        !line.Tokenize(image_.data(), length)) {
        return false;
    }
    text_.insert(0, line.text_);
    // The line ends in a line feed: the old first token still begins a line.
    for (Place& token : tokens_) {
        token.start += length;
    }
    tokens_.insert(tokens_.begin(), line.tokens_.begin(), line.tokens_.end());
    textLength_ += length;
    cursor_ = 0;
    return true;
}

// Room for any number's text: "%f" of the largest float has 47 characters.
constexpr int kNumberTextSize = 64;

int KeyValueFile::WriteInt(const char* key, int value, bool addIfAbsent) {
    char text[kNumberTextSize];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(key, text, addIfAbsent);
}

int KeyValueFile::WriteFloat(const char* key, float value, bool addIfAbsent) {
    char text[kNumberTextSize];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return WriteString(key, text, addIfAbsent);
}

void KeyValueFile::BeginBatch() {
    batching_ = true;
    ReadResult read = pathValid_ ? CurrentOs().ReadWholeFile(path_, image_) : ReadResult::Failed;
    imageExists_ = read == ReadResult::Ok;
    batchBroken_ = read == ReadResult::Failed;
    Reload();
}

bool KeyValueFile::CommitBatch() {
    if (!batching_) {
        return false;
    }
    bool ok = !batchBroken_;
    if (ok && imageExists_) {
        ok = ReplaceWhole(path_, image_);
    }
    batching_ = false;
    Reload();
    return ok;
}

}  // namespace vok
