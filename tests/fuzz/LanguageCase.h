#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vok::fuzz {

// One fuzz_language input: a line number (4 bytes, little-endian; missing
// bytes read as zero) and then the bytes of a language file. The file is
// loaded as English and the table checked: at most 512 lines of at most 499
// characters without a line feed, Text never null, "<error>" past the end, and
// for files with fewer than 512 lines the line count and each line's text as
// Windows' text mode reads them.
std::string RunLanguageCase(const std::uint8_t* data, std::size_t size);

// An input in that layout.
std::string LanguageInput(std::int32_t line, const std::string& file);

}  // namespace vok::fuzz
