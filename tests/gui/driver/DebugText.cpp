#include "DebugText.h"

namespace gui {

namespace {
const DWORD kBufferSize = 4096;
}

DebugTextMonitor::DebugTextMonitor() {
    InitializeCriticalSection(&lock_);
    bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    const bool fresh = GetLastError() != ERROR_ALREADY_EXISTS;
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize,
                                  "DBWIN_BUFFER");
    if (mapping_ != nullptr) {
        view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    }
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (fresh && bufferReady_ != nullptr && dataReady_ != nullptr && view_ != nullptr &&
        stop_ != nullptr) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
}

DebugTextMonitor::~DebugTextMonitor() {
    if (thread_ != nullptr) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
    if (view_ != nullptr) {
        UnmapViewOfFile(view_);
    }
    for (HANDLE handle : {mapping_, bufferReady_, dataReady_, stop_}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    DeleteCriticalSection(&lock_);
}

std::vector<std::string> DebugTextMonitor::TextsOf(DWORD pid) {
    std::vector<std::string> texts;
    EnterCriticalSection(&lock_);
    for (const auto& entry : texts_) {
        if (entry.first == pid) {
            texts.push_back(entry.second);
        }
    }
    LeaveCriticalSection(&lock_);
    return texts;
}

DWORD WINAPI DebugTextMonitor::Run(void* self) {
    static_cast<DebugTextMonitor*>(self)->Loop();
    return 0;
}

void DebugTextMonitor::Loop() {
    const HANDLE events[] = {stop_, dataReady_};
    for (;;) {
        SetEvent(bufferReady_);
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            return;
        }
        DWORD pid = 0;
        memcpy(&pid, view_, sizeof pid);
        const std::string text(view_ + sizeof pid,
                               strnlen(view_ + sizeof pid, kBufferSize - sizeof pid));
        EnterCriticalSection(&lock_);
        texts_.emplace_back(pid, text);
        LeaveCriticalSection(&lock_);
    }
}

}  // namespace gui
