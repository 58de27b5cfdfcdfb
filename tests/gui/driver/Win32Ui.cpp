#include "Win32Ui.h"

#include <gdiplus.h>

#include <algorithm>

namespace gui {

namespace {

const DWORD kMessageTimeoutMs = 5000;
const DWORD kPollIntervalMs = 15;
const int kMessageBoxTextId = 0xFFFF;
const int kMessageBoxIconId = 0x0440;  // Wine's and Windows' message-box icon static

struct EnumState {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == state->pid && IsWindowVisible(window)) {
        state->windows.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> direct;
    for (HWND child : all) {
        if (GetParent(child) == parent) {
            direct.push_back(child);
        }
    }
    return direct;
}

bool IsStandardAnswer(int id) {
    return id >= IDOK && id <= IDCONTINUE;
}

}  // namespace

bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (condition()) {
            return true;
        }
        Sleep(kPollIntervalMs);
    }
    return condition();
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    EnumState state{pid, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    char text[8192] = {};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result)) {
        return "";
    }
    text[sizeof text - 1] = '\0';
    return text;
}

HWND FindDialog(DWORD pid, const std::vector<int>& ids, const std::vector<int>& absent) {
    for (HWND window : TopLevelWindows(pid)) {
        if (ClassName(window) != "#32770") {
            continue;
        }
        bool all = true;
        for (int id : ids) {
            all = all && GetDlgItem(window, id) != nullptr;
        }
        for (int id : absent) {
            all = all && GetDlgItem(window, id) == nullptr;
        }
        if (all) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForDialog(DWORD pid, const std::vector<int>& ids, DWORD timeoutMs,
                   const std::vector<int>& absent) {
    HWND found = nullptr;
    WaitUntil(timeoutMs, [&] {
        found = FindDialog(pid, ids, absent);
        return found != nullptr;
    });
    return found;
}

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? WindowText(control) : std::string();
}

bool ControlEnabled(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && IsWindowEnabled(control);
}

bool ControlExists(HWND dialog, int id) {
    return GetDlgItem(dialog, id) != nullptr;
}

bool Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr || !IsWindowEnabled(button)) {
        return false;
    }
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool ClickAndWait(HWND dialog, int id, DWORD timeoutMs) {
    HWND button = GetDlgItem(dialog, id);
    DWORD_PTR result = 0;
    return button != nullptr && IsWindowEnabled(button) &&
           SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

bool TypeText(HWND dialog, int id, const std::string& text) {
    HWND edit = GetDlgItem(dialog, id);
    DWORD_PTR result = 0;
    return edit != nullptr &&
           SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) != 0;
}

bool TypeChars(HWND dialog, int id, const std::string& text) {
    HWND edit = GetDlgItem(dialog, id);
    if (edit == nullptr) {
        return false;
    }
    for (unsigned char c : text) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                                 &result)) {
            return false;
        }
    }
    return true;
}

bool PostKey(HWND control, WORD key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    return control != nullptr && PostMessageA(control, WM_KEYDOWN, key, scan | 1) &&
           PostMessageA(control, WM_KEYUP, key, scan | 1 | 0xC0000000);
}

bool PostCloseBox(HWND window) {
    return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
}

bool PostCommand(HWND dialog, int id) {
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))) != FALSE;
}

bool WaitPostedHandled(HWND dialog, int editId, DWORD timeoutMs) {
    HWND edit = GetDlgItem(dialog, editId);
    DWORD_PTR modified = 0;
    if (edit == nullptr || !SendMessageTimeoutA(edit, EM_GETMODIFY, 0, 0, SMTO_ABORTIFHUNG,
                                                kMessageTimeoutMs, &modified)) {
        return false;
    }
    const DWORD_PTR marker = modified ? FALSE : TRUE;
    if (!PostMessageA(edit, EM_SETMODIFY, marker, 0)) {
        return false;
    }
    return WaitUntil(timeoutMs, [&] {
        DWORD_PTR now = 0;
        return SendMessageTimeoutA(edit, EM_GETMODIFY, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                                   &now) &&
               (now != 0) == (marker != 0);
    });
}

bool FindMessageBox(DWORD pid, MessageBoxInfo& box) {
    for (HWND window : TopLevelWindows(pid)) {
        if (ClassName(window) != "#32770") {
            continue;
        }
        bool hasText = false;
        bool foreign = false;
        std::vector<int> buttons;
        for (HWND child : DirectChildren(window)) {
            const int id = GetDlgCtrlID(child);
            const std::string kind = ClassName(child);
            if (lstrcmpiA(kind.c_str(), "Static") == 0) {
                hasText = hasText || id == kMessageBoxTextId;
                foreign = foreign || (id != kMessageBoxTextId && id != kMessageBoxIconId);
            } else if (lstrcmpiA(kind.c_str(), "Button") == 0 && IsStandardAnswer(id)) {
                if (IsWindowVisible(child)) {
                    buttons.push_back(id);
                }
            } else {
                foreign = true;
            }
        }
        if (hasText && !foreign) {
            box.window = window;
            box.owner = GetWindow(window, GW_OWNER);
            box.caption = WindowText(window);
            box.text = ControlText(window, kMessageBoxTextId);
            std::sort(buttons.begin(), buttons.end());
            box.buttons = buttons;
            return true;
        }
    }
    return false;
}

bool WaitForMessageBox(DWORD pid, MessageBoxInfo& box, DWORD timeoutMs) {
    return WaitUntil(timeoutMs, [&] { return FindMessageBox(pid, box); });
}

bool Answer(const MessageBoxInfo& box, int id) {
    if (std::find(box.buttons.begin(), box.buttons.end(), id) == box.buttons.end()) {
        return false;
    }
    return Click(box.window, id);
}

bool KeyDown(WORD key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

HeldKeys::HeldKeys(std::vector<WORD> keys) : keys_(std::move(keys)) {
    for (WORD key : keys_) {
        Send(key, true);
    }
}

HeldKeys::~HeldKeys() {
    for (WORD key : keys_) {
        Send(key, false);
    }
}

void HeldKeys::Send(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

bool HeldKeys::Confirm(HWND target) {
    const int kAttempts = 20;
    const DWORD kSettleMs = 150;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        for (WORD key : keys_) {
            if (!KeyDown(key)) {
                Send(key, true);
            }
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result);
        auto allDown = [&] {
            return std::all_of(keys_.begin(), keys_.end(), [](WORD key) { return KeyDown(key); });
        };
        // The keys must stay down for the whole settle period; the poll ends
        // early, and the keys are pressed again, as soon as one is released.
        const bool released = WaitUntil(kSettleMs, [&] { return !allDown(); });
        if (!released) {
            return true;
        }
    }
    return false;
}

bool SaveWindowPng(HWND window, const std::string& path) {
    // A window that has just appeared may not have painted all its controls
    // yet. Paint messages come last in its queue, so each round trip through
    // its message loop lets the pending painting of one more window happen.
    for (int trip = 0; trip < 20; ++trip) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result);
    }
    // Copy what the screen shows, frame included: that is what the player sees.
    RECT frame = {};
    if (!GetWindowRect(window, &frame)) {
        return false;
    }
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) {
        DeleteObject(bitmap);
        return false;
    }

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool saved = false;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            Gdiplus::Bitmap image(bitmap, nullptr);
            // {557CF406-1A04-11D3-9A73-0000F81EF32E}: the PNG encoder.
            const CLSID png = {
                0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
            std::wstring wide(path.begin(), path.end());
            saved = image.Save(wide.c_str(), &png, nullptr) == Gdiplus::Ok;
        }
        Gdiplus::GdiplusShutdown(token);
    }
    DeleteObject(bitmap);
    return saved;
}

}  // namespace gui
