// Runs the scenarios of scenarios.txt (see README.md) against the real launcher
// under Wine. "vok_gui_tests NAME", in its build folder, runs the scenario
// NAME, under a German keyboard layout (which Wine derives from the Unix
// LC_ALL) one whose name mentions German.
#include <windows.h>

#include <shellapi.h>

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

#include "scenario/Engine.h"

// The numbers Windows gives, written once in the scenarios' words.
static_assert(vok::scenario::kIdRetry == IDRETRY && vok::scenario::kIdYes == IDYES &&
              vok::scenario::kIdNo == IDNO);
static_assert(vok::scenario::kVkEnter == VK_RETURN && vok::scenario::kVkShift == VK_SHIFT &&
              vok::scenario::kVkControl == VK_CONTROL && vok::scenario::kVkEscape == VK_ESCAPE &&
              vok::scenario::kScClose == SC_CLOSE);

namespace {

namespace words = vok::scenario;

namespace fs = std::filesystem;
using words::Files;

struct Scenario {
    std::vector<HANDLE> launchers, handles;   // the handles are closed when the scenario ends
    std::map<DWORD, std::string> seen;        // by process id: the kinds of window shown
    HWND window = nullptr, spent = nullptr;   // acted on; clicked last, and maybe still closing
    words::Window kind = words::Window::Any;  // the kind of the window acted on
    std::vector<WORD> held;
    std::map<std::string, HANDLE> locks;  // the locked files' handles, by path
    size_t current = 0, logUsed = 0;
} g;
HANDLE g_job;  // every launcher and what it starts
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

Files Tree(const std::string& folder) {  // by relative path with '/'; a folder's ends in '/'
    Files tree;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(P(folder), missing)) {
        std::string path = entry.path().u8string().substr(folder.size());
        std::replace(path.begin(), path.end(), '\\', '/');
        tree[path + (entry.is_directory() ? "/" : "")] = Read(entry.path().u8string());
    }
    return tree;
}

std::string Line(int n) {
    std::istringstream file(Read(g_root + "data\\language\\" + g_language + ".txt"));
    std::string line;
    for (int i = 0; i <= n && std::getline(file, line); ++i) {
    }
    return file ? line.substr(0, line.find('\r')) : "<error>";
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
        if (done() || GetTickCount() - start > timeoutMs) {
            return done();
        }
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

// The real launcher under Wine as the scenarios' stage: it acts through Win32
// messages on the launcher window it found last, and reads what the stand-ins
// recorded. Every look is a bounded poll (Until).
class WineStage final : public words::Stage {
public:
    std::string Line(int n) override { return ::Line(n); }
    // %R the data root, where the stand-ins leave their records, %T the
    // launcher's temporary folder (each with its backslash, by the short name
    // where Wine made one up: the ANSI calls' name), %L its long name.
    std::vector<std::string> Folders() override { return {Short(g_root), Short(g_temp), g_temp}; }
    bool Until(const std::function<bool()>& done) override { return ::Until(done); }
    words::Window Front() override { return g.window ? g.kind : words::Window::Any; }
    bool Find(words::Window window) override {
        g.window = nullptr;
        EnumWindows(Note, static_cast<LPARAM>(window));
        return g.window != nullptr;
    }
    std::string Exit() override {
        DWORD code = 0;
        return g.launchers.empty() ? "not started"
               : !GetExitCodeProcess(g.launchers[g.current], &code) || code == STILL_ACTIVE
                   ? "running"
                   : std::to_string(int(code));
    }
    std::string Seen() override {
        const std::string& seen = g.seen[GetProcessId(g.launchers.at(g.current))];
        return seen.substr(std::min<size_t>(1, seen.size()));
    }
    std::optional<std::string> Read(const std::string& path) override {
        return fs::exists(P(path)) ? std::optional(::Read(path)) : std::nullopt;
    }
    Files Tree(const std::string& folder) override { return ::Tree(folder); }
    std::string GameFound() override { return ::Read(g_root + "league.dat"); }

    // [N]: that many launchers at once, from the driver's folder.
    std::string Start(const std::string& count) override {
        // Wine takes TMP and TEMP from its registry, not from the Unix environment;
        // a wide block keeps the letters the ANSI code page lacks.
        SetEnvironmentVariableW(L"TMP", P(g_temp).c_str());
        SetEnvironmentVariableW(L"TEMP", P(g_temp).c_str());
        const std::wstring exe = P(g_root + "VokLauncher.exe");
        wchar_t* environment = GetEnvironmentStringsW();
        std::vector<HANDLE> threads;  // all suspended until the last one exists
        for (int n = count.empty() ? 1 : stoi(count); n > 0;
             --n, g.current = g.launchers.size() - 1) {
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
        return "";
    }

    std::optional<std::string> Control(char what, int id) override {
        HWND item = id ? GetDlgItem(g.window, id) : g.window;
        return !g.window || !item      ? std::nullopt
               : what == 't'           ? std::optional(Text(g.window, id))
               : what == 'l'           ? std::to_string(SendMessageA(item, EM_GETLIMITTEXT, 0, 0))
               : IsWindowEnabled(item) ? "enabled"
                                       : "disabled";
    }

    std::string Act(const std::string& verb, const words::Word& word,
                    const std::string& text) override {
        HWND item = GetDlgItem(g.window, word.id);
        if (verb == "type") {  // as a paste puts it there
            return item && SetWindowTextA(item, text.c_str()) ? "" : "cannot type there";
        }
        if (verb == "press") {  // a key, once, into the dialog's control that has the focus
            GUITHREADINFO thread = {};
            thread.cbSize = sizeof thread;
            GetGUIThreadInfo(GetWindowThreadProcessId(g.window, nullptr), &thread);
            HWND focus = IsChild(g.window, thread.hwndFocus) ? thread.hwndFocus : g.window;
            g.spent = g.window;
            return PostMessageA(focus, WM_KEYDOWN, word.id, 0) ? "" : "cannot press it";
        }
        if (verb != "click" && verb != "answer") {
            return "unknown step";
        }
        // Posted, for it may open a modal window; the close box is the dialog's own.
        const bool posted = word.id == words::kScClose
                                ? PostMessageA(g.window, WM_SYSCOMMAND, word.id, 0)
                                : IsWindowVisible(item) && IsWindowEnabled(item) &&
                                      PostMessageA(item, BM_CLICK, 0, 0);
        g.spent = g.window;
        return posted ? "" : "cannot click it";
    }

    // The next record of the stand-ins, which write in the scenarios' words.
    std::optional<std::string> Event(bool take) override {
        const std::string log = ::Read(g_root + "log.txt");
        const size_t end = log.find("\r\n", g.logUsed);
        const std::string record = log.substr(g.logUsed, end - g.logUsed);
        g.logUsed = take && end != std::string::npos ? end + 2 : g.logUsed;
        return end == std::string::npos ? std::nullopt : std::optional(record);
    }

    // The steps of this suite alone; "" when done, else why not.
    std::string Other(const std::string& op, const std::string& arg, const std::string&) override {
        const std::string first = arg.substr(0, arg.find(' '));
        const std::string rest = arg.size() > first.size() ? arg.substr(first.size() + 1) : "";
        if (op == "hold") {
            std::istringstream keys(arg);
            for (std::string key; keys >> key;) {
                const words::Word* word = words::Find(words::Window::Held, key);
                Check(word != nullptr, "no key " + key);
                g.held.push_back(static_cast<WORD>(word->id));
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
            } while (::Until(
                         [] {
                             return std::any_of(g.held.begin(), g.held.end(), [](WORD key) {
                                 return GetAsyncKeyState(key) >= 0;
                             });
                         },
                         150) &&
                     ++attempts < 20);
            return attempts < 20 ? "" : "the keys do not stay down";
        } else if (op == "rest") {  // CODE: every other launcher ended so, having shown nothing
            const size_t current = g.current;
            for (g.current = 0; g.current < g.launchers.size(); ++g.current) {
                if (g.current != current &&
                    !::Until([&] { return Exit() == arg && Seen().empty(); })) {
                    return "launcher " + std::to_string(g.current) + " ended " + Exit() +
                           " having shown \"" + Seen() + "\"";
                }
            }
            g.current = current;
        } else if (op == "repeat") {  // N: the scenario runs N times, each on a fresh stage (main)
        } else if (op == "put") {
            fs::create_directories(P(first).parent_path());
            Check(bool(std::ofstream(P(first), std::ios::binary) << rest), "write " + first);
        } else if (op == "ro") {
            fs::permissions(P(arg), fs::perms::owner_write, fs::perm_options::remove);
        } else if (op == "rm" || op == "mkdir") {
            op == "rm" ? void(fs::remove(P(arg))) : void(fs::create_directories(P(arg)));
        } else if (op == "lock") {  // it stays, unreadable, until let go or the scenario ends
            g.handles.push_back(
                CreateFileW(P(arg).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            g.locks[arg] = g.handles.back();
        } else if (op == "unlock") {
            CloseHandle(g.locks[arg]);
            g.handles.erase(std::find(g.handles.begin(), g.handles.end(), g.locks[arg]));
        } else if (op == "ddraw") {  // both (entry points), no-create, no-create-ex, fail, off
            SetEnvironmentVariableA("VOK_DDRAW_FAIL", arg == "fail" ? "1" : nullptr);
            // Wine loads its own ddraw unless told otherwise; an empty override: none at all.
            Swap(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VokLauncher.exe\\DllOverrides",
                 "ddraw", arg == "off" ? "" : "native");
            fs::copy_file(
                P(g_here + "standins\\ddraw\\" + (arg[0] == 'n' ? arg : "both") + "\\DDRAW.DLL"),
                P(g_root + "DDRAW.DLL"), fs::copy_options::overwrite_existing);
        } else if (op == "temp") {  // NAME: that folder in the base; LENGTH: a path that long
            for (g_temp = g_base + (isdigit(arg[0]) ? "deep" : arg) + "\\";
                 isdigit(arg[0]) && g_temp.size() < stoul(arg);) {
                g_temp +=
                    std::string(std::min<size_t>(99, stoul(arg) - g_temp.size() - 1), 'd') + "\\";
            }
            std::error_code file;  // a file of that name stays one
            fs::create_directories(P(g_temp), file);
        } else if (op == "root") {  // NAME: the data root moves to that folder in the base
            fs::rename(P(g_base + "root"), P(g_root = g_base + arg + "\\"));
        } else if (op == "shot") {  // with VOK_GUI_SHOTS naming a folder
            if (!g_shots.empty()) {
                Shot(g.window, g_shots + arg + ".png");
            }
        } else {
            return "unknown step";
        }
        return "";
    }
};

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
    WineStage().Other("ddraw", "both", "");
}

}  // namespace

int main() {
    g_here = fs::current_path().u8string() + "\\";  // ctest runs it in its build folder
    const char* shots = getenv("VOK_GUI_SHOTS");    // a Unix folder, so one on Wine's drive Z:
    g_shots = shots ? std::string("Z:") + shots + "/" : "";
    g_base = (fs::temp_directory_path() / "vokgui").u8string() + "\\";
    g_root = g_base + "root\\";
    MeasureDialogs();  // what it throws ends the run
    g_job = CreateJobObjectW(nullptr, nullptr);
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
    // The scenario the command line names (ctest runs one a test), read from
    // the wide command line, which keeps letters the ANSI code page lacks.
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::string name = count > 1 ? fs::path(args[1]).u8string() : "";
    std::ifstream file(P(g_here + "scenarios.txt"));
    std::string error = "no scenario named \"" + name + "\"";
    for (const auto& [found, script] : words::Scenarios(file)) {
        if (found != name) {
            continue;
        }
        const size_t repeat = script.find("repeat ");
        int rounds = repeat == std::string::npos ? 1 : stoi(script.substr(repeat + 7)), round = 0;
        try {
            for (error.clear(); round < rounds; ++round) {
                Reset();
                WineStage stage;
                error = words::Engine(stage, script, g_here).Run();
                Check(error.empty(), error);
            }
        } catch (const std::exception& e) {
            error = e.what() + (rounds > 1 ? " (round " + std::to_string(round + 1) + ")" : "");
        }
    }
    TerminateJobObject(g_job, 1);
    Swap(HKEY_LOCAL_MACHINE, classes + ".txt", nullptr, oldText);
    Swap(HKEY_LOCAL_MACHINE, classes + "https" + open, nullptr, oldHttps);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VokLauncher.exe");
    printf("%s\n", error.empty() ? "ok" : error.c_str());
    return !error.empty();
}
