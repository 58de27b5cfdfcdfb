#include "kvfile/KeyValueFile.h"

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

// True when no byte of the zero-terminated `text` is a separator.
bool HasNoSeparator(const char* text) {
    for (const unsigned char* byte = reinterpret_cast<const unsigned char*>(text); *byte; ++byte) {
        if (IsSeparator(*byte)) {
            return false;
        }
    }
    return true;
}

constexpr unsigned char kLineStart = 1;  // the token's first byte begins a line
constexpr unsigned char kQuoted = 2;     // the token was opened by a double quote

unsigned char Fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Writes the new content beside the file (so that both stay on one volume),
// onto the disk, and moves it over the file in one step: a failure at any
// point, or a power loss after the move, leaves a whole file.
bool ReplaceWhole(const char* path, const std::string& contents) {
    Os& os = CurrentOs();
    std::string side = std::string(path) + ".new";
    if (os.WriteWholeFile(side.c_str(), contents.data(), contents.size()) &&
        os.FlushToDisk(side.c_str()) && os.MoveReplace(side.c_str(), path)) {
        return true;
    }
    os.RemoveFile(side.c_str());
    return false;
}

}  // namespace

KeyValueFile::KeyValueFile() {
    Tokenize("", 0);
}

KeyValueFile::KeyValueFile(const char* path) : KeyValueFile() {
    Load(path);
}

void KeyValueFile::Load(const char* path) {
    batching_ = false;
    batchBroken_ = false;
    image_.clear();
    std::size_t length = path ? std::strlen(path) : sizeof path_;
    pathValid_ = length < sizeof path_;
    if (!pathValid_) {
        // A cut path would name another file: refuse it instead.
        path_[0] = '\0';
        Tokenize("", 0);
        return;
    }
    std::memcpy(path_, path, length + 1);
    Reload();
}

void KeyValueFile::Reload() {
    if (batching_) {
        if (imageExists_ && image_.size() < static_cast<std::size_t>(INT_MAX)) {
            // A std::string holds a zero after its last byte: the terminator
            // that is cut with the text.
            Tokenize(image_.c_str(), static_cast<int>(image_.size()) + 1);
        } else {
            Tokenize("", 0);
        }
        return;
    }
    std::string text;
    bool exists = pathValid_ && CurrentOs().ReadWholeFile(path_, text) == ReadResult::Ok;
    // The text cut into tokens is the file plus a terminating zero, which is a
    // token byte: a file ending in a separator ends in an empty token.
    if (!exists || text.size() >= static_cast<std::size_t>(INT_MAX)) {
        Tokenize("", 0);
        return;
    }
    text.push_back('\0');
    Tokenize(text.data(), static_cast<int>(text.size()));
}

void KeyValueFile::Tokenize(const char* text, int length) {
    textLength_ = length;
    count_ = 0;
    cursor_ = 0;
    store_.clear();
    tokenText_.clear();
    tokenStart_.clear();
    tokenFlags_.clear();
    store_.reserve(static_cast<std::size_t>(length) + length / 2 + 1);

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
        if (quoted) {
            int start = pos;
            while (pos < length && bytes[pos] != '"') {
                ++pos;
            }
            AddToken(text, start, pos - start);
            tokenFlags_.back() |= kQuoted;
        } else {
            if (pos >= length) {
                break;
            }
            int start = pos;
            while (pos < length && !IsSeparator(bytes[pos])) {
                ++pos;
            }
            AddToken(text, start, pos - start);
        }
        ++pos;  // the quote or separator that ended the token goes with it
    }
}

void KeyValueFile::AddToken(const char* text, int start, int length) {
    tokenText_.push_back(static_cast<int>(store_.size()));
    store_.insert(store_.end(), text + start, text + start + length);
    store_.push_back('\0');
    tokenStart_.push_back(start);
    tokenFlags_.push_back(start == 0 || text[start - 1] == '\n' ? kLineStart : 0);
    ++count_;
}

const char* KeyValueFile::Token(int index) const {
    return index >= 0 && index < count_ ? &store_[tokenText_[index]] : nullptr;
}

int KeyValueFile::TokenStart(int index) const {
    return index >= 0 && index < count_ ? tokenStart_[index] : -1;
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
    if (cursor_ >= count_) {
        cursor_ = 0;
    }
    for (int n = 0; n < count_; ++n) {
        bool match = (!keysAtLineStart_ || (tokenFlags_[cursor_] & kLineStart)) &&
                     CompareNoCase(key, Token(cursor_)) == 0;
        if (++cursor_ == count_) {
            cursor_ = 0;
        }
        if (match) {
            return Token(cursor_);
        }
    }
    return nullptr;
}

int KeyValueFile::TokenOffset(int delta) const {
    int index = cursor_ + delta;
    if (index < 0) {
        index += count_;
    } else if (index >= count_) {
        index -= count_;
    }
    return TokenStart(index);
}

const char* KeyValueFile::GetValue(const char* key, const char* defaultValue) {
    if (cursor_ >= count_) {
        cursor_ = 0;
    }
    if (!key) {
        if (count_ == 0) {
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

bool KeyValueFile::ReadCurrent(std::string& contents) {
    contents.clear();
    if (batching_) {
        if (batchBroken_) {
            return false;
        }
        contents = image_;
        return true;
    }
    return CurrentOs().ReadWholeFile(path_, contents) != ReadResult::Failed;
}

void KeyValueFile::StoreCurrent(const std::string& contents) {
    if (batching_) {
        image_ = contents;
        imageExists_ = true;
        imageDirty_ = true;
        return;
    }
    ReplaceWhole(path_, contents);
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
    if (batching_ && !batchBroken_) {
        WriteInImage(found != nullptr, key, value, addIfAbsent);
        return 0;
    }
    std::string contents;
    if ((found || addIfAbsent) && ReadCurrent(contents)) {
        std::string next;
        if (found) {
            std::size_t oldLength = std::strlen(GetValue(nullptr, nullptr));
            std::size_t start = static_cast<std::size_t>(TokenOffset(-1));
            // Offsets come from the last load; a file changed behind our back
            // must not make us read past its end.
            if (start > contents.size()) {
                start = contents.size();
            }
            std::size_t end =
                start + oldLength < contents.size() ? start + oldLength : contents.size();
            next.reserve(contents.size() + std::strlen(value));
            next.append(contents, 0, start).append(value).append(contents, end, std::string::npos);
        } else {
            next.reserve(contents.size() + std::strlen(key) + std::strlen(value) + 5);
            next.append(key).append(" = ").append(value).append("\r\n").append(contents);
        }
        StoreCurrent(next);
    }
    Reload();
    return 0;
}

void KeyValueFile::WriteInImage(bool found, const char* key, const char* value, bool addIfAbsent) {
    if (!found && !addIfAbsent) {
        cursor_ = 0;  // what a reload of the unchanged image would give
        return;
    }
    std::size_t valueLength = std::strlen(value);
    // The token list is patched only where cutting the new image would give
    // the old boundaries again; anything else is cut whole.
    bool fits =
        image_.size() + valueLength + std::strlen(key) + 5 < static_cast<std::size_t>(INT_MAX);
    bool plainValue = HasNoSeparator(value);
    bool patch = fits && plainValue;
    if (found) {
        int index = cursor_;  // Find leaves the cursor on the value token
        std::size_t start = static_cast<std::size_t>(tokenStart_[index]);
        std::size_t oldLength = std::strlen(Token(index));
        if (start + oldLength > image_.size()) {
            start = start < image_.size() ? start : image_.size();
            oldLength = image_.size() - start;
            patch = false;
        }
        image_.replace(start, oldLength, value, valueLength);
        imageDirty_ = true;
        // The new bytes take the old value's place in front of the byte that
        // ended it. A quoted value stays one token up to its closing quote
        // when the new bytes hold no quote; a plain one stays one token up to
        // its separator when the new bytes are not empty and hold none.
        patch = patch && (valueLength > 0 || (tokenFlags_[index] & kQuoted));
        if (patch) {
            int delta = static_cast<int>(valueLength) - static_cast<int>(oldLength);
            tokenText_[index] = static_cast<int>(store_.size());
            store_.insert(store_.end(), value, value + valueLength + 1);
            for (int i = index + 1; i < count_; ++i) {
                tokenStart_[i] += delta;
            }
            textLength_ += delta;
            cursor_ = 0;
            return;
        }
        Reload();
        return;
    }

    // A new line "key = value\r\n" on top. With a key free of separators,
    // and a value free of them or wrapped in its own pair of quotes with no
    // quote inside, the line cuts into the key and the value (none when the
    // value is empty) and ends between separators; the cut of the old content
    // then goes on from its first byte exactly as it began before: the old
    // tokens, shifted by the line's length.
    std::size_t keyLength = std::strlen(key);
    std::string line;
    line.reserve(keyLength + valueLength + 5);
    line.append(key, keyLength).append(" = ").append(value, valueLength).append("\r\n");
    bool existed = imageExists_;
    image_.insert(0, line);
    imageExists_ = true;
    imageDirty_ = true;

    const char* valueBytes = value;
    std::size_t valueBytesLength = valueLength;
    bool quoted = false;
    if (fits && !plainValue && valueLength >= 2 && value[0] == '"' &&
        value[valueLength - 1] == '"' && !std::memchr(value + 1, '"', valueLength - 2)) {
        quoted = true;
        ++valueBytes;
        valueBytesLength -= 2;
    }
    if (!fits || !(plainValue || quoted) || keyLength == 0 || !HasNoSeparator(key)) {
        Reload();
        return;
    }
    if (!existed) {
        // A missing file had no text at all; the empty one it becomes holds
        // the terminating zero, an empty token at offset 0.
        Tokenize("", 1);
    }
    int shift = static_cast<int>(line.size());
    for (int& start : tokenStart_) {
        start += shift;
    }
    int keyText = static_cast<int>(store_.size());
    store_.insert(store_.end(), key, key + keyLength + 1);
    int valueText = static_cast<int>(store_.size());
    store_.insert(store_.end(), valueBytes, valueBytes + valueBytesLength);
    store_.push_back('\0');
    if (quoted || valueLength > 0) {
        int valueStart = static_cast<int>(keyLength) + (quoted ? 4 : 3);
        tokenText_.insert(tokenText_.begin(), {keyText, valueText});
        tokenStart_.insert(tokenStart_.begin(), {0, valueStart});
        tokenFlags_.insert(tokenFlags_.begin(),
                           {kLineStart, static_cast<unsigned char>(quoted ? kQuoted : 0)});
        count_ += 2;
    } else {
        tokenText_.insert(tokenText_.begin(), keyText);
        tokenStart_.insert(tokenStart_.begin(), 0);
        tokenFlags_.insert(tokenFlags_.begin(), kLineStart);
        ++count_;
    }
    // The old first token keeps kLineStart: a line feed now stands before it.
    textLength_ += shift;
    cursor_ = 0;
}

int KeyValueFile::WriteInt(const char* key, int value, bool addIfAbsent) {
    char text[512];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(key, text, addIfAbsent);
}

int KeyValueFile::WriteFloat(const char* key, float value, bool addIfAbsent) {
    char text[512];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return WriteString(key, text, addIfAbsent);
}

void KeyValueFile::BeginBatch() {
    batching_ = true;
    batchBroken_ = false;
    image_.clear();
    imageExists_ = false;
    imageDirty_ = false;
    if (pathValid_) {
        switch (CurrentOs().ReadWholeFile(path_, image_)) {
            case ReadResult::Ok:
                imageExists_ = true;
                break;
            case ReadResult::Missing:
                break;
            case ReadResult::Failed:
                batchBroken_ = true;
                break;
        }
    } else {
        batchBroken_ = true;
    }
    Reload();
}

bool KeyValueFile::CommitBatch() {
    if (!batching_) {
        return false;
    }
    bool ok = !batchBroken_;
    if (ok && imageDirty_) {
        ok = ReplaceWhole(path_, image_);
    }
    batching_ = false;
    batchBroken_ = false;
    image_.clear();
    Reload();
    return ok;
}

}  // namespace vok
