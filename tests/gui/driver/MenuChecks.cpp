#include "MenuChecks.h"

#include "Report.h"
#include "Win32Ui.h"

namespace gui {

namespace {

// The buttons the launcher translates, with their language lines.
struct TranslatedButton {
    int id;
    size_t line;
};
const TranslatedButton kTranslated[] = {
    {kPractice, 44}, {kSingleMatch, 45}, {kNewLeague, 46}, {kLoadLeague, 47}, {kCredits, 48},
    {kDirectX, 49},  {kLicence, 50},     {kWebSite, 51},   {kCancel, 52},
};

}  // namespace

std::vector<std::string> StagedLanguage(const Stage& stage, const std::string& file) {
    std::string bytes;
    GUI_REQUIRE(ReadBytes(stage.Language(file), bytes), "read the staged " + file);
    return LanguageLines(bytes);
}

void CheckTranslatedTexts(HWND menu, const std::vector<std::string>& lines,
                          const std::string& file) {
    for (const TranslatedButton& button : kTranslated) {
        GUI_CHECK_EQ(ControlText(menu, button.id), LanguageLine(lines, button.line),
                     Format("button %d text (%s line %u)", button.id, file.c_str(),
                            static_cast<unsigned>(button.line)));
    }
    GUI_CHECK_EQ(ControlText(menu, kDemo), "Demo", "demo button keeps its template text");
    GUI_CHECK_EQ(WindowText(menu), "Vok ", "menu caption");
}

void CheckOpeningStates(HWND menu, bool leaguePresent) {
    for (int id : MainMenuIds()) {
        const bool expected = id != kLoadLeague || leaguePresent;
        GUI_CHECK_EQ(ControlEnabled(menu, id), expected, Format("button %d enabled", id));
    }
}

void CheckNoMessageBox(DWORD pid, const std::string& when) {
    MessageBoxInfo box;
    if (FindMessageBox(pid, box)) {
        GUI_CHECK(false, when + ": unexpected message box \"" + Printable(box.text) + "\"");
    }
}

void CancelMenu(Launcher& launcher, HWND menu) {
    GUI_REQUIRE(Click(menu, kCancel), "press Cancel");
    GUI_CHECK_EQ(launcher.ExpectExit(), 0, "exit code after Cancel");
}

void SaveShot(HWND window, const std::string& name) {
    if (Settings().shots.empty()) {
        return;
    }
    const std::string path = Join(Settings().shots, name);
    GUI_CHECK(SaveWindowPng(window, path), "save screenshot " + path);
}

StartRecord ExpectOneGameStart(const Stage& stage) {
    Record record;
    GUI_REQUIRE(WaitForRecord(stage.Record(kGameRecord), "shown", kRecordTimeoutMs, record),
                "the game stand-in was started and shows its window");
    GUI_REQUIRE(record.starts.size() == 1,
                Format("one game start, got %u", static_cast<unsigned>(record.starts.size())));
    return record.starts[0];
}

void CheckTempAfterLaunch(const Stage& stage, std::map<std::string, std::string> extra) {
    std::string game;
    GUI_REQUIRE(ReadBytes(stage.Root("vok.exe"), game), "read the data root's vok.exe");
    extra["vok.exe"] = game;
    const auto listing = ListTree(stage.Temp());
    GUI_CHECK(listing == extra,
              Format("temporary folder holds exactly the game copy and %u other files",
                     static_cast<unsigned>(extra.size() - 1)));
    const DWORD attributes = GetFileAttributesA(stage.Temp("vok.exe").c_str());
    GUI_CHECK(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY),
              "the game copy is not read-only");
}

void StageTempFiles(const Stage& stage, const std::map<std::string, std::string>& files) {
    for (const auto& file : files) {
        const size_t slash = file.first.find('\\');
        if (slash != std::string::npos) {
            GUI_REQUIRE(MakeFolders(stage.Temp(file.first.substr(0, slash))), "make a folder");
        }
        GUI_REQUIRE(WriteBytes(stage.Temp(file.first), file.second), "stage " + file.first);
    }
}

}  // namespace gui
