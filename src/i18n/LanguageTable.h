#pragma once

#include <array>
#include <vector>

namespace vok {

// The texts the launcher shows, one per line of a plain-text language file;
// a text is looked up by its zero-based line number.
//
// Files are read as Windows reads text files, on every platform alike: a
// carriage return directly before a line feed is dropped and a Ctrl-Z byte
// ends the file. A file with n line feeds gives n + 1 lines.
class LanguageTable {
public:
    static constexpr int kMaxLines = 512;
    static constexpr int kLineSize = 512;       // bytes of a line's buffer
    static constexpr int kMaxLineLength = 499;  // characters kept of a line
    static constexpr int kAutomatic = 9;        // language index: from the keyboard layout
    static constexpr int kLanguageCount = 9;

    // Loads directory + "language/" + the file of `languageIndex` (0-8, or
    // kAutomatic). A file that cannot be opened is replaced by English. Returns
    // 1 once a file was read; 0, with an empty table, when not even the English
    // file could be. A line longer than kMaxLineLength keeps its first
    // characters; lines after the first kMaxLines are not kept.
    int Load(const char* directory, int languageIndex);

    // Line `line`, or "<error>" when the file had no such line. The text stays
    // valid until the next Load or the table's destruction.
    const char* Text(int line) const;
    // The same, but for a line that language files made before it lack
    // (LanguageLines.h gives its English text): the English text when the
    // file lacks the line or leaves it empty.
    const char* Message(int line) const;

    int LineCount() const { return count_; }

private:
    int count_ = 0;
    std::vector<std::array<char, kLineSize>> lines_;
};

// File name of a language index 0-8 ("english.txt" ...), or null.
const char* LanguageFileName(int languageIndex);

// The language index of a Windows language identifier, or `defaultIndex` when
// the identifier, primary language and sublanguage together, is not known.
int LanguageForLangId(unsigned short langId, int defaultIndex);

// The language of the active keyboard layout, asked of the operating system.
int LanguageForKeyboardLayout(int defaultIndex);

}  // namespace vok
