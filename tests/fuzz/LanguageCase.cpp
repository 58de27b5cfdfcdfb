#include "LanguageCase.h"

#include <cstring>
#include <vector>

#include "FuzzScratch.h"
#include "i18n/LanguageTable.h"
#include "platform/Os.h"

namespace vok::fuzz {

namespace {

// The lines as the C runtime's text mode and getline give them: Ctrl-Z ends
// the file, CR LF reads as LF, a line keeps its first 499 characters, and a
// zero byte ends the text wherever it is used.
std::vector<std::string> ExpectedLines(const std::string& file) {
    std::string text = file.substr(0, file.find('\x1A'));
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (;;) {
        std::size_t feed = text.find('\n', pos);
        std::string line =
            text.substr(pos, feed == std::string::npos ? std::string::npos : feed - pos);
        if (feed != std::string::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        line = line.substr(0, LanguageTable::kMaxLineLength);
        lines.push_back(line.substr(0, line.find('\0')));
        if (feed == std::string::npos) {
            return lines;
        }
        pos = feed + 1;
    }
}

}  // namespace

std::string RunLanguageCase(const std::uint8_t* data, std::size_t size) {
    std::int32_t line = 0;
    std::size_t header = size < 4 ? size : 4;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < header; ++i) {
        bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    std::memcpy(&line, &bits, sizeof line);
    std::string file(reinterpret_cast<const char*>(data) + header, size - header);

    const std::string& folder = ScratchFolder();
    std::string path = folder + "language/english.txt";
    if (!SystemOs().WriteWholeFile(path.c_str(), file.data(), file.size())) {
        return "could not write the language file";
    }
    LanguageTable table;
    if (table.Load(folder.c_str(), 0) != 1) {
        return "Load did not report a file read";
    }

    int count = table.LineCount();
    if (count < 1 || count > LanguageTable::kMaxLines) {
        return "line count " + std::to_string(count) + " out of range";
    }
    for (int i = 0; i < count; ++i) {
        const char* text = table.Text(i);
        if (!text) {
            return "Text(" + std::to_string(i) + ") is null";
        }
        if (std::strlen(text) > static_cast<std::size_t>(LanguageTable::kMaxLineLength)) {
            return "line " + std::to_string(i) + " is longer than 499 characters";
        }
        if (std::strchr(text, '\n')) {
            return "line " + std::to_string(i) + " holds a line feed";
        }
    }
    const char* asked = table.Text(line);
    if (!asked) {
        return "Text(" + std::to_string(line) + ") is null";
    }
    if ((line < 0 || line >= count) && std::strcmp(asked, "<error>") != 0) {
        return "Text(" + std::to_string(line) + ") past the end is not <error>";
    }
    if (std::strcmp(table.Text(count), "<error>") != 0) {
        return "Text(line count) is not <error>";
    }

    std::vector<std::string> expected = ExpectedLines(file);
    if (expected.size() < static_cast<std::size_t>(LanguageTable::kMaxLines)) {
        if (static_cast<std::size_t>(count) != expected.size()) {
            return "line count " + std::to_string(count) + ", expected " +
                   std::to_string(expected.size());
        }
    } else if (count != LanguageTable::kMaxLines) {
        return "a file of 512 lines or more gave " + std::to_string(count);
    }
    for (int i = 0; i < count; ++i) {
        if (expected[i] != table.Text(i)) {
            return "line " + std::to_string(i) + " differs from what text mode reads";
        }
    }
    return "";
}

std::string LanguageInput(std::int32_t line, const std::string& file) {
    std::string input;
    std::uint32_t bits = static_cast<std::uint32_t>(line);
    for (int i = 0; i < 4; ++i) {
        input += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    return input + file;
}

}  // namespace vok::fuzz
