// Smoke test of the launcher's resources as a running program meets them, and
// of the sample data root that ships beside it:
//
// - each template is found by its name and has every control the dialog code
//   addresses, of the kind the code expects, in the state it expects;
// - every placeholder text ("__...") belongs to a control the code replaces;
// - the pictures, the icon, the manifest and the version information are in;
// - every language file of the sample gives every text the launcher uses,
//   and each text fits the control that shows it, measured in the dialog's
//   own font.
//
//   vok_resource_smoke_test SAMPLE_ROOT
//
// Exit code 0 when every check passed, 1 when one failed, 77 (skipped) when the
// data checks passed but no window can be created, as without a display.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "i18n/LanguageTable.h"
#include "kvfile/KeyValueFile.h"
#include "resources/resource.h"

namespace {

int g_failures = 0;
const char* g_area = "";

void Fail(const char* format, ...) {
    ++g_failures;
    std::printf("FAIL [%s] ", g_area);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
}

#define CHECK(condition, ...)  \
    do {                       \
        if (!(condition)) {    \
            Fail(__VA_ARGS__); \
        }                      \
    } while (0)

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

std::string Text(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string Class(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

INT_PTR CALLBACK SilentProc(HWND, UINT message, WPARAM, LPARAM) {
    // Keep the template's own texts and focus; nothing else happens here.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The dialog from its template, hidden (the templates carry no WS_VISIBLE).
HWND Open(const char* name) {
    return CreateDialogParamA(Instance(), name, nullptr, SilentProc, 0);
}

RECT ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// A control the dialog code uses: its id, the window class it must have, and
// whether the code replaces its text before the dialog is shown.
struct Control {
    int id;
    const char* windowClass;
    bool replaced;
};

// Every listed control exists with its class, and every child whose text is
// a placeholder is one the code replaces.
void CheckControls(HWND dialog, const std::vector<Control>& controls) {
    std::set<int> replaced;
    for (const Control& control : controls) {
        HWND child = GetDlgItem(dialog, control.id);
        CHECK(child != nullptr, "control %d is missing", control.id);
        if (child) {
            CHECK(lstrcmpiA(Class(child).c_str(), control.windowClass) == 0,
                  "control %d is a %s, expected %s", control.id, Class(child).c_str(),
                  control.windowClass);
        }
        if (control.replaced) {
            replaced.insert(control.id);
        }
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = Text(child);
        int id = GetDlgCtrlID(child);
        CHECK(text.rfind("__", 0) != 0 || replaced.count(id) == 1,
              "control %d keeps its placeholder \"%s\" on screen", id, text.c_str());
    }
}

// Layout and text widths are designed for the bitmap font "MS Sans Serif" (6 x 13
// dialog base units at 96 DPI). A Wine prefix without Wine's sserife.fon
// substitutes a font 12 pixels high, which shrinks every dialog vertically;
// measuring with it would blame the resources for the missing font.
bool HasDesignFont(HWND dialog) {
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    if (std::strcmp(face, "MS Sans Serif") != 0) {
        std::printf(
            "note [%s] the dialog font is \"%s\", not MS Sans Serif (add sserife.fon to "
            "the prefix's Fonts folder): layout checks skipped\n",
            g_area, face);
        return false;
    }
    return true;
}

// The picture control of a dialog: the static showing a bitmap.
HWND Picture(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            return child;
        }
    }
    return nullptr;
}

// The bitmap resource is an uncompressed 8-bit picture of the promised size,
// and the dialog's picture control shows it.
void CheckPicture(HWND dialog, int bitmapId, LONG width, LONG height) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2));
    CHECK(found != nullptr, "no bitmap %d", bitmapId);
    if (found) {
        const BITMAPINFOHEADER* header =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
        CHECK(header->biWidth == width && header->biHeight == height,
              "bitmap %d is %ld x %ld, expected %ld x %ld", bitmapId, header->biWidth,
              header->biHeight, width, height);
        CHECK(
            header->biBitCount == 8 && header->biCompression == BI_RGB && header->biClrUsed <= 256,
            "bitmap %d is not an uncompressed 256-colour picture", bitmapId);
    }
    HWND picture = Picture(dialog);
    CHECK(picture != nullptr, "no picture control");
    if (picture) {
        CHECK(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0,
              "the picture control shows no bitmap");
    }
}

void CheckTabOrder(HWND dialog, const std::vector<int>& order) {
    HWND current = GetDlgItem(dialog, order.front());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        int expected = order[i % order.size()];
        current = GetNextDlgTabItem(dialog, current, FALSE);
        CHECK(current && GetDlgCtrlID(current) == expected, "tab step %u reaches %d, expected %d",
              static_cast<unsigned>(i), current ? GetDlgCtrlID(current) : -1, expected);
    }
}

void CheckMainMenu() {
    g_area = "IDD_MAINDLG";
    HWND dialog = Open("IDD_MAINDLG");
    CHECK(dialog != nullptr, "template not found (error %lu)", GetLastError());
    if (!dialog) {
        return;
    }
    // A second launcher finds this one by the exact caption, blank included.
    CHECK(Text(dialog) == "Vok ", "caption \"%s\"", Text(dialog).c_str());
    CheckControls(dialog, {{IDC_MAIN_PRACTICE, "Button", true},
                           {IDC_MAIN_SINGLEMATCH, "Button", true},
                           {IDC_MAIN_NEWLEAGUE, "Button", true},
                           {IDC_MAIN_LOADLEAGUE, "Button", true},
                           {IDC_MAIN_DEMO, "Button", false},
                           {IDC_MAIN_CREDITS, "Button", true},
                           {IDC_MAIN_DIRECTX, "Button", true},
                           {IDC_MAIN_LICENCE, "Button", true},
                           {IDC_MAIN_WEBSITE, "Button", true},
                           {IDC_MAIN_CANCEL, "Button", true}});
    // The game buttons wait for the DirectDraw probe and the league test.
    for (int id :
         {IDC_MAIN_PRACTICE, IDC_MAIN_SINGLEMATCH, IDC_MAIN_NEWLEAGUE, IDC_MAIN_LOADLEAGUE}) {
        CHECK(!IsWindowEnabled(GetDlgItem(dialog, id)), "button %d starts enabled", id);
    }
    for (int id : {IDC_MAIN_DEMO, IDC_MAIN_CREDITS, IDC_MAIN_DIRECTX, IDC_MAIN_LICENCE,
                   IDC_MAIN_WEBSITE, IDC_MAIN_CANCEL}) {
        CHECK(IsWindowEnabled(GetDlgItem(dialog, id)), "button %d starts disabled", id);
    }
    CHECK(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDC_MAIN_SINGLEMATCH,
          "default button is not Start Single Match");
    CheckPicture(dialog, IDB_MENU_PICTURE, 367, 256);

    // The picture sits inside the frame, clear of the buttons.
    HWND picture = Picture(dialog);
    HWND frame = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
            lstrcmpiA(Class(child).c_str(), "Button") == 0) {
            frame = child;
        }
    }
    CHECK(frame != nullptr, "no group box");
    if (picture && frame && HasDesignFont(dialog)) {
        RECT pictureRect = ScreenRect(picture);
        CHECK(Inside(pictureRect, ScreenRect(frame)), "the picture overflows the group box");
        CHECK(pictureRect.left >= ScreenRect(GetDlgItem(dialog, IDC_MAIN_PRACTICE)).right,
              "the picture covers the buttons");
    }
    RECT window = ScreenRect(dialog);
    CHECK(window.right - window.left <= 640 && window.bottom - window.top <= 480,
          "the menu does not fit a 640 x 480 screen");
    DestroyWindow(dialog);
}

void CheckCreateLeague() {
    g_area = "IDD_CREATELEAGUE";
    HWND dialog = Open("IDD_CREATELEAGUE");
    CHECK(dialog != nullptr, "template not found (error %lu)", GetLastError());
    if (!dialog) {
        return;
    }
    CheckControls(dialog, {{IDC_LEAGUE_NAME, "Edit", false},
                           {IDC_LEAGUE_PLAYERS, "Edit", false},
                           {IDC_LEAGUE_ROUNDS, "Edit", false},
                           {IDC_LEAGUE_VOKS, "Edit", false},
                           {IDC_LEAGUE_LIVES, "Edit", false},
                           {IDOK, "Button", true},
                           {IDCANCEL, "Button", true},
                           {IDC_LEAGUE_NAME_LABEL, "Static", true},
                           {IDC_LEAGUE_PLAYERS_LABEL, "Static", true},
                           {IDC_LEAGUE_ROUNDS_LABEL, "Static", true},
                           {IDC_LEAGUE_VOKS_LABEL, "Static", true},
                           {IDC_LEAGUE_LIVES_LABEL, "Static", true}});
    // The number boxes take digits only; the name scrolls.
    for (int id : {IDC_LEAGUE_PLAYERS, IDC_LEAGUE_ROUNDS, IDC_LEAGUE_VOKS, IDC_LEAGUE_LIVES}) {
        CHECK(GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & ES_NUMBER,
              "box %d takes more than digits", id);
    }
    CHECK(GetWindowLongA(GetDlgItem(dialog, IDC_LEAGUE_NAME), GWL_STYLE) & ES_AUTOHSCROLL,
          "the name box does not scroll");
    CHECK(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK, "default button is not OK");
    CheckTabOrder(dialog, {IDC_LEAGUE_NAME, IDC_LEAGUE_PLAYERS, IDC_LEAGUE_ROUNDS, IDC_LEAGUE_VOKS,
                           IDC_LEAGUE_LIVES, IDOK, IDCANCEL});
    DestroyWindow(dialog);
}

void CheckInputBox() {
    g_area = "IDD_INPUTBOX";
    HWND dialog = Open("IDD_INPUTBOX");
    CHECK(dialog != nullptr, "template not found (error %lu)", GetLastError());
    if (!dialog) {
        return;
    }
    CheckControls(dialog, {{IDOK, "Button", true},
                           {IDC_INPUT_PROMPT, "Static", true},
                           {IDC_INPUT_EDIT, "Edit", false}});
    CHECK(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK, "default button is not OK");
    // Not centred: the box opens at the top left corner of the screen.
    RECT window = ScreenRect(dialog);
    CHECK(window.left == 0 && window.top == 0, "opens at %ld, %ld", window.left, window.top);
    DestroyWindow(dialog);
}

void CheckCredits() {
    g_area = "IDD_CREDITS";
    HWND dialog = Open("IDD_CREDITS");
    CHECK(dialog != nullptr, "template not found (error %lu)", GetLastError());
    if (!dialog) {
        return;
    }
    CheckControls(dialog, {{IDOK, "Button", true},
                           {IDC_CREDITS_COLUMN1, "Static", true},
                           {IDC_CREDITS_COLUMN2, "Static", true},
                           {IDC_CREDITS_COLUMN3, "Static", true}});
    // No system menu, so no close box: OK and Escape are the ways out.
    CHECK(!(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU), "the dialog has a close box");
    CHECK(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK, "default button is not OK");
    CheckPicture(dialog, IDB_CREDITS_PICTURE, 575, 52);
    HWND picture = Picture(dialog);
    if (picture && HasDesignFont(dialog)) {
        RECT client = {};
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT pictureRect = ScreenRect(picture);
        CHECK(Inside(pictureRect, client), "the picture is cut off by the dialog's edge");
        CHECK(pictureRect.top >= ScreenRect(GetDlgItem(dialog, IDOK)).bottom,
              "the picture covers the OK button");
    }
    DestroyWindow(dialog);
}

void CheckIconManifestVersion() {
    g_area = "resources";
    // The icon offers the three sizes the shell asks for.
    HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_LAUNCHER), MAKEINTRESOURCEA(14));
    CHECK(group != nullptr, "no icon %d", IDI_LAUNCHER);
    if (group) {
        const BYTE* directory =
            static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
        WORD count = 0;
        std::memcpy(&count, directory + 4, sizeof count);
        std::set<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            sizes.insert(directory[6 + 14 * i]);  // bWidth of each 14-byte entry
        }
        CHECK(sizes == std::set<int>({16, 32, 48}), "the icon lacks 16, 32 or 48 pixels");
    }

    HRSRC manifest = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    CHECK(manifest != nullptr, "no manifest");
    if (manifest) {
        std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                         SizeofResource(nullptr, manifest));
        CHECK(text.find("Microsoft.Windows.Common-Controls") != std::string::npos,
              "the manifest does not ask for visual styles");
        CHECK(text.find("\"asInvoker\"") != std::string::npos,
              "the manifest does not run the launcher as the invoker");
    }

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    CHECK(size > 0, "no version information");
    if (size > 0) {
        std::vector<char> data(size);
        GetFileVersionInfoA(path, 0, size, data.data());
        char* value = nullptr;
        UINT length = 0;
        bool found = VerQueryValueA(data.data(), "\\StringFileInfo\\040904e4\\ProductName",
                                    reinterpret_cast<void**>(&value), &length);
        CHECK(found && std::strcmp(value, "Vok Launcher") == 0, "product name is not Vok Launcher");
    }
}

// --- The sample data root ---------------------------------------------------

std::string g_sample;  // ends with a separator

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CheckSampleData() {
    g_area = "sample";
    for (int language = 0; language < LanguageTable::kLanguageCount; ++language) {
        std::string file = g_sample + "data/language/" + LanguageFileName(language);
        CHECK(FileExists(file), "%s is missing", file.c_str());
        LanguageTable table;
        table.Load((g_sample + "data/").c_str(), language);
        CHECK(table.LineCount() >= 102, "%s has %d lines", LanguageFileName(language),
              table.LineCount());
        // The licence line names a document of the sample, resolved against
        // the data root as the shell resolves it.
        CHECK(FileExists(g_sample + table.Text(53)), "%s: line 53 names a missing file \"%s\"",
              LanguageFileName(language), table.Text(53));
        CHECK(std::strncmp(table.Text(54), "https://", 8) == 0, "%s: line 54 is no web address",
              LanguageFileName(language));
        // The default player name must leave room for "12" in the 13-character box.
        CHECK(std::strlen(table.Text(65)) <= 11, "%s: line 65 is too long for the name box",
              LanguageFileName(language));
    }
    KeyValueFile creature((g_sample + "data/ply/data.dat").c_str());
    const char* name = creature.GetValue("name", "");
    CHECK(name[0] != '\0' && std::strlen(name) <= 24, "data/ply/data.dat has no usable name");
}

// Every language line fits the control that shows it, measured with the
// control's font; a button keeps a margin for its frame and focus rectangle.
struct Placement {
    const char* dialog;
    int line;
    int id;
    const char* suffix;  // what the launcher adds to the line before showing it
};

const Placement kPlacements[] = {
    {"IDD_MAINDLG", 44, IDC_MAIN_PRACTICE, ""},
    {"IDD_MAINDLG", 45, IDC_MAIN_SINGLEMATCH, ""},
    {"IDD_MAINDLG", 46, IDC_MAIN_NEWLEAGUE, ""},
    {"IDD_MAINDLG", 47, IDC_MAIN_LOADLEAGUE, ""},
    {"IDD_MAINDLG", 48, IDC_MAIN_CREDITS, ""},
    {"IDD_MAINDLG", 49, IDC_MAIN_DIRECTX, ""},
    {"IDD_MAINDLG", 50, IDC_MAIN_LICENCE, ""},
    {"IDD_MAINDLG", 51, IDC_MAIN_WEBSITE, ""},
    {"IDD_MAINDLG", 52, IDC_MAIN_CANCEL, ""},
    {"IDD_CREATELEAGUE", 57, IDC_LEAGUE_NAME_LABEL, ""},
    {"IDD_CREATELEAGUE", 58, IDC_LEAGUE_PLAYERS_LABEL, ""},
    {"IDD_CREATELEAGUE", 59, IDC_LEAGUE_ROUNDS_LABEL, ""},
    {"IDD_CREATELEAGUE", 60, IDC_LEAGUE_VOKS_LABEL, ""},
    {"IDD_CREATELEAGUE", 61, IDC_LEAGUE_LIVES_LABEL, ""},
    {"IDD_CREATELEAGUE", 62, IDOK, ""},
    {"IDD_CREATELEAGUE", 63, IDCANCEL, ""},
    {"IDD_INPUTBOX", 64, IDC_INPUT_PROMPT, " 12"},
    {"IDD_INPUTBOX", 66, IDOK, ""},
    {"IDD_CREDITS", 101, IDOK, ""},
    // A heading wider than its column would wrap and push its names down.
    {"IDD_CREDITS", 88, IDC_CREDITS_COLUMN1, ""},
    {"IDD_CREDITS", 89, IDC_CREDITS_COLUMN1, ""},
    {"IDD_CREDITS", 90, IDC_CREDITS_COLUMN1, ""},
    {"IDD_CREDITS", 91, IDC_CREDITS_COLUMN1, ""},
    {"IDD_CREDITS", 92, IDC_CREDITS_COLUMN2, ""},
    {"IDD_CREDITS", 93, IDC_CREDITS_COLUMN2, ""},
    {"IDD_CREDITS", 94, IDC_CREDITS_COLUMN2, ""},
    {"IDD_CREDITS", 95, IDC_CREDITS_COLUMN2, ""},
    {"IDD_CREDITS", 97, IDC_CREDITS_COLUMN2, ""},
    {"IDD_CREDITS", 96, IDC_CREDITS_COLUMN3, ""},
    {"IDD_CREDITS", 98, IDC_CREDITS_COLUMN3, ""},
    {"IDD_CREDITS", 99, IDC_CREDITS_COLUMN3, ""},
    {"IDD_CREDITS", 100, IDC_CREDITS_COLUMN3, ""},
};

int TextWidth(HWND control, const char* text) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, 0, 0};
    DrawTextA(dc, text, -1, &rect, DT_CALCRECT | DT_SINGLELINE);  // '&' marks a shortcut
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return rect.right - rect.left;
}

void CheckTextsFit() {
    g_area = "fit";
    HWND probe = Open("IDD_MAINDLG");
    bool measurable = probe && HasDesignFont(probe);
    if (probe) {
        DestroyWindow(probe);
    }
    if (!measurable) {
        return;
    }
    for (int language = 0; language < LanguageTable::kLanguageCount; ++language) {
        LanguageTable table;
        table.Load((g_sample + "data/").c_str(), language);
        for (const Placement& placement : kPlacements) {
            HWND dialog = Open(placement.dialog);
            HWND control = dialog ? GetDlgItem(dialog, placement.id) : nullptr;
            if (!control) {
                continue;  // reported by the template checks
            }
            std::string text = std::string(table.Text(placement.line)) + placement.suffix;
            RECT client = {};
            GetClientRect(control, &client);
            int room = client.right;
            if (lstrcmpiA(Class(control).c_str(), "Button") == 0) {
                room -= 8;
            }
            int width = TextWidth(control, text.c_str());
            CHECK(width <= room, "%s line %d \"%s\" is %d pixels wide, the control has %d",
                  LanguageFileName(language), placement.line, text.c_str(), width, room);
            DestroyWindow(dialog);
        }
    }
}

bool CanCreateWindows() {
    HWND probe =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, Instance(), nullptr);
    if (!probe) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: %s SAMPLE_ROOT\n", argv[0]);
        return 2;
    }
    g_sample = argv[1];
    if (!g_sample.empty() && g_sample.back() != '/' && g_sample.back() != '\\') {
        g_sample += '/';
    }
    CheckSampleData();
    CheckIconManifestVersion();
    if (!CanCreateWindows()) {
        std::printf("no windows can be created here: the dialog checks were skipped\n");
        return g_failures ? 1 : 77;
    }
    CheckMainMenu();
    CheckCreateLeague();
    CheckInputBox();
    CheckCredits();
    CheckTextsFit();
    std::printf("%d failed\n", g_failures);
    return g_failures ? 1 : 0;
}
