#pragma once

#include <string>
#include <vector>

#include "platform/Os.h"

namespace vok {

// A small text store of named values, read whole into a flat list of tokens.
//
// Separators are blank, '=', ',', '"', line feed and carriage return; every
// other byte (tab, zero and 0x80-0xFF included) belongs to a token. A double
// quote met while skipping separators opens a quoted token that runs to the
// next double quote. A key is any token and its value is the token after it;
// keys compare without regard to ASCII case. The search for a key starts at a
// cursor left by the previous search, so keys read in file order are found at
// once.
//
// A write replaces the value's bytes in place, or adds "key = value\r\n" on top
// of the file, then reloads, so the token list always describes the file on
// disk. The new content is written beside the file and moved over it in one
// step: a failed write leaves the old file whole.
//
// Between BeginBatch and CommitBatch the same writes change an in-memory image
// of the file instead, and CommitBatch replaces the file once: the bytes are
// those the writes would have produced one by one.
class KeyValueFile {
public:
    // The bytes that separate tokens.
    static constexpr const char* kSeparators = " =,\"\r\n";
    // What a file's name gets for the new content written beside it before
    // it is moved over the file.
    static constexpr const char* kSideSuffix = ".new";

    KeyValueFile() = default;
    explicit KeyValueFile(const char* path);
    KeyValueFile(const KeyValueFile&) = delete;
    KeyValueFile& operator=(const KeyValueFile&) = delete;

    // Reads the file and rebuilds the token list; the cursor returns to 0. A
    // missing or unreadable file, or a path of kPathSize bytes or more, gives an
    // empty list. Abandons an uncommitted batch.
    void Load(const char* path);

    // With a key: the value of the first match from the cursor on, or
    // `defaultValue`. With a null key: the token at the cursor, which then
    // advances. The text stays valid until the next load, write or destruction.
    const char* GetValue(const char* key, const char* defaultValue);

    // Sets the key's value; a key that is not in the file is added on top when
    // `addIfAbsent` is set. Always 0: failures are silent and leave the file as
    // it was.
    int WriteString(const char* key, const char* value, bool addIfAbsent);
    int WriteInt(const char* key, int value, bool addIfAbsent);      // "%d"
    int WriteFloat(const char* key, float value, bool addIfAbsent);  // "%f"

    // Collects the following writes in memory, starting from the file as it
    // is now.
    void BeginBatch();
    // Replaces the file with the collected image in one step and ends the
    // batch; a missing file that no write added to stays missing. False (the
    // file untouched) when nothing could be written, or when the batch began
    // on a file that could not be read.
    bool CommitBatch();

    // When set, a key is only found as a token that begins a line. Values then
    // never stand in for keys, which the writer's own files ("key = value" on
    // each line) allow. Off by default, where every token is a candidate.
    void SetKeysAtLineStart(bool on) { keysAtLineStart_ = on; }

    // The token list, for inspection.
    int TokenCount() const { return static_cast<int>(tokens_.size()); }
    const char* Token(int index) const;
    int TokenStart(int index) const;
    int TextLength() const { return textLength_; }
    int Cursor() const { return cursor_; }

    // -1, 0 or 1 after folding ASCII A-Z to a-z; any length.
    static int CompareNoCase(const char* a, const char* b);

private:
    // Cuts the first `length` bytes of `text` into the token list. True when
    // the cut ends between tokens, with no token or quote running on to the
    // end: whatever followed the text would then be cut as on its own.
    bool Tokenize(const char* text, int length);
    // Moves the cursor past the first match of `key` and returns the token now
    // at the cursor (the value), or null after a full turn without a match.
    const char* Find(const char* key);
    // Tokenizes the current content: the batch image or the file on disk.
    void Reload();
    // After a line of `length` bytes went on top of the batch image, puts the
    // line's tokens in front of the old ones instead of cutting the whole image
    // again. False, with nothing done, when the line's cut runs on into the
    // old text.
    bool AddOnTop(int length);

    int textLength_ = 0;
    int cursor_ = 0;
    // The text last cut, with the byte that ended each token made a zero: a
    // token's text starts at its start offset.
    std::string text_;
    struct Place {
        int start;       // the token's start offset
        bool lineStart;  // whether its first byte begins a line
    };
    std::vector<Place> tokens_;
    Path path_ = {};
    bool pathValid_ = false;
    bool keysAtLineStart_ = false;

    bool batching_ = false;
    bool batchBroken_ = false;  // the batch began on an unreadable file
    bool imageExists_ = false;
    std::string image_;
};

}  // namespace vok
