#include "Engine.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <sstream>

#include "i18n/LanguageLines.h"
#include "launcher/MainMenu.h"

namespace vok::scenario {

namespace {

// Windows, controls, answers and keys as the player sees them, each with the
// id the launcher gives it, so that a renamed or renumbered control breaks the
// build, not a test.
constexpr Word kWords[] = {
    {Window::Menu, "Practice", IDC_MAIN_PRACTICE},
    {Window::Menu, "Demo", IDC_MAIN_DEMO},
    {Window::Menu, "Single Match", IDC_MAIN_SINGLEMATCH},
    {Window::Menu, "New League", IDC_MAIN_NEWLEAGUE},
    {Window::Menu, "Load League", IDC_MAIN_LOADLEAGUE},
    {Window::Menu, "Credits", IDC_MAIN_CREDITS},
    {Window::Menu, "DirectX", IDC_MAIN_DIRECTX},
    {Window::Menu, "Licence", IDC_MAIN_LICENCE},
    {Window::Menu, "Web site", IDC_MAIN_WEBSITE},
    {Window::Menu, "Cancel", IDC_MAIN_CANCEL},
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
    {Window::League, "OK", IDC_OK, lines::kLeagueOk},
    {Window::League, "Cancel", IDC_CANCEL, lines::kLeagueCancel},
    {Window::InputBox, "prompt", IDC_INPUT_PROMPT},
    {Window::InputBox, "name", IDC_INPUT_EDIT},
    {Window::InputBox, "OK", IDC_OK},
    {Window::Credits, "caption", 0, lines::kCreditsCaption},
    {Window::Credits, "OK", IDC_OK, lines::kCreditsOk},
    {Window::Credits, "column 1", IDC_CREDITS_COLUMN1},
    {Window::Credits, "column 2", IDC_CREDITS_COLUMN2},
    {Window::Credits, "column 3", IDC_CREDITS_COLUMN3},
    // A box's buttons, in the order a scenario names them: "OK/Cancel", "Yes/No" ...
    {Window::Box, "OK", IDC_OK},
    {Window::Box, "Yes", kIdYes},
    {Window::Box, "No", kIdNo},
    {Window::Box, "Retry", kIdRetry},
    {Window::Box, "Cancel", IDC_CANCEL},
    {Window::Held, "Shift", kVkShift},
    {Window::Held, "Control", kVkControl},
    {Window::Pressed, "Escape", kVkEscape, 0, IDC_CANCEL},
    {Window::Pressed, "Enter", kVkEnter, 0, IDC_OK},
    {Window::Any, "caption", 0},
    {Window::Any, "close box", kScClose, 0, IDC_CANCEL},
};

// "FIRST REST" as its two parts.
std::pair<std::string, std::string> Cut(const std::string& text) {
    const std::size_t blank = std::min(text.find(' '), text.size());
    return {text.substr(0, blank), text.substr(std::min(text.size(), blank + 1))};
}

std::string TextOf(const Word& word, int line) {
    const auto* at = std::find_if(std::begin(lines::kNamed), std::end(lines::kNamed),
                                  [&](const lines::Named& named) { return named.line == line; });
    return "text " + std::string(word.name) + " @" +
           (at == std::end(lines::kNamed) ? "?" : at->name);
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
std::string Steps(Window window, const std::string& step) {
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
    const bool menu = verb == "menu" || (verb == "translated" && window == Window::Menu);
    for (const Word& word : kWords) {  // the menu's lines are the launcher's own table
        const auto* caption =
            std::find_if(std::begin(kMenuCaptions), std::end(kMenuCaptions),
                         [&](const MenuCaption& caption) { return caption.button == word.id; });
        steps += menu && word.window == Window::Menu && caption != std::end(kMenuCaptions)
                     ? TextOf(word, caption->line) + "; "
                 : verb == "translated" && !menu && word.window == window && word.line
                     ? TextOf(word, word.line) + "; "
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

// The top-level entry of a relative path.
std::string Top(const std::string& path) {
    return path.substr(0, path.find('/'));
}

std::string Joined(const std::set<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : " ") + name;
    }
    return joined;
}

}  // namespace

// The word of `window` (a window's own before any dialog's) that `text` names:
// all of it, or with `rest` its longest start that is a word, what follows the
// blank after it going to `rest`. Null when there is none.
const Word* Find(Window window, const std::string& text, std::string* rest) {
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

int LineNamed(const std::string& name) {
    const auto* at = std::find_if(std::begin(lines::kNamed), std::end(lines::kNamed),
                                  [&](const lines::Named& named) { return name == named.name; });
    return at == std::end(lines::kNamed) ? -1 : at->line;
}

bool Match(const char* pattern, const char* text) {
    return *pattern == '*' ? Match(pattern + 1, text) || (*text && Match(pattern, text + 1))
                           : *pattern == *text && (!*text || Match(pattern + 1, text + 1));
}

std::vector<std::pair<std::string, std::string>> Scenarios(std::istream& file) {
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

Engine::Engine(Stage& stage, const std::string& steps, std::string data)
    : stage_(stage), data_(std::move(data)) {
    std::istringstream in(steps);
    for (std::string step; std::getline(in >> std::ws, step, ';');) {
        steps_.push_back(step);
    }
}

std::string Engine::Run() {
    while (Step()) {
    }
    step_ = "the end";
    const auto event = failure_.empty() ? stage_.Event(false) : std::nullopt;
    return event ? (Fail("the scenario does not say: " + *event), failure_) : failure_;
}

bool Engine::Fail(const std::string& why) {
    failure_ = failure_.empty() ? "at \"" + step_ + "\": " + why : failure_;
    return false;
}

bool Engine::Step() {
    if (!failure_.empty() || next_ >= steps_.size()) {
        return false;
    }
    step_ = steps_[next_++];
    const std::string steps = Steps(stage_.Front(), step_);
    if (!steps.empty()) {
        std::istringstream in(steps);
        std::vector<std::string> more;
        for (std::string step; std::getline(in >> std::ws, step, ';');) {
            more.push_back(step);
        }
        steps_.insert(steps_.begin() + next_, more.begin(), more.end());
        return true;
    }
    const auto [verb, rest] = Cut(step_);
    return Check(verb, Expand(rest), rest);
}

// A step's text as meant: "@Name" the language line of that name ("@Name|"
// where letters or digits follow), "%R", "%T", "%L" the stage's folders,
// "\r" and "\n" line ends, "\xNN" a byte.
std::string Engine::Expand(const std::string& text) {
    const std::vector<std::string> folders = stage_.Folders();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end = std::find_if(text.begin() + i + 1, text.end(),
                                             [](unsigned char c) { return !std::isalnum(c); }) -
                                text.begin();
        const std::size_t folder = text[i] == '%' ? std::string("RTL").find(text[i + 1]) : 3;
        const char escape = text[i] == '\\' ? text[i + 1] : 0;
        const int named = text[i] == '@' ? LineNamed(text.substr(i + 1, end - i - 1)) : -1;
        if (named >= 0) {
            out += stage_.Line(named);
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

// Whether what `read` reads is `pattern`, at once natively, within the stage's
// time under Wine. Reading nothing (no such control, file or event) fails.
bool Engine::Holds(const std::function<std::optional<std::string>()>& read,
                   const std::string& pattern) {
    std::optional<std::string> got;
    return stage_.Until([&] { return (got = read()) && Match(pattern.c_str(), got->c_str()); }) ||
           Fail(got ? "found \"" + *got + "\"" : "there is no such thing");
}

bool Engine::Check(const std::string& verb, const std::string& rest, const std::string& raw) {
    const auto cut = Cut(rest);
    const std::string &first = cut.first, &text = cut.second;
    const Window front = stage_.Front();
    std::string want;
    const bool before = std::any_of(steps_.begin(), steps_.end(), [](const std::string& step) {
        return step.compare(0, 6, "tree =") == 0;
    });
    if (before && (verb == "start" || verb == "temp")) {  // the temporary folder as it was
        before_[stage_.Folders()[1]] = stage_.Tree(stage_.Folders()[1]);
    }
    if (verb == "start") {
        const std::string why = stage_.Start(rest);
        return why.empty() || Fail(why);
    }
    if (verb == "click" || verb == "type" || verb == "press" || verb == "answer" ||
        verb == "send") {
        if (verb == "answer" && !stage_.Until([&] { return stage_.Find(Window::Box); })) {
            return Fail("no box is in front");
        }
        const Window window = verb == "press" ? Window::Pressed : stage_.Front();
        const Word* word = Find(window, rest, verb == "type" ? &want : nullptr);
        const std::string why = (verb == "answer") != (window == Window::Box) ? "a box is in front"
                                : !word
                                    ? "no such word in the " + std::string(kWindowNames[int(front)])
                                    : stage_.Act(verb, *word, want);
        return why.empty() || Fail(why);
    }
    if (verb == "wait" || verb == "box") {  // WINDOW; BUTTONS TEXT, with an empty caption
        const std::string name = verb == "box" ? "box" : rest;
        const auto* at = std::find(std::begin(kWindowNames), std::end(kWindowNames) - 1, name);
        if (at == std::end(kWindowNames) - 1 ||
            !stage_.Until([&] { return stage_.Find(Window(at - kWindowNames)); })) {
            return Fail("the " + name + " is not in front");
        }
        std::string buttons;
        return verb == "wait" ||
               (Holds([&] { return stage_.Control('t', 0); }, "") &&
                Holds([&] { return stage_.Control('t', kBoxText); }, text) &&
                Holds(
                    [&] {
                        buttons.clear();
                        for (const Word& word : kWords) {
                            const bool has =
                                word.window == Window::Box && stage_.Control('e', word.id);
                            buttons +=
                                has ? (buttons.empty() ? "" : "/") + std::string(word.name) : "";
                        }
                        return std::optional<std::string>(buttons);
                    },
                    first));
    }
    if (verb == "text" || verb == "limit" || verb == "enabled" || verb == "disabled") {
        const Word* word = Find(front, rest, verb[0] == 't' || verb[0] == 'l' ? &want : nullptr);
        const char what = verb[0] == 't' || verb[0] == 'l' ? verb[0] : 'e';
        return (word || Fail("no such control here")) &&
               Holds([&] { return stage_.Control(what, word->id); }, what == 'e' ? verb : want);
    }
    if (verb == "started" || verb == "opened" || verb == "signalled" || verb == "debug") {
        return Holds([&] { return stage_.Event(false); }, verb + " " + rest) && stage_.Event(true);
    }
    if (verb == "exit" || verb == "seen") {
        return Holds([&] { return verb == "exit" ? stage_.Exit() : stage_.Seen(); }, rest);
    }
    if (verb == "is") {
        return Holds([&] { return stage_.Read(first); }, text);
    }
    if (verb == "gone") {
        return Holds([&] { return std::optional<std::string>(stage_.Read(rest) ? "there" : ""); },
                     "");
    }
    if (verb == "tree" || verb == "league") {  // [=] [NAMES]; FILE [NAMES]
        const auto league = verb == "league" ? stage_.Read(data_ + first) : std::nullopt;
        return (verb == "tree" || league || Fail("no file " + first)) &&
               Tree(verb == "tree" ? rest : text, league ? Expand(*league) : "");
    }
    const std::string why = stage_.Other(verb, rest, raw);
    return why.empty() || Fail(why);
}

// The temporary folder holds exactly the entries `names` ("=": those it held
// before, unchanged; "vok.exe": the game's copy) and, with a `league`, that
// league file, the game's copy and each creature's folder named in it with
// the files of data/ply; and the game found that league.
bool Engine::Tree(const std::string& names, const std::string& league) {
    const std::vector<std::string> folders = stage_.Folders();
    std::istringstream in(names + (league.empty() ? "" : " vok.exe vokleague.dat"));
    std::set<std::string> top;
    Files same;
    for (std::string name; in >> name;) {
        for (const auto& [path, bytes] : name == "=" ? before_[folders[1]] : Files()) {
            top.insert(Top(path));
            same[path] = bytes;
        }
        if (name == "vok.exe") {
            same[name] = stage_.Read(folders[0] + name).value_or("");
        }
        if (name != "=") {
            top.insert(name);
        }
    }
    if (!league.empty()) {
        same["vokleague.dat"] = league;
    }
    const std::string prefix = ".path = " + folders[1];
    for (std::size_t at = league.find(prefix); at != std::string::npos;
         at = league.find(prefix, at + 1)) {
        const std::string folder = Top(league.substr(at + prefix.size()));
        top.insert(folder);
        for (const auto& [file, bytes] : stage_.Tree(folders[0] + "data/ply/")) {
            if (file.find('/') == std::string::npos) {  // a sub-folder is no creature's file
                same[folder + "/" + file] = bytes;
            }
        }
    }
    std::string why;
    stage_.Until([&] {
        const Files got = stage_.Tree(folders[1]);
        std::set<std::string> names;
        for (const auto& entry : got) {
            names.insert(Top(entry.first));
        }
        why = Joined(names) == Joined(top) ? "" : "the temporary folder holds " + Joined(names);
        for (const auto& [path, bytes] : same) {
            why +=
                !why.empty() || (got.count(path) && got.at(path) == bytes) ? "" : path + " differs";
        }
        return why.empty();
    });
    return (why.empty() || Fail(why)) && (league.empty() || stage_.GameFound() == league ||
                                          Fail("the game found another league"));
}

}  // namespace vok::scenario
