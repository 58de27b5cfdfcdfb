// The words of the scenarios, shared by the native flows (tests/unit/flows.txt)
// and the end-to-end scenarios under Wine (tests/gui/scenarios.txt): windows,
// controls, answers and keys as the player sees them, each with the id the
// launcher gives it in resource.h, so that a renamed or renumbered control
// breaks the build, not a test; and the steps that stand for several.
#pragma once

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "i18n/LanguageLines.h"
#include "resources/resource.h"

namespace vok::words {

// Where a word applies: a window the player meets (by its name in
// kWindowNames; dialogs by their template in kTemplates), the keys held, the
// keys pressed once, or any dialog.
enum class Window { Menu, League, InputBox, Credits, Box, Held, Pressed, Any };
inline constexpr const char* kWindowNames[] = {"menu", "league", "input box", "credits", "box"};
inline constexpr const char* kTemplates[] = {"IDD_MAINDLG", "IDD_CREATELEAGUE", "IDD_INPUTBOX",
                                             "IDD_CREDITS"};

// Ids that Windows gives, not the launcher: the dialog manager's OK and
// Cancel, a message box's buttons, virtual keys, the close box's system
// command. The driver checks each against <windows.h>.
constexpr int kIdOk = 1, kIdCancel = 2, kIdRetry = 4, kIdYes = 6, kIdNo = 7;
constexpr int kVkEnter = 0x0D, kVkShift = 0x10, kVkControl = 0x11, kVkEscape = 0x1B;
constexpr int kScClose = 0xF060;

struct Word {
    Window window;
    const char* name;
    int id;           // control (0: the caption), button, virtual key, system command
    int line = 0;     // the language line the control shows as it stands
    int command = 0;  // what the dialog manager makes of a key pressed or the close box
};

inline constexpr Word kWords[] = {
    {Window::Menu, "Practice", IDC_MAIN_PRACTICE, lines::kMenuPractice},
    {Window::Menu, "Demo", IDC_MAIN_DEMO},
    {Window::Menu, "Single Match", IDC_MAIN_SINGLEMATCH, lines::kMenuSingleMatch},
    {Window::Menu, "New League", IDC_MAIN_NEWLEAGUE, lines::kMenuNewLeague},
    {Window::Menu, "Load League", IDC_MAIN_LOADLEAGUE, lines::kMenuLoadLeague},
    {Window::Menu, "Credits", IDC_MAIN_CREDITS, lines::kMenuCredits},
    {Window::Menu, "DirectX", IDC_MAIN_DIRECTX, lines::kMenuDirectX},
    {Window::Menu, "Licence", IDC_MAIN_LICENCE, lines::kMenuLicence},
    {Window::Menu, "Web site", IDC_MAIN_WEBSITE, lines::kMenuWebSite},
    {Window::Menu, "Cancel", IDC_MAIN_CANCEL, lines::kMenuCancel},
    {Window::League, "caption", 0, lines::kLeagueCaption},
    {Window::League, "league name", IDC_LEAGUE_NAME},
    {Window::League, "league name label", IDC_LEAGUE_NAME_LABEL, lines::kLeagueNameLabel},
    {Window::League, "players", IDC_LEAGUE_PLAYERS},
    {Window::League, "players label", IDC_LEAGUE_PLAYERS_LABEL, lines::kPlayersLabel},
    {Window::League, "rounds", IDC_LEAGUE_ROUNDS},
    {Window::League, "rounds label", IDC_LEAGUE_ROUNDS_LABEL, lines::kRoundsLabel},
    {Window::League, "creatures", IDC_LEAGUE_VOKS},
    {Window::League, "creatures label", IDC_LEAGUE_VOKS_LABEL, lines::kCreaturesLabel},
    {Window::League, "lives", IDC_LEAGUE_LIVES},
    {Window::League, "lives label", IDC_LEAGUE_LIVES_LABEL, lines::kLivesLabel},
    {Window::League, "OK", kIdOk, lines::kLeagueOk},
    {Window::League, "Cancel", kIdCancel, lines::kLeagueCancel},
    {Window::InputBox, "prompt", IDC_INPUT_PROMPT},
    {Window::InputBox, "name", IDC_INPUT_EDIT},
    {Window::InputBox, "OK", kIdOk},
    {Window::Credits, "caption", 0, lines::kCreditsCaption},
    {Window::Credits, "OK", kIdOk, lines::kCreditsOk},
    {Window::Credits, "column 1", IDC_CREDITS_COLUMN1},
    {Window::Credits, "column 2", IDC_CREDITS_COLUMN2},
    {Window::Credits, "column 3", IDC_CREDITS_COLUMN3},
    // A box's buttons, in the order a scenario names them: "OK/Cancel", "Yes/No" ...
    {Window::Box, "OK", kIdOk},
    {Window::Box, "Yes", kIdYes},
    {Window::Box, "No", kIdNo},
    {Window::Box, "Retry", kIdRetry},
    {Window::Box, "Cancel", kIdCancel},
    {Window::Held, "Shift", kVkShift},
    {Window::Held, "Control", kVkControl},
    {Window::Pressed, "Escape", kVkEscape, 0, kIdCancel},
    {Window::Pressed, "Enter", kVkEnter, 0, kIdOk},
    {Window::Any, "caption", 0},
    {Window::Any, "close box", kScClose, 0, kIdCancel},
};

// The word of `window` (a window's own before any dialog's) that `text` names:
// all of it, or with `rest` its longest start that is a word, what follows the
// blank after it going to `rest`. Null when there is none.
inline const Word* Find(Window window, const std::string& text, std::string* rest = nullptr) {
    const Word* found = nullptr;
    for (const Word& word : kWords) {
        const std::string name = word.name;
        if ((word.window == window || (word.window == Window::Any && window <= Window::Box)) &&
            (text == name || (rest && text.compare(0, name.size() + 1, name + " ") == 0)) &&
            (!found || name.size() > std::string(found->name).size())) {
            found = &word;
        }
    }
    if (found && rest) {
        *rest = text.substr(std::min(text.size(), std::string(found->name).size() + 1));
    }
    return found;
}

// The name of language line `line` as a scenario writes it after "@", and
// the line of a name (-1 for none).
inline std::string NameOf(int line) {
    const auto* at = std::find_if(std::begin(lines::kNamed), std::end(lines::kNamed),
                                  [&](const lines::Named& named) { return named.line == line; });
    return at == std::end(lines::kNamed) ? "?" : at->name;
}

inline int LineNamed(const std::string& name) {
    const auto* at = std::find_if(std::begin(lines::kNamed), std::end(lines::kNamed),
                                  [&](const lines::Named& named) { return name == named.name; });
    return at == std::end(lines::kNamed) ? -1 : at->line;
}

// The steps that a step stands for with `window` in front, or "" when it
// stands for itself:
//   gather PLAYERS CREATURES [NAME, ...]  each player's name prompt, answered
//       with the given name or left at its default, then each creature's
//       prompt, confirmed;
//   translated  every text of the window that is a language line as it stands;
//   menu 0|1    the menu translated, the game buttons enabled, Load League only
//       with 1;
//   settings NAME PLAYERS ROUNDS CREATURES LIVES  the create-league boxes.
inline std::string Steps(Window window, const std::string& step) {
    std::istringstream in(step);
    std::string verb, steps, name;
    int players = 0, creatures = 0;
    in >> verb >> std::ws;
    if (verb == "gather") {
        in >> players >> creatures >> std::ws;
    }
    for (int i = 1; i <= players; ++i) {
        const std::string n = std::to_string(i);
        steps += "wait input box; text prompt @PlayerPrompt " + n + "; text name @PlayerDefault|" +
                 n + (std::getline(in >> std::ws, name, ',') ? "; type name " + name : "") +
                 "; click OK";
        for (int j = 1; j <= creatures; ++j) {
            steps += "; box OK/Cancel @VokPrompt (" + std::to_string(j) + "/" +
                     std::to_string(creatures) + "); answer OK";
        }
        steps += i < players ? "; " : "";
    }
    for (const Word& word : kWords) {
        const Window shown = verb == "menu" ? Window::Menu : window;
        steps += (verb == "translated" || verb == "menu") && word.window == shown && word.line
                     ? "text " + std::string(word.name) + " @" + NameOf(word.line) + "; "
                     : "";
    }
    const char* boxes[] = {"league name", "players", "rounds", "creatures", "lives"};
    for (int b = 0; verb == "settings" && b < 5 && in >> name; ++b) {
        steps += "text " + std::string(boxes[b]) + " " + name + "; ";
    }
    if (verb == "menu" && in >> name) {
        steps += "enabled Practice; enabled Single Match; enabled New League; " +
                 std::string(name == "1" ? "enabled" : "disabled") + " Load League";
    }
    return steps;
}

// Whether `text` is `pattern`, where '*' stands for any text.
inline bool Match(const char* pattern, const char* text) {
    return *pattern == '*' ? Match(pattern + 1, text) || (*text && Match(pattern, text + 1))
                           : *pattern == *text && (!*text || Match(pattern + 1, text + 1));
}

// A step's text as meant: "@Name" the language line of that name by `line`
// ("@Name|" where letters or digits follow), "%R", "%T", "%L" the `folders`
// (data root, temporary folder, its long name), "\\r" and "\\n" line ends,
// "\\xNN" a byte.
template <typename Line>
std::string Expand(const std::string& text, Line line, const std::string (&folders)[3]) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end = std::find_if(text.begin() + i + 1, text.end(),
                                             [](unsigned char c) { return !std::isalnum(c); }) -
                                text.begin();
        const std::size_t folder = text[i] == '%' ? std::string("RTL").find(text[i + 1]) : 3;
        const char escape = text[i] == '\\' ? text[i + 1] : 0;
        const int named = text[i] == '@' ? LineNamed(text.substr(i + 1, end - i - 1)) : -1;
        if (named >= 0) {
            out += line(named);
            i = end - (text.compare(end, 1, "|") != 0);
        } else if (folder < 3) {
            out += folders[folder], ++i;
        } else if (escape == 'r' || escape == 'n' || escape == 'x') {
            out += escape == 'x'   ? char(std::stoi(text.substr(i + 2, 2), nullptr, 16))
                   : escape == 'r' ? '\r'
                                   : '\n';
            i += escape == 'x' ? 3 : 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The scenarios of a file: a line with a name, then indented lines of steps;
// "#" begins a comment line.
inline std::vector<std::pair<std::string, std::string>> Scenarios(std::istream& file) {
    std::vector<std::pair<std::string, std::string>> scenarios;
    for (std::string line; std::getline(file, line);) {
        if (line[0] == ' ' && !scenarios.empty()) {
            scenarios.back().second += line + ";";
        } else if (!line.empty() && line[0] != '#') {
            scenarios.push_back({line, ""});
        }
    }
    return scenarios;
}

}  // namespace vok::words
