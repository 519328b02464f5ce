// The native dialog as Windows shows it, driven through window messages: the template's
// controls with their ids, texts and places, the tab chain, the opening state, the mode change,
// the system menu and the version box, a dropped file, a real job run by a click on Execute, and
// the recent names kept on Quit. Opened modeless, so that the test keeps its own thread of control.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>

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

std::string textOf(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return platform::narrowed(buffer);
}

// Left, top, right, bottom in pixels of a place in dialog units (left, top, width, height) as
// the dialog's font makes it: Windows scales a control's place and its size each on their own.
std::array<LONG, 4> pixels(HWND dialog, RECT units) {
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

// The dialog over recorded messages and settings, running real jobs; Browse chooses c.CE2.
struct Harness : testing::RecordedDialogServices {
    Harness(Names names, const std::string& fileName)
        : RecordedDialogServices(std::move(names)),
          dialog(GetModuleHandleW(nullptr),
                 {this, fileSystemJobRunner({}), this, [](HWND) { return std::string("c.CE2"); }},
                 fileName) {}
    HWND item(int id) const { return GetDlgItem(window, id); }
    void click(int id) const { SendMessageW(item(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
    // The file field's text, then the names in its list.
    Names names() const {
        Names names{textOf(item(control::fileField))};
        for (wchar_t name[512];
             SendMessageW(item(control::fileField), CB_GETLBTEXT, names.size() - 1,
                          reinterpret_cast<LPARAM>(name)) != CB_ERR;) {
            names.push_back(platform::narrowed(name));
        }
        return names;
    }

    MainDialog dialog;
    HWND window = dialog.open();
};

// How a control's pixels may differ from its template place: a closed drop-down is as high as
// its font makes it (the template's 70 include the open list), and a mode text grows to the
// right, up to the dialog's margin, when the font is wider than the template's; Wine keeps an
// up-down control at least as wide as its arrows.
enum class Fit { Exact, ClosedList, Grows };

TEST(Win32MainDialog, TemplateOpeningStateTabChainAndModes) {
    using namespace control;
    constexpr LONG tab = WS_TABSTOP | WS_VISIBLE, shown = WS_VISIBLE;
    // Places in dialog units: left, top, width, height.
    // clang-format off
    const struct { int id; const char *kind, *text; RECT units; LONG style; Fit fit = Fit::Exact; } rows[] = {
        {execute, "Button", texts::execute, {170, 110, 50, 15}, tab},
        {-1, "Static", texts::fileLabel, {5, 5, 26, 8}, shown},
        {fileField, "ComboBox", "ソース表.CE2", {5, 15, 205, 70}, tab, Fit::ClosedList},
        {browse, "Button", texts::browse, {220, 15, 35, 15}, tab},
        // The button control makes the checked one of a radio group its tab stop.
        {autonumLocked, "Button", texts::autonumLocked, {10, 40, 230, 10}, tab, Fit::Grows},
        {autonumOriginal, "Button", texts::autonumOriginal, {10, 55, 230, 10}, shown, Fit::Grows},
        {reNum, "Button", texts::reNum, {10, 85, 230, 10}, shown, Fit::Grows},
        {-1, "Static", texts::initialNumberLabel, {25, 110, 60, 22}, shown},
        {initialNumber, "Edit", "1", {90, 110, 30, 15}, tab},
        {initialArrows, "msctls_updown32", "", {121, 110, 9, 15}, shown, Fit::Grows},
        {-1, "Static", texts::stepLabel, {25, 136, 60, 21}, shown},
        {step, "Edit", "1", {90, 136, 30, 15}, tab},
        {stepArrows, "msctls_updown32", "", {121, 136, 9, 15}, shown, Fit::Grows},
        {quit, "Button", texts::quit, {170, 136, 50, 15}, tab},
        {byPosition, "Button", texts::byPosition, {130, 155, 110, 8}, WS_TABSTOP},
        {dependenceName, "Button", texts::dependenceName, {30, 70, 210, 10}, tab, Fit::Grows},
    };
    // clang-format on
    Harness h({"b.CE2", "a.CE2"}, "ソース表.CE2");
    const LONG edge = pixels(h.window, {0, 0, 263 - 5, 0})[2];
    for (HWND child = GetWindow(h.window, GW_CHILD); const auto& row : rows) {
        wchar_t kind[64] = {};
        GetClassNameW(child, kind, 64);
        const auto want = pixels(h.window, row.units);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, h.window, reinterpret_cast<POINT*>(&r), 2);
        const bool grown = row.fit == Fit::Grows && r.right >= want[2] && r.right <= edge;
        const std::array place{r.left, r.top, grown ? want[2] : r.right,
                               row.fit == Fit::ClosedList ? want[3] : r.bottom};
        EXPECT_EQ(std::tuple(static_cast<short>(GetDlgCtrlID(child)), textOf(child), place,
                             _wcsicmp(kind, platform::widened(row.kind).c_str()),
                             GetWindowLongW(child, GWL_STYLE) & tab),
                  std::tuple(row.id, row.text, want, 0, row.style));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    // A pop-up with caption, system menu and minimize box, a modal frame, one size, and a
    // button on the task bar.
    constexpr DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME,
                    sizing = WS_THICKFRAME | WS_MAXIMIZEBOX;
    EXPECT_EQ(GetWindowLongW(h.window, GWL_STYLE) & (wanted | sizing), wanted);
    EXPECT_NE(GetWindowLongW(h.window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(textOf(h.window), texts::mainTitle);
    RECT area;
    GetClientRect(h.window, &area);
    EXPECT_EQ(pixels(h.window, {0, 0, 263, 165}), (std::array{0L, 0L, area.right, area.bottom}));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h.window, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(platform::narrowed(font.lfFaceName), texts::fontFace);

    // The table's tab stops show Autonum-Locked checked, the first mode row the option unchecked,
    // its file field the command line's name. A name chosen from the list, told by notification,
    // is the one a job reads: a.CE2 is no file here, so it leaves the list. Browse then fills in
    // the field.
    SendMessageW(h.item(fileField), CB_SETCURSEL, 1, 0);
    SendMessageW(h.window, WM_COMMAND, MAKEWPARAM(fileField, CBN_SELCHANGE), 0);
    h.click(execute);
    h.click(browse);
    EXPECT_EQ(h.names(), (Names{"c.CE2", "b.CE2"}));

    h.click(autonumOriginal);  // the tab chain stops on the checked mode
    for (HWND at = h.item(execute);
         const int id :
         {fileField, browse, autonumOriginal, initialNumber, step, quit, dependenceName, execute}) {
        EXPECT_EQ(GetDlgCtrlID(at = GetNextDlgTabItem(h.window, at, FALSE)), id);
    }
    // What the controller then does is its own test's; here only that clicks reach it and what
    // it says reaches the controls.
    // clang-format off
    const struct { const char* fault; int click; bool enabled; } modes[] = {
        {"the option not bound", dependenceName, true},
        {"ReNum leaves the option enabled", reNum, false},
    };
    // clang-format on
    for (const auto& row : modes) {
        h.click(row.click);
        EXPECT_EQ(IsWindowEnabled(h.item(dependenceName)) != 0, row.enabled) << row.fault;
        EXPECT_TRUE(h.checked(dependenceName) && h.checked(row.click)) << row.fault;
    }
    // A refused number is selected to be typed over.
    SetDlgItemTextW(h.window, initialNumber, L"0");
    h.click(execute);
    EXPECT_EQ(SendMessageW(h.item(initialNumber), EM_GETSEL, 0, 0), MAKELONG(0, 1));
    // Up-down arrows step within their range.
    SendMessageW(h.item(stepArrows), UDM_SETPOS32, 0, 50);
    EXPECT_EQ(SendMessageW(h.item(stepArrows), UDM_GETPOS32, 0, 0), 20);
}

// A Japanese name whose Shift-JIS bytes end in a backslash ("ソ", "表"), dropped from Explorer as
// a DROPFILES block with wide names, from the field to the disk; then the names kept on Quit. The
// C library cannot open such a name in a Japanese locale, so the test writes and reads the file
// under an ASCII name and renames it.
TEST(Win32MainDialog, MenuVersionBoxIconsThenADroppedFileRunsAJobAndQuitKeepsTheNames) {
    testing::TempDirectory dir;
    const std::filesystem::path data = dir.path() / u8"回路ソ表.CE2";
    const auto drawing = gen::DataFileBuilder().header().part({{}, {}, "10k", "R5", "RES"}).bytes();
    std::filesystem::rename(dir.write("a.CE2", drawing), data);
    Harness h({"old.CE2"}, "");
    const HMENU menu = GetSystemMenu(h.window, FALSE);
    wchar_t item[128] = {};
    GetMenuStringW(menu, control::aboutCommand, item, 128, MF_BYCOMMAND);
    EXPECT_EQ(platform::narrowed(item), texts::aboutMenu);
    SendMessageW(h.window, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    const UINT size = GetMenuState(menu, SC_SIZE, 0), maximize = GetMenuState(menu, SC_MAXIMIZE, 0);
    EXPECT_NE(size & maximize & GetMenuState(menu, SC_RESTORE, 0) & MF_GRAYED, 0u);
    // Both open centred: the dialog on the work area, the version box over the dialog. The box is
    // modal: a timer in its message loop notes its place and closes it.
    static RECT aboutPlace{};
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        const HWND box = FindWindowW(L"#32770", platform::widened(texts::aboutTitle).c_str());
        GetWindowRect(box, &aboutPlace);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(h.window, WM_SYSCOMMAND, control::aboutCommand, 0);
    RECT work, place;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(h.window, &place);
    for (const auto& [inner, outer] : {std::pair{place, work}, std::pair{aboutPlace, place}}) {
        EXPECT_NEAR(inner.left + inner.right, outer.left + outer.right, 1);
        EXPECT_NEAR(inner.top + inner.bottom, outer.top + outer.bottom, 1);
    }
    const auto big = SendMessageW(h.window, WM_GETICON, ICON_BIG, 0);
    EXPECT_TRUE(big != 0 && big == SendMessageW(h.window, WM_QUERYDRAGICON, 0, 0) &&
                SendMessageW(h.window, WM_GETICON, ICON_SMALL, 0) != 0);
    // Message boxes are captioned with the program file's name, without directory or extension.
    EXPECT_EQ(programCaption(), L"wemb_win32_tests");

    const std::size_t length = data.native().size();  // fixed memory: the handle is the address
    auto* drop = static_cast<DROPFILES*>(GlobalAlloc(GPTR, sizeof(DROPFILES) + 2 * length + 4));
    *drop = {.pFiles = sizeof(DROPFILES), .fWide = TRUE};
    data.native().copy(reinterpret_cast<wchar_t*>(drop + 1), length);
    SendMessageW(h.window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    h.click(control::reNum);
    h.click(control::execute);
    const std::string file = platform::narrowed(data.native());
    EXPECT_EQ(h.names(), (Names{file, file, "old.CE2"}));
    std::filesystem::rename(data, dir.path() / "a.CE2");
    EXPECT_EQ(testing::readFile(dir.file("a.CE2")),
              gen::DataFileBuilder().header().part({{}, {}, "10k", "R1", "RES"}).bytes());
    h.click(control::quit);
    EXPECT_EQ(std::tuple(h.saves, h.stored), std::tuple(1, Names{file, "old.CE2"}));
    EXPECT_FALSE(IsWindow(h.window)) << "Quit left the dialog open";
}

}  // namespace
}  // namespace wemb::win32
