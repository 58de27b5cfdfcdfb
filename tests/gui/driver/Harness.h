// What every GUI case shares: where the programs under test are, a freshly
// staged data root and temporary folder per case, the launcher process, and
// the records the stand-ins leave behind.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Win32System.h"

namespace gui {

// Time limits of the waits. Generous: a loaded machine under Wine and Xvfb is
// slow, and a wait that ends early only fails a case.
const DWORD kStartTimeoutMs = 30000;   // a started program shows its window
const DWORD kExitTimeoutMs = 20000;    // a program ends after its last action
const DWORD kRecordTimeoutMs = 20000;  // a started stand-in has written its record

// Set from the command line in main.
struct Config {
    std::string launcher;  // the launcher executable; empty when not built
    std::string standins;  // folder holding the stand-in programs and ddraw\<variant>\DDRAW.DLL
    std::string sample;    // the sample data root (holding data\language, data\ply ...)
    std::string work;      // scratch folder for the staged roots
    std::string shots;     // where to save screenshots; empty for none
};
Config& Settings();

// The launcher's file name in a staged root; the DLL override for the probe's
// stand-in library is registered under it.
const char* const kLauncherExe = "VokLauncher.exe";

// Which DDRAW.DLL the launcher's DirectDraw probe meets.
enum class Ddraw {
    Success,        // creates an IDirectDraw7 object: no DirectX question
    Off,            // DllOverrides switch the library off: LoadLibrary fails
    NoCreate,       // exports only "DirectDrawCreateEx"
    NoCreateEx,     // exports only "DirectDrawCreate"
    CreateExFails,  // "DirectDrawCreateEx" returns a failure code
};
const char* DdrawName(Ddraw variant);

// A data root, a temporary folder and a records folder made fresh for one case
// under the work folder; they are left in place afterwards for inspection and
// removed when the same case runs again.
class Stage {
public:
    // Copies the launcher, the sample data and the stand-ins ("vok.exe",
    // "DirectX8\DXSETUP.EXE", "demo\Zantovid.exe" with a "demo\vok.avi").
    explicit Stage(const std::string& name, Ddraw ddraw = Ddraw::Success);
    // Closes any game stand-in still running, and removes the DLL override.
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    std::string Root(const std::string& relative = "") const {
        return relative.empty() ? root_ : Join(root_, relative);
    }
    std::string Temp(const std::string& relative = "") const { return Join(temp_, relative); }
    std::string Record(const std::string& name) const { return Join(records_, name); }
    // The staged language file ("english.txt" ...).
    std::string Language(const std::string& file) const;

    // Environment of the launcher: TMP and TEMP (Wine takes them from here,
    // not from the Unix environment) and the records folder of the stand-ins.
    // The keyboard layout cannot be chosen here: Wine derives it from the Unix
    // LC_ALL of the process that starts the launcher, that is the driver's.
    std::map<std::string, std::string> Environment() const;

private:
    std::string root_;
    std::string temp_;
    std::string records_;
    std::unique_ptr<ScopedRegistryValue> override_;
};

// The lines of a language file as the launcher reads them (split at line
// feeds, a carriage return before the line feed dropped); a file ending in a
// line feed has an empty last line.
std::vector<std::string> LanguageLines(const std::string& bytes);
// Line `n`, or "<error>" when the file has no such line.
std::string LanguageLine(const std::vector<std::string>& lines, size_t n);

// One start of a stand-in, from its record file.
struct StartRecord {
    std::string args;
    std::string cmdline;
    std::string cwd;
    std::string temp;
    bool leagueFound = false;
    std::string league;  // the league file's exact bytes when found
};

// Parses a record file (see tests/gui/standins): its starts, and every event
// line ("message 0x420 0 0", "closed", "attach 4" ...) in order.
struct Record {
    std::vector<StartRecord> starts;
    std::vector<std::string> events;
    bool Has(const std::string& eventPrefix) const;
    size_t Count(const std::string& eventPrefix) const;
};
Record ReadRecord(const std::string& path);
// Waits until the record at `path` holds the event `eventPrefix`.
bool WaitForRecord(const std::string& path, const std::string& eventPrefix, DWORD timeoutMs,
                   Record& record);

// The main menu's control ids, in template order.
enum MainMenuId {
    kPractice = 1002,
    kSingleMatch = 1000,
    kNewLeague = 1001,
    kLoadLeague = 3,
    kDemo = 8,
    kCredits = 5,
    kDirectX = 4,
    kLicence = 6,
    kWebSite = 7,
    kCancel = 2,
};
const std::vector<int>& MainMenuIds();

// The launcher started in a staged root.
class Launcher {
public:
    // Starts the launcher of `stage`; the case stops when it cannot be started.
    explicit Launcher(const Stage& stage);
    DWORD Pid() const { return process_.Pid(); }
    ChildProcess& Process() { return process_; }

    // Waits for the main menu (recognised by its control ids); nullptr when it
    // did not appear in time or the launcher ended first.
    HWND WaitForMenu(DWORD timeoutMs = kStartTimeoutMs);
    // Waits for the launcher to end; the case stops when it does not.
    DWORD ExpectExit(DWORD timeoutMs = kExitTimeoutMs);

private:
    ChildProcess process_;
};

// The game stand-in's main window, found by the class the launcher looks for.
HWND FindGameWindow();

// An empty folder under the work folder, made anew for a case.
std::string FreshFolder(const std::string& name);

// True when the file at `path` may be replaced although it is read-only: root
// ignores the permission bits in which Wine keeps the read-only attribute.
bool ReadOnlyIgnored(const std::string& scratchFolder);

}  // namespace gui
