// Collects what programs write with OutputDebugStringA while no debugger is
// attached: the system-wide "DBWIN" monitor protocol, which Windows and Wine
// both implement. Only one such monitor can run at a time.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace gui {

class DebugTextMonitor {
public:
    DebugTextMonitor();
    ~DebugTextMonitor();
    DebugTextMonitor(const DebugTextMonitor&) = delete;
    DebugTextMonitor& operator=(const DebugTextMonitor&) = delete;

    // False when the monitor's objects could not be made (another monitor runs).
    bool Ok() const { return thread_ != nullptr; }
    // Every text that process `pid` has written so far, in order. A writer's
    // call returns once its text is in the shared buffer and the monitor takes
    // it a moment later: read the texts a program wrote before showing a
    // window only after that window is seen.
    std::vector<std::string> TextsOf(DWORD pid);

private:
    static DWORD WINAPI Run(void* self);
    void Loop();

    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    HANDLE mapping_ = nullptr;
    const char* view_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    std::vector<std::pair<DWORD, std::string>> texts_;
};

}  // namespace gui
