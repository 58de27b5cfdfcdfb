#include "kvfile/KeyValueFile.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/Os.h"

namespace {

bool IsSeparator(unsigned char byte) {
    return byte == ' ' || byte == '=' || byte == ',' || byte == '"' || byte == '\n' || byte == '\r';
}

unsigned char Fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Writes the new content beside the file (so that both stay on one volume) and
// moves it over the file in one step: a failure at any point leaves the old
// file whole.
bool ReplaceWhole(const char* path, const std::string& contents) {
    vok::Os& os = vok::CurrentOs();
    std::string side = std::string(path) + ".new";
    if (os.WriteWholeFile(side.c_str(), contents.data(), contents.size()) &&
        os.MoveReplace(side.c_str(), path)) {
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
    std::string text;
    bool exists = false;
    if (batching_) {
        exists = imageExists_;
        if (exists) {
            text = image_;
        }
    } else if (pathValid_) {
        exists = vok::CurrentOs().ReadWholeFile(path_, text) == vok::ReadResult::Ok;
    }
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
    lineStart_.clear();
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
    lineStart_.push_back(start == 0 || text[start - 1] == '\n');
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
        bool match =
            CompareNoCase(key, Token(cursor_)) == 0 && (!keysAtLineStart_ || lineStart_[cursor_]);
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
    return vok::CurrentOs().ReadWholeFile(path_, contents) != vok::ReadResult::Failed;
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
        switch (vok::CurrentOs().ReadWholeFile(path_, image_)) {
            case vok::ReadResult::Ok:
                imageExists_ = true;
                break;
            case vok::ReadResult::Missing:
                break;
            case vok::ReadResult::Failed:
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
