// The checks of the fuzz targets, shared by the libFuzzer programs and the
// replay of their corpora in the ordinary test run. Each runs one input and
// returns a description of the first invariant that did not hold, or "".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vok::fuzz {

// A key-value file driven through the real seam. The input: flags (1 byte:
// 0x01 start without a file, 0x02 keys only at line starts), the initial
// file (a 2-byte little-endian length, then its bytes), and up to 12
// operations, each an opcode byte (low 4 bits modulo 8: get by key, get next,
// WriteString, WriteInt, WriteFloat, BeginBatch, CommitBatch, keys at line
// starts; 0x10 sets addIfAbsent) with its operands: a key is one byte b (with
// 0x80 the text of token b & 0x3F, else b bytes), a text one length byte and
// its bytes, a number 4 bytes. Missing bytes read as zero. Outside a batch the
// token list must be that of a fresh read, and no side file may be left.
std::string RunKvFileCase(const std::uint8_t* data, std::size_t size);

// Any bytes as the English language file.
std::string RunLanguageCase(const std::uint8_t* data, std::size_t size);

}  // namespace vok::fuzz
