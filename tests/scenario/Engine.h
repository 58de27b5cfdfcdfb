// The scenario language of tests/unit/flows.txt and tests/gui/scenarios.txt
// (tests/gui/README.md): its words, its parsing, its checks and its
// strictness, one interpreter for both suites. A suite supplies only its
// Stage: the launcher's logic on fakes natively, the real launcher under Wine.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"

namespace vok::scenario {

// Where a word applies: a window the player meets (dialogs by their template
// in kTemplates), the keys held, the keys pressed once, or any dialog.
enum class Window { Menu, League, InputBox, Credits, Box, Held, Pressed, Any };
inline constexpr const char* kWindowNames[] = {"menu", "league", "input box", "credits",
                                               "box",  "",       "",          "nothing"};
inline constexpr const char* kTemplates[] = {"IDD_MAINDLG", "IDD_CREATELEAGUE", "IDD_INPUTBOX",
                                             "IDD_CREDITS"};

// Ids that Windows gives, not the launcher: a message box's buttons and text,
// virtual keys, the close box's system command. The driver checks each
// against <windows.h>.
constexpr int kIdRetry = 4, kIdYes = 6, kIdNo = 7, kBoxText = 0xFFFF;
constexpr int kVkEnter = 0x0D, kVkShift = 0x10, kVkControl = 0x11, kVkEscape = 0x1B;
constexpr int kScClose = 0xF060;

struct Word {
    Window window;
    const char* name;
    int id;           // control (0: the caption), button, virtual key, system command
    int line = 0;     // the language line it shows as it stands (the menu's: the launcher's table)
    int command = 0;  // what the dialog manager makes of a key pressed or the close box
};

const Word* Find(Window window, const std::string& text, std::string* rest = nullptr);
// The language line of a name in src/i18n/LanguageLines.h; -1 for none.
int LineNamed(const std::string& name);
// Whether `text` is `pattern`, where '*' stands for any text.
bool Match(const char* pattern, const char* text);
// The scenarios of a file by name: a line with a name, then indented lines of
// steps separated by ";"; "#" begins a comment line.
std::vector<std::pair<std::string, std::string>> Scenarios(std::istream& file);

using Files = std::map<std::string, std::string>;  // by relative path; a folder's ends in '/'

// What a suite puts the scenarios on. Paths come expanded (%R, %T ...).
class Stage {
public:
    virtual ~Stage() = default;
    virtual std::string Line(int n) = 0;             // language line n as the launcher reads it
    virtual std::vector<std::string> Folders() = 0;  // %R, %T, %L
    virtual bool Until(const std::function<bool()>& done) = 0;  // natively one look
    virtual std::string Start(const std::string& count) = 0;    // "" or why not
    virtual Window Front() = 0;                                 // the window acted on
    virtual bool Find(Window window) = 0;  // one look for it in front, then the one acted on
    // A control of the window acted on: 't' its text, 'l' its typing limit,
    // 'e' "enabled" or "disabled"; none when it has no such control.
    virtual std::optional<std::string> Control(char what, int id) = 0;
    virtual std::string Act(const std::string& verb, const Word& word, const std::string& text) = 0;
    // What another program or the debugger saw next, in the scenarios' words
    // ("started FILE PARAMETERS" ...); with `take`, it counts as checked.
    virtual std::optional<std::string> Event(bool take) = 0;
    virtual std::string Exit() = 0;  // of the launcher acted on; "running" before it ends
    virtual std::string Seen() = 0;  // the windows it ever showed
    virtual std::optional<std::string> Read(const std::string& path) = 0;  // a folder: ""
    virtual Files Tree(const std::string& folder) = 0;
    virtual std::string GameFound() = 0;  // the league file the game found when started
    // Any other step: the suite's own settings and checks, with its text as
    // written (`raw`) and expanded; "" or why not.
    virtual std::string Other(const std::string& verb, const std::string& rest,
                              const std::string& raw) = 0;
};

class Engine {
public:
    // `data`: the folder of the expected files that `league` names.
    Engine(Stage& stage, const std::string& steps, std::string data);
    // Runs one step; false when none is left or one failed.
    bool Step();
    // Runs every step, then fails on anything seen that no step checked; ""
    // when every step held, else the first failure with its step.
    std::string Run();

private:
    bool Fail(const std::string& why);
    bool Holds(const std::function<std::optional<std::string>()>& read, const std::string& pattern);
    bool Check(const std::string& verb, const std::string& rest, const std::string& raw);
    bool Tree(const std::string& names, const std::string& league);
    std::string Expand(const std::string& text);

    Stage& stage_;
    std::string data_, step_, failure_;
    std::vector<std::string> steps_;
    std::size_t next_ = 0;
    std::map<std::string, Files> before_;  // each temporary folder as `start` or `temp` found it
};

}  // namespace vok::scenario
