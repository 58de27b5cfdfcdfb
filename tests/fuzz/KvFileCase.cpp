#include "KvFileCase.h"

#include <cstdio>
#include <cstring>

#include "FuzzScratch.h"
#include "kvfile/KeyValueFile.h"
#include "platform/Os.h"

namespace vok::fuzz {

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return size_ == 0; }

    std::uint8_t Byte() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return *data_++;
    }

    std::string Text(std::size_t length) {
        std::size_t taken = length < size_ ? length : size_;
        std::string text(reinterpret_cast<const char*>(data_), taken);
        data_ += taken;
        size_ -= taken;
        return text;
    }

    std::uint32_t Number() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A file's expected content; `exists` false is a missing file.
struct Content {
    bool exists = false;
    std::string bytes;
};

// The same token list: texts, start offsets and text length.
bool SameTokens(const KeyValueFile& a, const KeyValueFile& b) {
    if (a.TokenCount() != b.TokenCount() || a.TextLength() != b.TextLength()) {
        return false;
    }
    for (int i = 0; i < a.TokenCount(); ++i) {
        if (a.TokenStart(i) != b.TokenStart(i) || std::strcmp(a.Token(i), b.Token(i)) != 0) {
            return false;
        }
    }
    return true;
}

bool SameNoCase(const char* a, const char* b) {
    // Token texts and keys end at their first zero byte wherever they are used.
    const char* x = a;
    for (;; ++x, ++b) {
        unsigned char p = static_cast<unsigned char>(*x);
        unsigned char q = static_cast<unsigned char>(*b);
        if (p >= 'A' && p <= 'Z') {
            p = static_cast<unsigned char>(p - 'A' + 'a');
        }
        if (q >= 'A' && q <= 'Z') {
            q = static_cast<unsigned char>(q - 'A' + 'a');
        }
        if (p != q) {
            return false;
        }
        if (p == 0) {
            return true;
        }
    }
}

void Put(const std::string& path, const Content& content) {
    Os& os = SystemOs();
    os.RemoveFile(path.c_str());
    if (content.exists) {
        os.WriteWholeFile(path.c_str(), content.bytes.data(), content.bytes.size());
    }
}

Content Get(const std::string& path) {
    Content content;
    content.exists = SystemOs().ReadWholeFile(path.c_str(), content.bytes) == ReadResult::Ok;
    return content;
}

std::string Show(const std::string& bytes) {
    std::string shown;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            shown += escape;
        }
    }
    return shown;
}

class KvRun {
public:
    KvRun(const std::uint8_t* data, std::size_t size) : in_(data, size) {}

    std::string Run();

private:
    // Where the search for `key` from the cursor ends: the index of the value
    // after the first match, or -1 after a full turn.
    int ValueIndexOf(const std::string& key) const;
    bool LineStart(int index) const;
    std::string Key();
    std::string CheckTokens(const char* step);
    void Write(const std::string& key, const std::string& value, bool add);
    std::string CheckAfterWrite(const char* step);

    Reader in_;
    std::string path_;
    std::string checkPath_;
    KeyValueFile* file_ = nullptr;
    Content disk_;     // what the file on disk must hold
    Content current_;  // what the object's token list must describe
    bool batching_ = false;
    bool lineKeys_ = false;
};

bool KvRun::LineStart(int index) const {
    int start = file_->TokenStart(index);
    return start == 0 || current_.bytes[start - 1] == '\n';
}

int KvRun::ValueIndexOf(const std::string& key) const {
    int count = file_->TokenCount();
    int cursor = file_->Cursor();
    if (cursor >= count) {
        cursor = 0;
    }
    for (int n = 0; n < count; ++n) {
        int index = cursor;
        cursor = cursor + 1 == count ? 0 : cursor + 1;
        if (SameNoCase(file_->Token(index), key.c_str()) && (!lineKeys_ || LineStart(index))) {
            return cursor;
        }
    }
    return -1;
}

std::string KvRun::Key() {
    std::uint8_t b = in_.Byte();
    if ((b & kTokenKey) == 0) {
        return in_.Text(b);
    }
    if (file_->TokenCount() == 0) {
        return "";
    }
    std::string key = file_->Token((b & 0x3F) % file_->TokenCount());
    if (b & kFlipCase) {
        for (char& c : key) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                c = static_cast<char>(c ^ 0x20);
            }
        }
    }
    return key;
}

// The object's tokens must be those a fresh object reads from the content it
// describes: the file on disk, or the batch image written out for comparison.
std::string KvRun::CheckTokens(const char* step) {
    std::string source = path_;
    if (batching_) {
        Put(checkPath_, current_);
        source = checkPath_;
    }
    KeyValueFile fresh(source.c_str());
    if (!SameTokens(fresh, *file_)) {
        return std::string(step) + ": token list differs from a fresh read of \"" +
               Show(current_.bytes) + "\"";
    }
    int expectedLength = current_.exists ? static_cast<int>(current_.bytes.size()) + 1 : 0;
    if (file_->TextLength() != expectedLength) {
        return std::string(step) + ": text length " + std::to_string(file_->TextLength()) +
               ", expected " + std::to_string(expectedLength);
    }
    return "";
}

void KvRun::Write(const std::string& key, const std::string& value, bool add) {
    int index = ValueIndexOf(key);
    // A key that is the last token has no value of its own: the search wrapped
    // to the first token. It counts as absent.
    if (index > 0) {
        std::size_t start = static_cast<std::size_t>(file_->TokenStart(index));
        std::size_t oldLength = std::strlen(file_->Token(index));
        current_.bytes.replace(start, oldLength, value);
    } else if (add) {
        current_.bytes = key + " = " + value + "\r\n" + current_.bytes;
        current_.exists = true;
    }
    if (!batching_) {
        disk_ = current_;
    }
}

std::string KvRun::CheckAfterWrite(const char* step) {
    Content onDisk = Get(path_);
    if (onDisk.exists != disk_.exists || onDisk.bytes != disk_.bytes) {
        return std::string(step) + ": file holds \"" + Show(onDisk.bytes) + "\", expected \"" +
               Show(disk_.bytes) + "\"" + (disk_.exists ? "" : " (no file)");
    }
    if (SystemOs().CanOpen((path_ + ".new").c_str())) {
        return std::string(step) + ": side file left behind";
    }
    if (file_->Cursor() != 0) {
        return std::string(step) + ": cursor not back at 0 after the write";
    }
    return CheckTokens(step);
}

std::string KvRun::Run() {
    const std::string& folder = ScratchFolder();
    path_ = folder + "f.dat";
    checkPath_ = folder + "check.dat";
    SystemOs().RemoveFile((path_ + ".new").c_str());

    std::uint8_t flags = in_.Byte();
    std::size_t length = in_.Byte();
    length |= static_cast<std::size_t>(in_.Byte()) << 8;
    current_.exists = (flags & kMissing) == 0;
    current_.bytes = current_.exists ? in_.Text(length) : "";
    disk_ = current_;
    Put(path_, disk_);

    KeyValueFile file(path_.c_str());
    file_ = &file;
    lineKeys_ = (flags & kLineKeys) != 0;
    file.SetKeysAtLineStart(lineKeys_);
    std::string error = CheckTokens("load");

    static const char* const kDefault = "\x01 default";
    char number[512];
    for (int op = 0; op < kMaxOps && error.empty() && !in_.Empty(); ++op) {
        std::uint8_t code = in_.Byte();
        bool add = (code & kAdd) != 0;
        int count = file.TokenCount();
        switch ((code & 0x0F) % kOpCount) {
            case kGetKey: {
                std::string key = Key();
                int index = ValueIndexOf(key);
                int cursorBefore = file.Cursor() >= count ? 0 : file.Cursor();
                const char* value = file.GetValue(key.c_str(), kDefault);
                if (index < 0 ? value != kDefault || file.Cursor() != cursorBefore
                              : !value || std::strcmp(file.Token(index), value) != 0 ||
                                    file.Cursor() != index + 1) {
                    error = "GetValue(\"" + Show(key) + "\") gave the wrong value or cursor";
                }
                break;
            }
            case kGetNext: {
                int cursor = file.Cursor() >= count ? 0 : file.Cursor();
                const char* value = file.GetValue(nullptr, kDefault);
                if (!value || (count > 0 && (std::strcmp(file.Token(cursor), value) != 0 ||
                                             file.Cursor() != cursor + 1))) {
                    error = "GetValue without a key gave the wrong token or cursor";
                }
                break;
            }
            case kWriteString: {
                std::string key = Key();
                std::string value = in_.Text(in_.Byte());
                Write(key.c_str(), value.c_str(), add);  // both end at a zero byte
                file.WriteString(key.c_str(), value.c_str(), add);
                error = CheckAfterWrite("WriteString");
                break;
            }
            case kWriteInt: {
                std::string key = Key();
                std::int32_t value = static_cast<std::int32_t>(in_.Number());
                std::snprintf(number, sizeof number, "%d", value);
                Write(key.c_str(), number, add);
                file.WriteInt(key.c_str(), value, add);
                error = CheckAfterWrite("WriteInt");
                break;
            }
            case kWriteFloat: {
                std::string key = Key();
                std::uint32_t bits = in_.Number();
                float value;
                std::memcpy(&value, &bits, sizeof value);
                std::snprintf(number, sizeof number, "%f", static_cast<double>(value));
                Write(key.c_str(), number, add);
                file.WriteFloat(key.c_str(), value, add);
                error = CheckAfterWrite("WriteFloat");
                break;
            }
            case kBeginBatch:
                file.BeginBatch();
                batching_ = true;
                current_ = disk_;
                error = CheckTokens("BeginBatch");
                break;
            case kCommitBatch: {
                bool committed = file.CommitBatch();
                if (committed != batching_) {
                    error = "CommitBatch reported the wrong result";
                    break;
                }
                if (!batching_) {
                    break;  // nothing to commit: nothing reloaded, nothing written
                }
                batching_ = false;
                disk_ = current_;
                error = CheckAfterWrite("CommitBatch");
                break;
            }
            case kToggleLineKeys:
                lineKeys_ = !lineKeys_;
                file.SetKeysAtLineStart(lineKeys_);
                break;
        }
    }
    file_ = nullptr;
    return error;
}

}  // namespace

std::string RunKvFileCase(const std::uint8_t* data, std::size_t size) {
    return KvRun(data, size).Run();
}

KvCase::KvCase(const std::string& file, std::uint8_t flags) {
    std::string content = file.substr(0, 0xFFFF);
    bytes_ += static_cast<char>(flags);
    bytes_ += static_cast<char>(content.size() & 0xFF);
    bytes_ += static_cast<char>(content.size() >> 8);
    bytes_ += content;
}

void KvCase::Key(const std::string& key) {
    std::string cut = key.substr(0, 0x7F);
    bytes_ += static_cast<char>(cut.size());
    bytes_ += cut;
}

void KvCase::Number(std::uint32_t bits) {
    for (int i = 0; i < 4; ++i) {
        bytes_ += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

KvCase& KvCase::Get(const std::string& key) {
    bytes_ += static_cast<char>(kGetKey);
    Key(key);
    return *this;
}

KvCase& KvCase::GetToken(int index, bool flipCase) {
    bytes_ += static_cast<char>(kGetKey);
    bytes_ += static_cast<char>(kTokenKey | (flipCase ? kFlipCase : 0) | (index & 0x3F));
    return *this;
}

KvCase& KvCase::GetNext() {
    bytes_ += static_cast<char>(kGetNext);
    return *this;
}

KvCase& KvCase::WriteString(const std::string& key, const std::string& value, bool add) {
    bytes_ += static_cast<char>(kWriteString | (add ? kAdd : 0));
    Key(key);
    std::string cut = value.substr(0, 0xFF);
    bytes_ += static_cast<char>(cut.size());
    bytes_ += cut;
    return *this;
}

KvCase& KvCase::WriteStringToToken(int index, const std::string& value, bool add) {
    bytes_ += static_cast<char>(kWriteString | (add ? kAdd : 0));
    bytes_ += static_cast<char>(kTokenKey | (index & 0x3F));
    std::string cut = value.substr(0, 0xFF);
    bytes_ += static_cast<char>(cut.size());
    bytes_ += cut;
    return *this;
}

KvCase& KvCase::WriteInt(const std::string& key, std::int32_t value, bool add) {
    bytes_ += static_cast<char>(kWriteInt | (add ? kAdd : 0));
    Key(key);
    Number(static_cast<std::uint32_t>(value));
    return *this;
}

KvCase& KvCase::WriteFloat(const std::string& key, float value, bool add) {
    bytes_ += static_cast<char>(kWriteFloat | (add ? kAdd : 0));
    Key(key);
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Number(bits);
    return *this;
}

KvCase& KvCase::BeginBatch() {
    bytes_ += static_cast<char>(kBeginBatch);
    return *this;
}

KvCase& KvCase::CommitBatch() {
    bytes_ += static_cast<char>(kCommitBatch);
    return *this;
}

KvCase& KvCase::ToggleLineKeys() {
    bytes_ += static_cast<char>(kToggleLineKeys);
    return *this;
}

}  // namespace vok::fuzz
