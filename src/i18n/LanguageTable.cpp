#include "i18n/LanguageTable.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "i18n/LanguageLines.h"
#include "platform/Os.h"

namespace vok {

namespace {

const char* const kFileNames[LanguageTable::kLanguageCount] = {
    "english.txt", "swedish.txt", "norwegian.txt", "finnish.txt", "danish.txt",
    "german.txt",  "french.txt",  "spanish.txt",   "polish.txt",
};

struct LangIdEntry {
    unsigned short langId;
    int language;
};

const LangIdEntry kLangIds[] = {
    // English
    {0x0409, 0},
    {0x0809, 0},
    {0x0C09, 0},
    {0x1009, 0},
    {0x1409, 0},
    {0x1809, 0},
    {0x1C09, 0},
    {0x2009, 0},
    {0x2409, 0},
    {0x2809, 0},
    {0x2C09, 0},
    // Swedish, Norwegian, Finnish, Danish
    {0x041D, 1},
    {0x081D, 1},
    {0x0414, 2},
    {0x0814, 2},
    {0x040B, 3},
    {0x0406, 4},
    // German
    {0x0407, 5},
    {0x0807, 5},
    {0x0C07, 5},
    {0x1007, 5},
    {0x1407, 5},
    // French
    {0x040C, 6},
    {0x080C, 6},
    {0x0C0C, 6},
    {0x100C, 6},
    {0x140C, 6},
    // Polish
    {0x0415, 8},
};

// Spanish: the twenty identifiers 0x040A + k * 0x0400, k = 0 to 19.
bool IsSpanish(unsigned short langId) {
    return (langId & 0x03FF) == 0x000A && langId >= 0x040A && langId <= 0x500A;
}

}  // namespace

const char* LanguageFileName(int languageIndex) {
    return languageIndex >= 0 && languageIndex < LanguageTable::kLanguageCount
               ? kFileNames[languageIndex]
               : nullptr;
}

int LanguageForLangId(unsigned short langId, int defaultIndex) {
    if (IsSpanish(langId)) {
        return 7;
    }
    for (const LangIdEntry& entry : kLangIds) {
        if (entry.langId == langId) {
            return entry.language;
        }
    }
    return defaultIndex;
}

int LanguageForKeyboardLayout(int defaultIndex) {
    return LanguageForLangId(CurrentOs().KeyboardLangId(), defaultIndex);
}

int LanguageTable::Load(const char* directory, int languageIndex) {
    if (languageIndex == kAutomatic) {
        languageIndex = LanguageForKeyboardLayout(0);
    }
    const char* fileName = LanguageFileName(languageIndex);
    if (!fileName) {
        languageIndex = 0;
        fileName = kFileNames[0];
    }
    count_ = 0;
    lines_.clear();

    Path path;
    int length = std::snprintf(path, sizeof path, "%s%s%s", directory ? directory : "", "language/",
                               fileName);
    std::string text;
    bool opened = length >= 0 && length < static_cast<int>(sizeof path) &&
                  CurrentOs().ReadWholeFile(path, text) == ReadResult::Ok;
    if (!opened) {
        // Not even English: leave the table empty, so every text reads "<error>".
        return languageIndex == 0 ? 0 : Load(directory, 0);
    }

    // Text mode: Ctrl-Z ends the file.
    std::size_t end = text.find('\x1A');
    if (end != std::string::npos) {
        text.resize(end);
    }
    std::size_t pos = 0;
    while (count_ < kMaxLines) {
        std::size_t feed = text.find('\n', pos);
        std::size_t lineEnd = feed == std::string::npos ? text.size() : feed;
        // Text mode: a carriage return directly before a line feed is dropped.
        std::size_t contentEnd = lineEnd;
        if (feed != std::string::npos && contentEnd > pos && text[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        std::size_t kept = contentEnd - pos;
        if (kept > static_cast<std::size_t>(kMaxLineLength)) {
            kept = kMaxLineLength;
        }
        lines_.emplace_back();
        std::memcpy(lines_.back().data(), text.data() + pos, kept);
        lines_.back()[kept] = '\0';
        ++count_;
        if (feed == std::string::npos) {
            break;
        }
        pos = feed + 1;
    }
    return 1;
}

const char* LanguageTable::Text(int line) const {
    return line >= 0 && line < count_ ? lines_[line].data() : "<error>";
}

const char* LanguageTable::Message(int line) const {
    if (line < count_ && *Text(line) != '\0') {
        return Text(line);
    }
    for (const lines::Named& named : lines::kNamed) {
        if (named.line == line && named.fallback) {
            return named.fallback;
        }
    }
    return Text(line);
}

}  // namespace vok
