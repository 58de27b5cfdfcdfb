#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestOs.h"
#include "platform/Ui.h"

namespace vok::test {

// A player at the launcher's dialogs, for tests that run whole flows: the
// main menu as start-up opens it, the questions it asks, the create-league
// dialog with its input boxes and creature prompts. Every message box is
// answered by its buttons, the way a player who wants a league answers it,
// and everything shown is kept.
class ScriptedPlayer {
public:
    struct Shown {
        std::string text;
        std::string caption;
        Buttons buttons;
    };

    // `os` is the seam the flow runs on; a flow ends when the launcher ends
    // its process there.
    explicit ScriptedPlayer(TestOs& os);
    ~ScriptedPlayer();
    ScriptedPlayer(const ScriptedPlayer&) = delete;
    ScriptedPlayer& operator=(const ScriptedPlayer&) = delete;

    // What is typed into the create-league dialog.
    std::string leagueName = "Cup";
    std::string players = "3";
    std::string rounds = "2";
    std::string voks = "2";
    std::string lives = "10";
    // Typed into the name prompts in turn; the default name stays after them.
    std::vector<std::string> names = {"Ann", "Bo", "Cy"};
    // Answer to the question whether a new league replaces the old one.
    Answer replace = Answer::Yes;
    // Retry is pressed this often for a creature that cannot be found, then Cancel.
    int retries = 2;

    // The desktop for StartUp: its main menu is opened and `buttons` are
    // pressed in order, until the launcher ends or the menu closes.
    Ui& Desktop(std::vector<int> buttons);
    // Presses `button` of a main menu that is already open (opened on first use).
    void Press(int button);

    // Every message box, in order.
    const std::vector<Shown>& Messages() const { return messages_; }
    // The main menu's button texts as it opened.
    const std::map<int, std::string>& MenuTexts() const { return menuTexts_; }
    // The last state of Load League (enabled), after every press.
    bool LoadLeagueEnabled() const;
    // What the create-league dialog ended with (-1: never opened).
    int CreateLeagueResult() const { return createResult_; }
    // Texts shown by message boxes with these buttons, in order.
    std::vector<std::string> TextsOf(Buttons buttons) const;

private:
    class Dialog;

    Answer Respond(const char* text, const char* caption, Buttons buttons);
    int RunCreateLeague();
    int RunInputBox();
    int RunMainMenu();
    bool Ended() const { return !os_.Exits().empty(); }

    TestOs& os_;
    std::unique_ptr<Dialog> desktop_;
    std::unique_ptr<Dialog> menu_;  // the menu Press works on
    std::vector<int> buttons_;
    std::size_t nameIndex_ = 0;
    int retried_ = 0;
    std::vector<Shown> messages_;
    std::map<int, std::string> menuTexts_;
    bool loadLeagueEnabled_ = false;
    int createResult_ = -1;
};

// Every file and folder under `folder`, by path relative to it with '/';
// folders end in '/' and map to "", files map to their bytes. Ordered, so two
// listings compare whatever order the system lists in. Read through the
// system's seam, so names are the bytes the launcher itself uses.
std::map<std::string, std::string> Tree(const std::string& folder);

}  // namespace vok::test
