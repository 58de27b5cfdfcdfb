#include "i18n/Messages.h"

namespace vok {

namespace {

const struct {
    int line;
    const char* english;
} kMessages[] = {
    {kTempDirUnusableLine,
     "The league cannot be created: the temporary folder is missing, or its path cannot be "
     "used."},
    {kGameNotStartedLine,
     "The game could not be started. Check that the game's folder holds vok.exe, that the "
     "temporary folder can be written to, and that no other copy of the game is running."},
    {kVokNotCopiedLine,
     "The files of a vok could not all be copied into the temporary folder. Close any program "
     "that uses them, and try again."},
    {kLeagueNotSavedLine,
     "The league could not be saved in the temporary folder. Close the game if it is running, "
     "check that the folder can be written to, and start the new league again."},
    {kCannotOpenLine, "The launcher could not open this file or address:"},
};

}  // namespace

const char* MessageText(const LanguageTable& language, int line) {
    if (line < language.LineCount() && *language.Text(line) != '\0') {
        return language.Text(line);
    }
    for (const auto& message : kMessages) {
        if (message.line == line) {
            return message.english;
        }
    }
    return language.Text(line);
}

}  // namespace vok
