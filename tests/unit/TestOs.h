#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/Os.h"

namespace vok::test {

// A fresh, empty folder in the system's temporary directory for one test,
// removed with everything in it afterwards. Its path ends in '/'.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Small file helpers for assertions; they bypass the seam.
std::string ReadFile(const std::string& path);  // "" when missing
void WriteFile(const std::string& path, const std::string& contents);
bool Exists(const std::string& path);
void MakeReadOnly(const std::string& path);

// The operating-system seam for tests: the system's own calls, with the
// temporary directory and the keyboard layout under the test's control, and
// failures injected on demand. Each operation counts its calls from 1.
class TestOs final : public Os {
public:
    enum class Op {
        TempPath,
        Read,
        Write,
        Replace,
        CanOpen,
        List,
        Copy,
        SetNormal,
        MakeFolder,
        RemoveFolder,
        RemoveFile
    };

    TestOs();

    // The temporary directory TempPath reports; empty makes TempPath fail.
    void SetTempDir(const std::string& dir) { tempDir_ = dir; }
    void SetLangId(unsigned short langId) { langId_ = langId; }

    // Makes call number `nth` of `op` fail; with `sticky`, every later call too.
    void FailCall(Op op, int nth, bool sticky = false);
    // Makes every call of `op` on a path containing `fragment` fail.
    void FailPath(Op op, const std::string& fragment);
    // Fails the first call, of any operation that takes a path, that happens
    // after `n` such calls have succeeded; 0 means no failure. Used to walk a
    // failure through every step of a flow in turn.
    void FailAfter(int n) { failAfter_ = n; }
    bool Failed() const { return failed_; }
    int Calls(Op op) const;
    void ClearFaults();

    bool TempPath(char* buffer, std::size_t size) override;
    ReadResult ReadWholeFile(const char* path, std::string& contents) override;
    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override;
    bool MoveReplace(const char* from, const char* to) override;
    bool CanOpen(const char* path) override;
    bool ListFolder(const char* folder, std::vector<std::string>& names) override;
    bool CopyFileOver(const char* from, const char* to) override;
    bool SetNormalAttributes(const char* path) override;
    bool MakeFolder(const char* path) override;
    bool RemoveEmptyFolder(const char* path) override;
    bool RemoveFile(const char* path) override;
    unsigned short KeyboardLangId() override { return langId_; }

private:
    // Counts the call and says whether it is to fail.
    bool Fails(Op op, const char* path);

    Os& inner_;
    std::string tempDir_;
    unsigned short langId_ = 0x0409;
    std::map<Op, int> calls_;
    std::map<Op, std::pair<int, bool>> failCalls_;
    std::multimap<Op, std::string> failPaths_;
    int failAfter_ = 0;
    int pathCalls_ = 0;
    bool failed_ = false;
};

}  // namespace vok::test
