#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vok::fuzz {

// One fuzz_kvfile input drives a KeyValueFile through the real seam:
//
//   flags (1 byte)  kMissing: start without a file; kLineKeys: keys only at
//                   line starts from the beginning
//   length (2 bytes, little-endian), then that many bytes: the initial file
//   operations, each an opcode byte (KvOp in the low 4 bits, modulo
//   kOpCount; kAdd sets addIfAbsent) and its operands, until the input ends
//   or kMaxOps have run:
//     key    one byte b: with kTokenKey set, the text of token (b & 0x3F)
//            modulo the token count, its ASCII case flipped when 0x40 is set
//            (a key that is certainly in the file); otherwise b bytes of key
//     text   one length byte, then that many bytes (WriteString's value)
//     number four bytes, little-endian (an int, or a float's bit pattern)
//
// Truncated operands read as zero bytes. After every step the object is
// checked against a model of the file: its token list equals the one a fresh
// object reads from the same bytes, and a write changed exactly the bytes it
// should (the old value's bytes in place, or one new line on top, or none).
enum KvOp : std::uint8_t {
    kGetKey,          // key
    kGetNext,         // GetValue without a key
    kWriteString,     // key, text
    kWriteInt,        // key, number
    kWriteFloat,      // key, number
    kBeginBatch,      //
    kCommitBatch,     //
    kToggleLineKeys,  // SetKeysAtLineStart(!current)
    kOpCount
};

constexpr std::uint8_t kMissing = 0x01;
constexpr std::uint8_t kLineKeys = 0x02;
constexpr std::uint8_t kAdd = 0x10;
constexpr std::uint8_t kTokenKey = 0x80;
constexpr std::uint8_t kFlipCase = 0x40;
// Every write goes through the real file system a dozen times over (the
// object's read, write, rename and reload, and the checks' reads); a dozen
// operations reach every state of a batch and keep a run short.
constexpr int kMaxOps = 12;

// Runs one input. Returns a description of the first invariant that did not
// hold, or the empty text.
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size);

// Writes inputs in the layout above, for seed corpora and regression tests.
class KvCase {
public:
    explicit KvCase(const std::string& file, std::uint8_t flags = 0);

    KvCase& Get(const std::string& key);
    KvCase& GetToken(int index, bool flipCase = false);
    KvCase& GetNext();
    KvCase& WriteString(const std::string& key, const std::string& value, bool add);
    KvCase& WriteStringToToken(int index, const std::string& value, bool add);
    KvCase& WriteInt(const std::string& key, std::int32_t value, bool add);
    KvCase& WriteFloat(const std::string& key, float value, bool add);
    KvCase& BeginBatch();
    KvCase& CommitBatch();
    KvCase& ToggleLineKeys();

    const std::string& Bytes() const { return bytes_; }

private:
    void Key(const std::string& key);
    void Number(std::uint32_t bits);

    std::string bytes_;
};

}  // namespace vok::fuzz
