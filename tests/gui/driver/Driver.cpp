// Runs the scenarios of scenarios.txt (see README.md) against the real launcher
// under Wine. "vok_gui_tests [FILTER]", in its build folder, runs those whose
// names contain FILTER and, as Wine derives the keyboard layout from the Unix
// LC_ALL, mention German exactly when the layout is German.
#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "PlayerWords.h"

// The numbers Windows gives, written once in the words' table.
static_assert(vok::words::kIdOk == IDOK && vok::words::kIdCancel == IDCANCEL &&
              vok::words::kIdRetry == IDRETRY && vok::words::kIdYes == IDYES &&
              vok::words::kIdNo == IDNO);
static_assert(vok::words::kVkEnter == VK_RETURN && vok::words::kVkShift == VK_SHIFT &&
              vok::words::kVkControl == VK_CONTROL && vok::words::kVkEscape == VK_ESCAPE &&
              vok::words::kScClose == SC_CLOSE);

namespace {

namespace words = vok::words;
using words::Match;

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

struct Scenario {
    std::vector<HANDLE> launchers, handles;   // the handles are closed when the scenario ends
    std::map<DWORD, std::string> seen;        // by process id: the kinds of window shown
    HWND window = nullptr, spent = nullptr;   // acted on; clicked last, and maybe still closing
    words::Window kind = words::Window::Any;  // the kind of the window acted on
    std::vector<WORD> held;
    Files kept;                             // the locked files
    std::map<std::string, HANDLE> locks;    // their handles, by name in the temporary folder
    std::map<std::string, Files> snapshot;  // by folder: as at `start`, or as `temp` left it
    size_t current = 0, logUsed = 0;
} g;
HANDLE g_job, g_debugReady, g_debugData;  // the job: every launcher and what it starts
const char* g_debugText;
std::string g_here, g_shots, g_base, g_root, g_temp, g_language;  // folders end in a backslash

void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what);
    }
}

fs::path P(const std::string& utf8) {  // the C runtime takes no folder ending in a backslash
    return fs::u8path(utf8.back() == '\\' ? utf8.substr(0, utf8.size() - 1) : utf8);
}

std::string Short(const std::string& path) {  // the 8.3 form Wine makes up; a missing one as is
    wchar_t got[1024];
    return GetShortPathNameW(fs::u8path(path).c_str(), got, 1024) ? fs::path(got).u8string() : path;
}

std::string Read(const std::string& path) {
    std::ifstream file(P(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

Files Tree(const std::string& folder) {  // by relative path; a folder ends in a backslash
    Files tree;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(P(folder), missing)) {
        tree[entry.path().u8string().substr(folder.size()) + (entry.is_directory() ? "\\" : "")] =
            Read(entry.path().u8string());
    }
    return tree;
}

void CheckTree(const Files& want) {
    Files expected = g.kept;  // neither removed nor replaced
    expected.insert(want.begin(), want.end());
    const Files got = Tree(g_temp);
    Check(got == expected, "the temporary folder holds " + std::to_string(got.size()) +
                               " entries, not " + std::to_string(expected.size()) +
                               " as expected (a single scenario's run leaves them to see)");
}

std::string Line(int n) {
    std::istringstream file(Read(g_root + "data\\language\\" + g_language + ".txt"));
    std::string line;
    for (int i = 0; i <= n && std::getline(file, line); ++i) {
    }
    return file ? line.substr(0, line.find('\r')) : "<error>";
}

// %R the data root, where the stand-ins leave their records, %T the launcher's
// temporary folder (each with its backslash, by the short name where Wine made
// one up: the ANSI calls' name), %L its long name, @N line N of the language file.
std::string Expand(const std::string& text) {
    const std::string folders[] = {Short(g_root), Short(g_temp), g_temp};
    return words::Expand(text, Line, folders);
}

std::string Text(HWND window, int id) {  // 0: the caption
    char text[8192] = "";
    id ? GetDlgItemTextA(window, id, text, sizeof text) : GetWindowTextA(window, text, sizeof text);
    return text;
}

// The launcher's dialogs by frame size, as measured on hidden copies of its own
// templates under this Wine; any other dialog-class window is a message box.
// No child windows are walked: under Wine 10, a walk that lands while the
// launcher destroys a window (a message box just answered) can make the Wine
// server loop forever.
std::map<std::pair<LONG, LONG>, words::Window> g_kinds;

std::pair<LONG, LONG> Size(HWND window) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void MeasureDialogs() {
    HMODULE exe = LoadLibraryExW(P(g_here + "root\\VokLauncher.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    for (int i = 0; i < 4; ++i) {
        HWND copy = CreateDialogParamA(exe, words::kTemplates[i], nullptr, nullptr, 0);
        Check(copy != nullptr, std::string("a copy of dialog ") + words::kTemplates[i]);
        g_kinds[Size(copy)] = static_cast<words::Window>(i);
        DestroyWindow(copy);
    }
    FreeLibrary(exe);
    Check(g_kinds.size() == 4, "the launcher's four dialogs differ in size");
}

words::Window Kind(HWND window) {  // Any: none of the launcher's
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    const auto kind = g_kinds.find(Size(window));
    return strcmp(name, "#32770")  ? words::Window::Any
           : kind == g_kinds.end() ? words::Window::Box
                                   : kind->second;
}

// Notes the kinds of window each launcher shows; acts on the enabled one (the
// one in front) of the kind `wanted`, unless it was just clicked.
BOOL CALLBACK Note(HWND window, LPARAM wanted) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const words::Window kind = IsWindowVisible(window) ? Kind(window) : words::Window::Any;
    for (size_t i = 0; i < g.launchers.size(); ++i) {
        if (GetProcessId(g.launchers[i]) == pid && kind != words::Window::Any) {
            const std::string name = words::kWindowNames[static_cast<int>(kind)];
            std::string& seen = g.seen[pid];
            seen += seen.find(name) == std::string::npos ? " " + name : "";
            if (static_cast<LPARAM>(kind) == wanted && window != g.spent &&
                IsWindowEnabled(window)) {
                g.window = window;
                g.kind = kind;
                g.current = i;
            }
        }
    }
    return TRUE;
}

bool Until(const std::function<bool()>& done, DWORD timeoutMs = 20000, LPARAM wanted = -1) {
    for (const DWORD start = GetTickCount();; Sleep(10)) {
        EnumWindows(Note, wanted);
        // Debugger output, through the protocol Windows and Wine serve to
        // programs without a debugger: the DirectDraw probe is its only writer.
        if (WaitForSingleObject(g_debugData, 0) == WAIT_OBJECT_0) {
            std::ofstream(P(g_root + "ddraw.txt"), std::ios::app | std::ios::binary)
                << "debug " << g_debugText + sizeof(DWORD);
            SetEvent(g_debugReady);
        }
        if (done() || GetTickCount() - start > timeoutMs) {
            return done();
        }
    }
}

void Await(const std::function<std::string()>& read, const std::string& pattern,
           const std::string& what) {
    std::string got;
    if (!Until([&] { return Match(pattern.c_str(), (got = read()).c_str()); })) {
        throw std::runtime_error(what + " is \"" + got + "\", not \"" + pattern + "\"");
    }
}

// Sets a registry value and returns the one it had.
std::string Swap(HKEY root, const std::string& key, const char* name, const std::string& value) {
    char old[1024] = "";
    DWORD size = sizeof old;
    RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, old, &size);
    RegSetKeyValueA(root, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
    return old;
}

void Shot(HWND window, const std::string& path) {  // what the screen shows of the window
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    DeleteDC(memory);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    const CLSID png = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    Check(Gdiplus::Bitmap(bitmap, nullptr).Save(P(path).c_str(), &png, nullptr) == Gdiplus::Ok,
          "save " + path);
}

void Script(const std::string& script);

// The word `text` names in `window` (by default the one acted on); with
// `rest`, a word and what follows it.
const words::Word& Word(const std::string& text, std::string* rest = nullptr,
                        words::Window window = g.kind) {
    const words::Word* word = words::Find(window, text, rest);
    Check(word != nullptr, "no word for \"" + text + "\" here");
    return *word;
}

// A record a stand-in leaves: "<program> <arguments> @ <folder>\" (see Standins.cpp).
void Record(const std::string& record) {
    Await([] { return Read(g_root + "log.txt").substr(g.logUsed); }, record + "*", record);
    g.logUsed += record.size();
}

void Exec(const std::string& op, const std::string& arg) {
    const std::string steps = words::Steps(g.kind, op + " " + arg);
    if (!steps.empty()) {
        return Script(steps);
    }
    const std::string first = arg.substr(0, arg.find(' '));
    const std::string rest = arg.size() > first.size() ? arg.substr(first.size() + 1) : "";
    std::string more;
    if (op == "start") {  // [N]: that many launchers at once, from the driver's folder
        // Wine takes TMP and TEMP from its registry, not from the Unix environment;
        // a wide block keeps the letters the ANSI code page lacks.
        SetEnvironmentVariableW(L"TMP", P(g_temp).c_str());
        SetEnvironmentVariableW(L"TEMP", P(g_temp).c_str());
        g.snapshot[g_temp] = Tree(g_temp);
        const std::wstring exe = P(g_root + "VokLauncher.exe");
        wchar_t* environment = GetEnvironmentStringsW();
        std::vector<HANDLE> threads;  // all suspended until the last one exists
        for (int n = arg.empty() ? 1 : stoi(arg); n > 0; --n, g.current = g.launchers.size() - 1) {
            STARTUPINFOW startup = {};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process;
            Check(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE,
                                 CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, environment,
                                 nullptr, &startup, &process) &&
                      AssignProcessToJobObject(g_job, process.hProcess),
                  "start a launcher");
            g.launchers.push_back(process.hProcess);
            g.handles.insert(g.handles.end(), {process.hProcess, process.hThread});
            threads.push_back(process.hThread);
        }
        FreeEnvironmentStringsW(environment);
        std::for_each(threads.begin(), threads.end(), ResumeThread);
    } else if (op == "wait") {
        g.window = nullptr;
        const auto* at =
            std::find(std::begin(words::kWindowNames), std::end(words::kWindowNames), arg);
        Check(at != std::end(words::kWindowNames), "no window called " + arg);
        const LPARAM wanted = at - words::kWindowNames;
        Check(Until([] { return g.window != nullptr; }, 20000, wanted), "a window: " + arg);
    } else if (op == "box") {  // BUTTONS TEXT; the box's own controls, as it is not answered yet
        Script("wait box; text caption");
        Await([] { return Text(g.window, 0xFFFF); }, rest, "the box's text");
        std::string buttons;  // in the order of the words, as a scenario names them
        for (const words::Word& word : words::kWords) {
            const bool has = word.window == words::Window::Box && GetDlgItem(g.window, word.id);
            buttons += has ? (buttons.empty() ? "" : "/") + std::string(word.name) : "";
        }
        Check(buttons == first, "the box's buttons are " + buttons);
    } else if (op == "enabled" || op == "disabled") {
        HWND button = GetDlgItem(g.window, Word(arg).id);
        Await([&] { return IsWindowEnabled(button) ? "enabled" : "disabled"; }, op, arg);
    } else if (op == "text") {  // NAME TEXT
        const int id = Word(arg, &more).id;
        Await([&] { return Text(g.window, id); }, more, "text " + arg);
    } else if (op == "limit") {  // NAME N: the most characters a player can type there
        const int id = Word(arg, &more).id;
        Check(std::to_string(SendDlgItemMessageA(g.window, id, EM_GETLIMITTEXT, 0, 0)) == more,
              "the limit of " + arg);
    } else if (op == "type") {  // NAME TEXT, as a paste puts it there
        const int id = Word(arg, &more).id;
        SetDlgItemTextA(g.window, id, more.c_str());
    } else if (op == "click" || op == "answer") {  // posted, for it may open a modal window
        if (op == "answer" && (g.kind != words::Window::Box || g.window == g.spent)) {
            Exec("wait", "box");
        }
        // Controls of the window acted on are looked up while it is unanswered:
        // once answered, it may be closing (see Kind).
        Check((op == "answer") == (g.kind == words::Window::Box), op + ": a box is in front");
        // An answer is a button of the box; the close box is the dialog's own.
        const words::Word& word = Word(arg);
        HWND item = GetDlgItem(g.window, word.id);
        Check(word.id == words::kScClose ? PostMessageA(g.window, WM_SYSCOMMAND, word.id, 0)
                                         : IsWindowVisible(item) && IsWindowEnabled(item) &&
                                               PostMessageA(item, BM_CLICK, 0, 0),
              op + " " + arg);
        g.spent = g.window;
    } else if (op == "press") {  // a key, once, into the dialog's control that has the focus
        const words::Word& key = Word(arg, nullptr, words::Window::Pressed);
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(g.window, nullptr), &thread);
        HWND focus = IsChild(g.window, thread.hwndFocus) ? thread.hwndFocus : g.window;
        Check(PostMessageA(focus, WM_KEYDOWN, key.id, 0), "press " + arg);
        g.spent = g.window;
    } else if (op == "settle") {
        // The input box took what was posted: a marker (its modified flag, which the
        // launcher never reads) posted behind, twice: the close box posts a Cancel.
        HWND edit = GetDlgItem(g.window, IDC_INPUT_EDIT);
        for (int round = 0; round < 2; ++round) {
            const std::string marker = SendMessageA(edit, EM_GETMODIFY, 0, 0) ? "0" : "1";
            PostMessageA(edit, EM_SETMODIFY, marker == "1", 0);
            Await([&] { return std::to_string(SendMessageA(edit, EM_GETMODIFY, 0, 0)); }, marker,
                  "the input box");
        }
    } else if (op == "hold") {
        std::istringstream keys(arg);
        for (std::string key; keys >> key;) {
            g.held.push_back(static_cast<WORD>(Word(key, nullptr, words::Window::Held).id));
        }
        // Wine releases a key that only SendInput pressed when one of its windows
        // gains focus: press until the keys stay down past a round trip through
        // the launcher's message loop.
        int attempts = 0;
        do {
            for (const WORD key : g.held) {
                keybd_event(static_cast<BYTE>(key), 0, 0, 0);
            }
            SendMessageA(g.window, WM_NULL, 0, 0);
        } while (Until(
                     [] {
                         return std::any_of(g.held.begin(), g.held.end(),
                                            [](WORD key) { return GetAsyncKeyState(key) >= 0; });
                     },
                     150) &&
                 ++attempts < 20);
        Check(attempts < 20, "hold " + arg);
    } else if (op == "exit") {
        DWORD code = 0;
        const HANDLE process = g.launchers[g.current];
        Await([&] { return std::to_string(GetExitCodeProcess(process, &code) ? int(code) : 0); },
              arg, "the exit code");
    } else if (op == "seen") {
        Await(
            [] {
                const std::string& seen = g.seen[GetProcessId(g.launchers[g.current])];
                return seen.substr(std::min<size_t>(1, seen.size()));
            },
            arg, "what it showed");
    } else if (op == "rest") {  // CODE: every other launcher ended so, having shown nothing
        for (size_t i = 0, current = g.current; i < g.launchers.size(); g.current = current) {
            Script((g.current = i++) == current ? "" : "exit " + arg + "; seen");
        }
    } else if (op == "started") {  // FILE [PARAMETERS]: a relative FILE is in the data root
        std::string file = (first.find(":\\") == std::string::npos ? Short(g_root) : "") + first;
        std::replace(file.begin(), file.end(), '/', '\\');
        Record(file + (rest.empty() ? "" : " ") + rest + " @ " + Short(g_root) + "\r\n");
    } else if (op == "opened") {  // TARGET: a document in the data root, or an address
        const std::string target = arg.find("://") == std::string::npos ? Short(g_root) + arg : arg;
        Record(Short(g_root) + "shell-open.exe \"" + target + "\" @ " + Short(g_root) + "\r\n");
    } else if (op == "signalled") {  // CLASS|TITLE: the game's window took the peer message
        Record("signalled " + arg + "\r\n");
    } else if (op == "repeat") {  // N: the scenario runs N times, each on a fresh stage (main)
    } else if (op == "is") {
        Await([&] { return Read(first); }, rest, first);
    } else if (op == "gone") {
        Await([&] { return std::to_string(fs::exists(P(arg))); }, "0", arg + " exists");
    } else if (op == "tree") {
        Files want = arg[0] == '=' ? g.snapshot[g_temp] : Files();
        if (arg.find("vok.exe") != std::string::npos) {
            want["vok.exe"] = Read(g_root + "vok.exe");
        }
        CheckTree(want);
    } else if (op == "league") {  // each creature's path names a folder holding data\ply
        const std::string league = Expand(Read(g_here + arg)), temp = Short(g_temp);
        Check(Read(g_root + "league.dat") == league, "the league the game found");
        Files want = {{"vok.exe", Read(g_root + "vok.exe")}, {"vokleague.dat", league}};
        for (size_t at = 0; (at = league.find(".path = " + temp, at)) != std::string::npos;) {
            at += 8 + temp.size();
            const std::string folder = league.substr(at, league.find('/', at) - at) + "\\";
            want[folder] = "";
            for (const auto& file : Tree(g_root + "data\\ply\\")) {
                want[folder + file.first] = file.second;
            }
        }
        CheckTree(want);
    } else if (op == "put") {
        fs::create_directories(P(first).parent_path());
        Check(bool(std::ofstream(P(first), std::ios::binary) << rest), "write " + first);
    } else if (op == "ro") {
        fs::permissions(P(arg), fs::perms::owner_write, fs::perm_options::remove);
    } else if (op == "rm") {
        fs::remove(P(arg));
    } else if (op == "lock" || op == "unlock") {  // held open without sharing, or let go
        const std::string file = arg.substr(Short(g_temp).size());
        if (op == "lock") {     // it stays, unreadable, until let go or the scenario ends
            g.kept[file] = "";  // unreadable while held
            g.handles.push_back(
                CreateFileW(P(arg).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            g.locks[file] = g.handles.back();
        } else {
            CloseHandle(g.locks[file]);
            g.handles.erase(std::find(g.handles.begin(), g.handles.end(), g.locks[file]));
            g.kept.erase(file);
        }
    } else if (op == "ddraw") {  // both (entry points), no-create, no-create-ex, fail, off
        SetEnvironmentVariableA("VOK_DDRAW_FAIL", arg == "fail" ? "1" : nullptr);
        // Wine loads its own ddraw unless told otherwise; an empty override: none at all.
        Swap(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VokLauncher.exe\\DllOverrides",
             "ddraw", arg == "off" ? "" : "native");
        fs::copy_file(
            P(g_here + "standins\\ddraw\\" + (arg[0] == 'n' ? arg : "both") + "\\DDRAW.DLL"),
            P(g_root + "DDRAW.DLL"), fs::copy_options::overwrite_existing);
    } else if (op == "temp") {  // NAME: that folder in the base; LENGTH: a path that long
        g.snapshot[g_temp] = Tree(g_temp);
        for (g_temp = g_base + (isdigit(arg[0]) ? "deep" : arg) + "\\";
             isdigit(arg[0]) && g_temp.size() < stoul(arg);) {
            g_temp += std::string(std::min<size_t>(99, stoul(arg) - g_temp.size() - 1), 'd') + "\\";
        }
        fs::create_directories(P(g_temp));
    } else if (op == "root") {  // NAME: the data root moves to that folder in the base
        fs::rename(P(g_base + "root"), P(g_root = g_base + arg + "\\"));
    } else if (op == "shot") {  // with VOK_GUI_SHOTS naming a folder
        if (!g_shots.empty()) {
            Shot(g.window, g_shots + arg + ".png");
        }
    } else {
        Check(false, "unknown step " + op);
    }
}

void Script(const std::string& script) {
    std::istringstream commands(script);
    for (std::string command; std::getline(commands, command, ';');) {
        std::istringstream words(command);
        std::string op, arg;
        if (words >> op) {
            Exec(op, Expand(std::getline(words >> std::ws, arg) ? arg : ""));
        }
    }
}

// Ends what the last scenario started and held, and stages the next one.
void Reset() {
    TerminateJobObject(g_job, 1);
    for (const WORD key : g.held) {
        keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    }
    std::for_each(g.handles.begin(), g.handles.end(), CloseHandle);
    g = Scenario();
    std::error_code failed;
    Until([&] {  // the ended programs let go of their files in a moment
        for (const auto& entry : fs::recursive_directory_iterator(P(g_base), failed)) {
            fs::permissions(entry, fs::perms::owner_write, fs::perm_options::add, failed);
        }
        fs::remove_all(P(g_base), failed);
        return !failed;
    });
    Check(!failed, "remove " + g_base + ": " + failed.message());
    fs::create_directories(P(g_temp = g_base + "tmp\\"));
    fs::copy(P(g_here + "root"), P(g_root = g_base + "root\\"), fs::copy_options::recursive);
    Exec("ddraw", "both");
}

}  // namespace

int main(int argc, char** argv) {
    g_here = fs::current_path().u8string() + "\\";  // ctest runs it in its build folder
    const char* shots = getenv("VOK_GUI_SHOTS");    // a Unix folder, so one on Wine's drive Z:
    g_shots = shots ? std::string("Z:") + shots + "/" : "";
    g_base = (fs::temp_directory_path() / "vokgui").u8string() + "\\";
    g_root = g_base + "root\\";
    MeasureDialogs();  // what it throws ends the run
    g_job = CreateJobObjectW(nullptr, nullptr);
    g_debugReady = CreateEventA(nullptr, FALSE, TRUE, "DBWIN_BUFFER_READY");
    g_debugData = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    g_debugText = static_cast<const char*>(MapViewOfFile(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER"),
        FILE_MAP_READ, 0, 0, 0));
    // Wine's shell reads only HKLM's classes: the licence document and the web
    // address go to the recorder instead of an editor and a browser.
    const std::string classes = "Software\\Classes\\", open = "\\shell\\open\\command";
    const std::string handler = "\"" + g_root + "shell-open.exe\" \"%1\"";
    Swap(HKEY_LOCAL_MACHINE, classes + "VokGuiDoc" + open, nullptr, handler);
    const std::string oldText = Swap(HKEY_LOCAL_MACHINE, classes + ".txt", nullptr, "VokGuiDoc");
    const std::string oldHttps =
        Swap(HKEY_LOCAL_MACHINE, classes + "https" + open, nullptr, handler);
    const LANGID layout = LOWORD(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(0)));
    g_language = PRIMARYLANGID(layout) == LANG_GERMAN ? "german" : "english";
    std::ifstream file(P(g_here + "scenarios.txt"));
    const auto scenarios = words::Scenarios(file);
    int passed = 0, failed = 0;
    for (const auto& [name, script] : scenarios) {
        if ((name.find("German") == std::string::npos) == (g_language == "german") ||
            name.find(argc > 1 ? argv[1] : "") == std::string::npos) {
            continue;
        }
        const DWORD start = GetTickCount();
        const size_t repeat = script.find("repeat ");
        int rounds = repeat == std::string::npos ? 1 : stoi(script.substr(repeat + 7)), round = 0;
        // A hung Wine server stops this program too: scripts/gui-run.sh holds the
        // scenario to this limit from outside Wine (a failed 20 s wait ends a round).
        printf("---- %s (limit %d s)\n", name.c_str(), 50 + 10 * rounds);
        fflush(stdout);
        std::string error;
        try {
            for (; round < rounds; ++round) {
                Reset();
                Script(script);
                Await([] { return Read(g_root + "log.txt").substr(g.logUsed); }, "",
                      "what else the stand-ins recorded");
            }
        } catch (const std::exception& e) {
            error = "\n     " + std::string(e.what()) +
                    (rounds > 1 ? " (round " + std::to_string(round + 1) + ")" : "");
        }
        printf("%s %s (%.1f s)%s\n", error.empty() ? "ok  " : "FAIL", name.c_str(),
               (GetTickCount() - start) / 1000.0, error.c_str());
        fflush(stdout);
        ++(error.empty() ? passed : failed);
    }
    TerminateJobObject(g_job, 1);
    Swap(HKEY_LOCAL_MACHINE, classes + ".txt", nullptr, oldText);
    Swap(HKEY_LOCAL_MACHINE, classes + "https" + open, nullptr, oldHttps);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VokLauncher.exe");
    printf("%d passed, %d failed\n", passed, failed);
    return failed > 0 || passed == 0;
}
