#include "TestOs.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace vok::test {

namespace {

void MakeWritableTree(const fs::path& root) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
    }
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    char base[512];
    SystemOs().TempPath(base, sizeof base);
    std::ostringstream name;
    name << base << "voktest-" << getpid() << "-" << counter++;
    std::error_code error;
    fs::remove_all(name.str(), error);
    fs::create_directories(name.str());
    path_ = name.str() + "/";
}

TempFolder::~TempFolder() {
    std::error_code error;
    MakeWritableTree(path_);
    fs::remove_all(path_, error);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string CreatureFolder(int player, int vok) {
    return "p" + std::to_string(player) + "_vok" + std::to_string(vok);
}

const char* OpName(TestOs::Op op) {
    static const char* const kNames[] = {
        "TempPath", "Read",      "Write",      "Replace",      "CanOpen",    "List",
        "Copy",     "SetNormal", "MakeFolder", "RemoveFolder", "RemoveFile", "CurrentFolder"};
    return kNames[static_cast<int>(op)];
}

TestOs::TestOs() : inner_(SystemOs()) {}

void TestOs::FailCall(Op op, int nth, bool sticky) {
    failCalls_[op] = {nth, sticky};
}

void TestOs::FailPath(Op op, const std::string& fragment) {
    failPaths_.emplace(op, fragment);
}

int TestOs::Calls(Op op) const {
    auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
}

void TestOs::ClearFaults() {
    failCalls_.clear();
    failPaths_.clear();
    failAfter_ = 0;
    pathCalls_ = 0;
    failed_ = false;
}

bool TestOs::Fails(Op op, const char* path) {
    int call = ++calls_[op];
    bool fail = false;
    auto rule = failCalls_.find(op);
    if (rule != failCalls_.end()) {
        fail = call == rule->second.first || (rule->second.second && call > rule->second.first);
    }
    auto range = failPaths_.equal_range(op);
    for (auto it = range.first; it != range.second && path; ++it) {
        fail = fail || std::string(path).find(it->second) != std::string::npos;
    }
    if (path && failAfter_ > 0 && !failed_ && ++pathCalls_ > failAfter_) {
        fail = true;
    }
    if (path && op != Op::CurrentFolder) {
        pathLog_.push_back({op, path, fail && !failed_});
    }
    failed_ = failed_ || fail;
    return fail;
}

bool TestOs::TempPath(char* buffer, std::size_t size) {
    if (size > 0) {
        buffer[0] = '\0';
    }
    if (Fails(Op::TempPath, nullptr) || tempDir_.empty() || tempDir_.size() + 1 > size) {
        return false;
    }
    std::snprintf(buffer, size, "%s", tempDir_.c_str());
    return true;
}

ReadResult TestOs::ReadWholeFile(const char* path, std::string& contents) {
    if (Fails(Op::Read, path)) {
        contents.clear();
        return ReadResult::Failed;
    }
    return inner_.ReadWholeFile(path, contents);
}

bool TestOs::WriteWholeFile(const char* path, const void* data, std::size_t size) {
    if (Fails(Op::Write, path)) {
        // A failed write may leave a part of the file behind, as a full disk does.
        inner_.WriteWholeFile(path, data, size / 2);
        return false;
    }
    return inner_.WriteWholeFile(path, data, size);
}

bool TestOs::MoveReplace(const char* from, const char* to) {
    return !Fails(Op::Replace, to) && inner_.MoveReplace(from, to);
}

bool TestOs::CanOpen(const char* path) {
    return !Fails(Op::CanOpen, path) && inner_.CanOpen(path);
}

bool TestOs::ListFolder(const char* folder, std::vector<std::string>& names) {
    if (Fails(Op::List, folder)) {
        names.clear();
        return false;
    }
    return inner_.ListFolder(folder, names);
}

bool TestOs::CopyFileOver(const char* from, const char* to) {
    return !Fails(Op::Copy, to) && inner_.CopyFileOver(from, to);
}

bool TestOs::SetNormalAttributes(const char* path) {
    return !Fails(Op::SetNormal, path) && inner_.SetNormalAttributes(path);
}

bool TestOs::MakeFolder(const char* path) {
    return !Fails(Op::MakeFolder, path) && inner_.MakeFolder(path);
}

bool TestOs::RemoveEmptyFolder(const char* path) {
    return !Fails(Op::RemoveFolder, path) && inner_.RemoveEmptyFolder(path);
}

bool TestOs::RemoveFile(const char* path) {
    return !Fails(Op::RemoveFile, path) && inner_.RemoveFile(path);
}

bool TestOs::ExecutableFolder(char* buffer, std::size_t size) {
    if (!exeFolder_) {
        return inner_.ExecutableFolder(buffer, size);
    }
    if (size > 0) {
        buffer[0] = '\0';
    }
    if (exeFolder_->empty() || exeFolder_->size() + 1 > size) {
        return false;
    }
    std::snprintf(buffer, size, "%s", exeFolder_->c_str());
    return true;
}

bool TestOs::SetCurrentFolder(const char* path) {
    currentFolders_.emplace_back(path);
    return !Fails(Op::CurrentFolder, path) && inner_.SetCurrentFolder(path);
}

bool TestOs::ShellOpen(WindowHandle owner, const char* verb, const char* file,
                       const char* parameters, const char* directory) {
    ShellCall call{owner, std::nullopt, file ? file : "", parameters ? parameters : "",
                   directory ? directory : ""};
    if (verb) {
        call.verb = verb;
    }
    shellCalls_.push_back(call);
    return shellOk_;
}

unsigned short TestOs::AsyncKeyState(Key key) {
    auto it = keys_.find(key);
    return it == keys_.end() ? 0 : it->second;
}

WindowHandle TestOs::AddWindow(const std::string& className, const std::string& title) {
    windows_.push_back({className, title});
    return reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(windows_.size()));
}

WindowHandle TestOs::FindTopWindow(const char* className, const char* title) {
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if ((!className || windows_[i].className == className) &&
            (!title || windows_[i].title == title)) {
            return reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(i + 1));
        }
    }
    return nullptr;
}

bool TestOs::PostToWindow(WindowHandle window, unsigned message) {
    posts_.emplace_back(window, message);
    return window != nullptr;
}

bool TestOs::BringToFront(WindowHandle window) {
    fronts_.push_back(window);
    return window != nullptr;
}

}  // namespace vok::test
