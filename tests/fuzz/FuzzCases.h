// The checks of the fuzz targets, shared by the libFuzzer programs and the
// replay of their corpora in the ordinary test run. Each runs one input and
// returns a description of the first invariant that did not hold, or "".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vok::fuzz {

// A key-value file driven through the real seam. The input:
//   flags (1 byte): 0x01 start without a file, 0x02 keys only at line starts
//   length (2 bytes, little-endian) and that many bytes: the initial file
//   up to 12 operations, each an opcode byte (low 4 bits modulo 8: get by
//   key, get next, WriteString, WriteInt, WriteFloat, BeginBatch,
//   CommitBatch, toggle keys at line starts; 0x10 sets addIfAbsent) and its
//   operands: a key is one byte b (with 0x80, token b & 0x3F modulo the
//   count, ASCII case flipped with 0x40; otherwise b bytes of key), a text
//   one length byte and its bytes, a number four bytes little-endian.
// Truncated operands read as zero bytes. The same operations go to a second
// object that writes each at once: after every step both agree (FuzzCases.cpp).
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size);

// Any bytes as the English language file.
std::string RunLanguageCase(const std::uint8_t* data, std::size_t size);

}  // namespace vok::fuzz
