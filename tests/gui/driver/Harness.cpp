#include "Harness.h"

#include "Report.h"
#include "Win32Ui.h"

namespace gui {

namespace {

const char kLanguageFolder[] = "data\\language";

std::string OverrideKey() {
    return std::string("Software\\Wine\\AppDefaults\\") + kLauncherExe + "\\DllOverrides";
}

}  // namespace

Config& Settings() {
    static Config config;
    return config;
}

const char* DdrawName(Ddraw variant) {
    switch (variant) {
        case Ddraw::Success:
            return "success";
        case Ddraw::Off:
            return "off";
        case Ddraw::NoCreate:
            return "no-create";
        case Ddraw::NoCreateEx:
            return "no-create-ex";
        case Ddraw::CreateExFails:
            return "create-ex-fails";
    }
    return "?";
}

Stage::Stage(const std::string& name, Ddraw ddraw) {
    const Config& config = Settings();
    if (config.launcher.empty()) {
        Skip("the launcher is not built");
    }
    const std::string base = Join(config.work, name);
    GUI_REQUIRE(RemoveTree(base), "remove the previous run's folder " + base);
    root_ = Join(base, "root");
    temp_ = Join(base, "temp") + "\\";
    records_ = Join(base, "records");
    GUI_REQUIRE(MakeFolders(temp_.substr(0, temp_.size() - 1)) && MakeFolders(records_),
                "create the temporary and records folders under " + base);
    GUI_REQUIRE(CopyTree(config.sample, root_), "copy the sample data root " + config.sample);
    GUI_REQUIRE(CopyTree(config.launcher, Root(kLauncherExe)),
                "copy the launcher " + config.launcher);
    GUI_REQUIRE(CopyTree(Join(config.standins, "vok.exe"), Root("vok.exe")) &&
                    MakeFolders(Root("DirectX8")) &&
                    CopyTree(Join(config.standins, "DXSETUP.EXE"), Root("DirectX8\\DXSETUP.EXE")) &&
                    MakeFolders(Root("demo")) &&
                    CopyTree(Join(config.standins, "Zantovid.exe"), Root("demo\\Zantovid.exe")) &&
                    WriteBytes(Root("demo\\vok.avi"), "RIFF stand-in video"),
                "copy the stand-in programs from " + config.standins);

    // Wine loads its builtin ddraw unless told otherwise, and whether that one
    // can create a DirectDraw 7 object depends on the X server. Every case
    // therefore picks the library the probe meets.
    if (ddraw == Ddraw::Off) {
        override_.reset(new ScopedRegistryValue(HKEY_CURRENT_USER, OverrideKey(), "ddraw", ""));
    } else {
        const std::string dll =
            Join(Join(Join(config.standins, "ddraw"), DdrawName(ddraw)), "DDRAW.DLL");
        GUI_REQUIRE(CopyTree(dll, Root("DDRAW.DLL")), "copy the stand-in library " + dll);
        override_.reset(
            new ScopedRegistryValue(HKEY_CURRENT_USER, OverrideKey(), "ddraw", "native"));
    }
    GUI_REQUIRE(override_->Ok(), "set the DLL override for " + std::string(kLauncherExe));
}

Stage::~Stage() {
    // The launcher, not the driver, starts the game: find it by its window.
    for (int i = 0; i < 5; ++i) {
        HWND game = FindGameWindow();
        if (game == nullptr) {
            break;
        }
        CloseWindowProcess(game, kExitTimeoutMs);
    }
}

std::string Stage::Language(const std::string& file) const {
    return Join(Root(kLanguageFolder), file);
}

std::map<std::string, std::string> Stage::Environment() const {
    return {
        {"TMP", temp_},
        {"TEMP", temp_},
        {"VOK_GUI_RECORDS", records_},
        {"VOK_GUI_GAME_LIFETIME_MS", "60000"},
    };
}

std::vector<std::string> LanguageLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t pos = 0;
    for (;;) {
        const size_t end = bytes.find('\n', pos);
        std::string line =
            bytes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (end != std::string::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        if (end == std::string::npos) {
            break;
        }
        pos = end + 1;
    }
    return lines;
}

std::string LanguageLine(const std::vector<std::string>& lines, size_t n) {
    return n < lines.size() ? lines[n] : "<error>";
}

bool Record::Has(const std::string& eventPrefix) const {
    return Count(eventPrefix) > 0;
}

size_t Record::Count(const std::string& eventPrefix) const {
    size_t count = 0;
    for (const std::string& event : events) {
        if (event.compare(0, eventPrefix.size(), eventPrefix) == 0) {
            ++count;
        }
    }
    return count;
}

Record ReadRecord(const std::string& path) {
    Record record;
    std::string bytes;
    ReadBytes(path, bytes);
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            break;  // a line still being written
        }
        const std::string line = bytes.substr(pos, end - pos);
        pos = end + 2;
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (key == "start") {
            record.starts.emplace_back();
        }
        if (!record.starts.empty()) {
            StartRecord& start = record.starts.back();
            if (key == "args") {
                start.args = value;
            } else if (key == "cmdline") {
                start.cmdline = value;
            } else if (key == "cwd") {
                start.cwd = value;
            } else if (key == "temp") {
                start.temp = value;
            } else if (key == "league" && value != "none") {
                const size_t size = strtoul(value.c_str(), nullptr, 10);
                if (pos + size + 2 > bytes.size()) {
                    break;
                }
                start.leagueFound = true;
                start.league = bytes.substr(pos, size);
                pos += size + 2;
            }
        }
        if (key != "args" && key != "cmdline" && key != "cwd" && key != "temp") {
            record.events.push_back(line);
        }
    }
    return record;
}

bool WaitForRecord(const std::string& path, const std::string& eventPrefix, DWORD timeoutMs,
                   Record& record) {
    return WaitUntil(timeoutMs, [&] {
        record = ReadRecord(path);
        return record.Has(eventPrefix);
    });
}

const std::vector<int>& MainMenuIds() {
    static const std::vector<int> ids = {kPractice, kSingleMatch, kNewLeague, kLoadLeague, kDemo,
                                         kCredits,  kDirectX,     kLicence,   kWebSite,    kCancel};
    return ids;
}

Launcher::Launcher(const Stage& stage) {
    const std::string exe = stage.Root(kLauncherExe);
    // Started from another folder, so the launcher has to find its data root
    // from its own location, as when a player starts it from a shortcut.
    GUI_REQUIRE(process_.Start(exe, "", Settings().work, stage.Environment()),
                Format("start %s (error %lu)", exe.c_str(), GetLastError()));
}

HWND Launcher::WaitForMenu(DWORD timeoutMs) {
    HWND menu = nullptr;
    WaitUntil(timeoutMs, [&] {
        menu = FindDialog(process_.Pid(), MainMenuIds());
        return menu != nullptr || !process_.Running();
    });
    return menu;
}

DWORD Launcher::ExpectExit(DWORD timeoutMs) {
    DWORD code = 0;
    GUI_REQUIRE(process_.WaitExit(timeoutMs, code), "the launcher ends");
    return code;
}

std::string FreshFolder(const std::string& name) {
    const std::string folder = Join(Settings().work, name);
    GUI_REQUIRE(RemoveTree(folder) && MakeFolders(folder), "make a fresh folder " + folder);
    return folder;
}

HWND FindGameWindow() {
    return FindWindowA("VOK ", nullptr);
}

bool ReadOnlyIgnored(const std::string& scratchFolder) {
    const std::string target = Join(scratchFolder, "read-only-probe.txt");
    const std::string source = Join(scratchFolder, "read-only-probe-source.txt");
    RemoveTree(target);
    WriteBytes(target, "old");
    WriteBytes(source, "new");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool replaced = CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
    RemoveTree(target);
    RemoveTree(source);
    return replaced;
}

}  // namespace gui
