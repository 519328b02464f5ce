// The native dialog as Windows shows it, driven through window messages: the template's
// controls with their ids, texts and places, the tab chain, the opening state, the mode change,
// the system menu, a dropped file, a real job run by a click on Execute, and the recent names
// kept on Quit. Opened modeless, so that the test keeps its own thread of control.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogControls.h"
#include "app/DialogTexts.h"
#include "app/win32/MainDialog.h"
#include "app/win32/MessageBoxSink.h"
#include "platform/windows/WideText.h"
#include "tests/support/RecordedDialogServices.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::win32 {
namespace {

using Names = std::vector<std::string>;

// The dialog over recorded messages and settings; every job answers Finished unless a runner
// is given.
struct Harness : wemb::testing::RecordedDialogServices {
    explicit Harness(Names names = {}, const std::string& fileName = {}, JobRunner runner = {})
        : RecordedDialogServices(std::move(names)) {
        if (!runner) {
            runner = [](const JobRequest&, JobEvents&) { return JobReport{MessageId::Finished}; };
        }
        dialog = std::make_unique<MainDialog>(GetModuleHandleW(nullptr),
                                              MainDialogServices{this, runner, this, {}}, fileName);
        window = dialog->open();
        EXPECT_NE(window, nullptr);
    }
    HWND item(int id) const { return GetDlgItem(window, id); }
    std::string text(HWND control) const {
        wchar_t buffer[512] = {};
        GetWindowTextW(control, buffer, 512);
        return platform::narrowed(buffer);
    }
    std::string text(int id) const { return text(item(id)); }
    void click(int id) const { SendMessageW(item(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
    Names listed() const {
        Names names;
        const HWND field = item(control::fileField);
        for (int i = 0; i < SendMessageW(field, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t buffer[512] = {};
            SendMessageW(field, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
            names.push_back(platform::narrowed(buffer));
        }
        return names;
    }
    // A place in dialog units as this window's font makes it in pixels.
    RECT pixels(RECT units) const {
        MapDialogRect(window, &units);
        return units;
    }

    std::unique_ptr<MainDialog> dialog;
    HWND window = nullptr;
};

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

// How a control's pixels may differ from its template place: a closed drop-down is as high as
// its font makes it (the template's 70 include the open list), and a mode text grows to the
// right when the font is wider than the template's, and Wine keeps an up-down control at least
// as wide as its arrows.
enum class Fit { Exact, ClosedList, Grows };

TEST(Win32MainDialog, ControlsOfTheTemplateInTabOrder) {
    constexpr int none = -1;
    const struct {
        int id;
        const char *kind, *text;
        RECT units;  // left, top, width, height
        bool tabStop;
        Fit fit = Fit::Exact;
        bool visible = true;
    } rows[] = {
        // clang-format off
        {control::execute, "Button", texts::execute, {170, 110, 50, 15}, true},
        {none, "Static", texts::fileLabel, {5, 5, 26, 8}, false},
        {control::fileField, "ComboBox", "", {5, 15, 205, 70}, true, Fit::ClosedList},
        {control::browse, "Button", texts::browse, {220, 15, 35, 15}, true},
        // The button control makes the checked one of a radio group its tab stop.
        {control::autonumLocked, "Button", texts::autonumLocked, {10, 40, 230, 10}, true, Fit::Grows},
        {control::autonumOriginal, "Button", texts::autonumOriginal, {10, 55, 230, 10}, false, Fit::Grows},
        {control::reNum, "Button", texts::reNum, {10, 85, 230, 10}, false, Fit::Grows},
        {none, "Static", texts::initialNumberLabel, {25, 110, 60, 22}, false},
        {control::initialNumber, "Edit", "1", {90, 110, 30, 15}, true},
        {control::initialArrows, "msctls_updown32", "", {121, 110, 9, 15}, false, Fit::Grows},
        {none, "Static", texts::stepLabel, {25, 136, 60, 21}, false},
        {control::step, "Edit", "1", {90, 136, 30, 15}, true},
        {control::stepArrows, "msctls_updown32", "", {121, 136, 9, 15}, false, Fit::Grows},
        {control::quit, "Button", texts::quit, {170, 136, 50, 15}, true},
        {control::byPosition, "Button", texts::byPosition, {130, 155, 110, 8}, true, Fit::Exact, false},
        {control::dependenceName, "Button", texts::dependenceName, {30, 70, 210, 10}, true, Fit::Grows},
        // clang-format on
    };
    Harness h;
    const RECT edge = h.pixels({0, 0, 263 - 5, 0});
    HWND child = GetWindow(h.window, GW_CHILD);
    for (const auto& row : rows) {
        ASSERT_NE(child, nullptr) << "controls missing from " << row.text;
        SCOPED_TRACE(row.text);
        EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), row.id);
        wchar_t kind[64] = {};
        GetClassNameW(child, kind, 64);
        EXPECT_EQ(CompareStringOrdinal(kind, -1, platform::widened(row.kind).c_str(), -1, TRUE),
                  CSTR_EQUAL);
        EXPECT_EQ(h.text(child), row.text);
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, h.window, reinterpret_cast<POINT*>(&place), 2);
        // Windows scales a control's place and its size each on their own.
        const RECT scaled = h.pixels(row.units);
        RECT expected{scaled.left, scaled.top, scaled.left + scaled.right,
                      scaled.top + scaled.bottom};
        if (row.fit == Fit::ClosedList) {
            expected.bottom = place.bottom;
        } else if (row.fit == Fit::Grows) {
            EXPECT_GE(place.right, expected.right);
            EXPECT_LE(place.right, edge.right);
            expected.right = place.right;
        }
        EXPECT_TRUE(place == expected)
            << place.left << "," << place.top << "," << place.right << "," << place.bottom;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, row.tabStop);
        EXPECT_EQ((style & WS_VISIBLE) != 0, row.visible);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "a control the template does not have";

    EXPECT_EQ(h.text(h.window), texts::mainTitle);
    RECT client;
    GetClientRect(h.window, &client);
    EXPECT_TRUE(client == h.pixels({0, 0, 263, 165}));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h.window, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(platform::narrowed(font.lfFaceName), texts::fontFace);
    // A pop-up with caption, system menu and minimize box, a modal frame, and one size.
    constexpr DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    EXPECT_EQ(GetWindowLongW(h.window, GWL_STYLE) & (wanted | WS_THICKFRAME | WS_MAXIMIZEBOX),
              wanted);
    EXPECT_NE(GetWindowLongW(h.window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
}

TEST(Win32MainDialog, TabChainStopsOnTheCheckedModeAndPassesTheHiddenBox) {
    Harness h({"a.CE2"});
    h.click(control::autonumOriginal);
    std::vector<int> visited;
    HWND at = h.item(control::execute);
    for (int i = 0; i < 8; ++i) {
        at = GetNextDlgTabItem(h.window, at, FALSE);
        visited.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(visited,
              (std::vector<int>{control::fileField, control::browse, control::autonumOriginal,
                                control::initialNumber, control::step, control::quit,
                                control::dependenceName, control::execute}));
}

TEST(Win32MainDialog, OpensWithTheControllersState) {
    const struct {
        const char* fault;
        Names stored;
        std::string commandLine, field;
    } rows[] = {
        {"nothing stored shows a name", {}, "", ""},
        {"the most recent name not in the field", {"b.CE2", "a.CE2"}, "", "b.CE2"},
        {"the command line loses to the list", {"b.CE2", "a.CE2"}, "x.CE2", "x.CE2"},
        {"a Japanese name garbled", {}, "ソース表.CE2", "ソース表.CE2"},
    };
    for (const auto& row : rows) {
        Harness h(row.stored, row.commandLine);
        SCOPED_TRACE(row.fault);
        EXPECT_EQ(h.text(control::fileField), row.field);
        EXPECT_EQ(h.listed(), row.stored);
        EXPECT_TRUE(h.checked(control::autonumLocked));
        EXPECT_FALSE(h.checked(control::autonumOriginal) || h.checked(control::reNum));
        EXPECT_TRUE(IsWindowEnabled(h.item(control::dependenceName)));
        EXPECT_FALSE(h.checked(control::dependenceName) || h.checked(control::byPosition));
        EXPECT_EQ(h.text(control::initialNumber), "1");
        EXPECT_EQ(h.text(control::step), "1");
        EXPECT_EQ(GetWindowLongW(h.item(control::execute), GWL_STYLE) & BS_DEFPUSHBUTTON,
                  BS_DEFPUSHBUTTON);
    }
}

TEST(Win32MainDialog, ControlsReachTheController) {
    Harness h;
    // What the controller then does is its own test's; here only that clicks reach it and what
    // it says reaches the controls.
    const struct {
        const char* fault;
        int click;
        bool enabled;
    } rows[] = {
        {"the option not bound", control::dependenceName, true},
        {"ReNum leaves the option enabled", control::reNum, false},
        {"an Autonum mode does not enable it again", control::autonumOriginal, true},
    };
    for (const auto& row : rows) {
        h.click(row.click);
        EXPECT_EQ(IsWindowEnabled(h.item(control::dependenceName)) != 0, row.enabled) << row.fault;
        EXPECT_TRUE(h.checked(control::dependenceName)) << row.fault;
    }
    EXPECT_TRUE(h.checked(control::autonumOriginal) && !h.checked(control::reNum));
    // A refused number comes back as 1, selected to be typed over.
    SetDlgItemTextW(h.window, control::initialNumber, L"0");
    h.click(control::execute);
    EXPECT_EQ(h.ids, std::vector<MessageId>{MessageId::InitialOutOfRange});
    EXPECT_EQ(h.text(control::initialNumber), "1");
    EXPECT_EQ(SendMessageW(h.item(control::initialNumber), EM_GETSEL, 0, 0), MAKELONG(0, 1));
    // Up-down arrows step within their range.
    SendMessageW(h.item(control::stepArrows), UDM_SETPOS32, 0, 50);
    EXPECT_EQ(SendMessageW(h.item(control::stepArrows), UDM_GETPOS32, 0, 0), 20);
}

TEST(Win32MainDialog, SystemMenuDropAndIcon) {
    Harness h;
    const HMENU menu = GetSystemMenu(h.window, FALSE);
    wchar_t item[128] = {};
    GetMenuStringW(menu, control::aboutCommand, item, 128, MF_BYCOMMAND);
    EXPECT_EQ(platform::narrowed(item), texts::aboutMenu);
    SendMessageW(h.window, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    for (const UINT command : {SC_SIZE, SC_MAXIMIZE, SC_RESTORE}) {
        EXPECT_NE(GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED, 0u) << command;
    }
    const auto big = SendMessageW(h.window, WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(big, 0);
    EXPECT_EQ(SendMessageW(h.window, WM_QUERYDRAGICON, 0, 0), big);
    // Message boxes are captioned with the program file's name, without directory or extension.
    EXPECT_EQ(programCaption(), L"wemb_win32_tests");

    // Explorer hands a dropped file over as a DROPFILES block with wide names.
    const std::wstring name = L"C:\\\x56de\x8def\\\x30bd.CE2";
    const SIZE_T size = sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t);
    const HGLOBAL drop = GlobalAlloc(GHND, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    name.copy(reinterpret_cast<wchar_t*>(files + 1), name.size());
    GlobalUnlock(drop);
    SendMessageW(h.window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(h.text(control::fileField), platform::narrowed(name));
    EXPECT_TRUE(h.listed().empty());
}

void moveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    ASSERT_TRUE(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) << to;
}

TEST(Win32MainDialog, ExecuteRunsAJobAndQuitKeepsTheNames) {
    // A Japanese name whose Shift-JIS bytes end in a backslash ("ソ", "表"), from the field to
    // the disk. The C library cannot open such a name in a Japanese locale, so the test reads
    // and writes under an ASCII name and renames with the wide API.
    testing::TempDirectory dir;
    const std::filesystem::path data = dir.path() / u8"回路ソ表.CE2";
    const std::string file = platform::narrowed(data.wstring());
    const auto drawing =
        gen::DataFileBuilder()
            .header()
            .part({.x = 100, .y = 100, .partName = "10k", .reference = "R5", .libraryName = "RES"})
            .bytes();
    moveFile(dir.write("a.CE2", drawing), data);
    Harness h({"old.CE2"}, file, fileSystemJobRunner(std::string()));
    h.click(control::reNum);
    h.click(control::execute);
    EXPECT_EQ(h.ids, std::vector<MessageId>{MessageId::Finished});
    EXPECT_EQ(h.listed(), (Names{file, "old.CE2"}));
    moveFile(data, dir.path() / "a.CE2");
    const auto renumbered = testing::readFile(dir.file("a.CE2"));
    EXPECT_NE(std::string(renumbered.begin(), renumbered.end()).find("\x02R1"), std::string::npos);
    moveFile(dir.path() / u8"回路ソ表.$E2", dir.path() / "a.$E2");
    EXPECT_EQ(testing::readFile(dir.file("a.$E2")), drawing) << "no backup";

    h.click(control::quit);
    EXPECT_EQ(h.saves, 1);
    EXPECT_EQ(h.stored, (Names{file, "old.CE2"}));
    EXPECT_FALSE(IsWindow(h.window)) << "Quit left the dialog open";
}

}  // namespace
}  // namespace wemb::win32
