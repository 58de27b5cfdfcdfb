#pragma once

#include "platform/Ui.h"

namespace vok {

class LanguageTable;

// The credits dialog: three columns of role headings, each followed by the
// people in that role, over the credits picture. Headings, caption and button
// come from the language table; the names are the dialog's own and are not
// translated.

// The dialog's initialisation: caption, the three columns, the OK caption,
// from `language`. A column is each heading, then for every name a line
// feed, " - " and the name; sections are separated by an empty line and the
// column ends with its last name.
void OpenCredits(Ui& dialog, const LanguageTable& language);

// OK (1) and Escape (2) end the dialog with 2. False for any other command.
bool RunCreditsCommand(Ui& dialog, int id);

}  // namespace vok
