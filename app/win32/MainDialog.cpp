#include "app/win32/MainDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/DialogControls.h"
#include "app/DialogTexts.h"
#include "app/win32/DataFileDialog.h"
#include "app/win32/MessageBoxSink.h"
#include "platform/windows/WideText.h"

namespace wemb::win32 {
namespace {

// The template's width and the margin it keeps at its right edge, in dialog units.
constexpr int dialogWidth = 263;
constexpr int rightMargin = 5;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string controlText(HWND dialog, int id) {
    return platform::narrowed(windowText(GetDlgItem(dialog, id)));
}

void setText(HWND control, const std::string& text) {
    const std::wstring wanted = platform::widened(text);
    if (windowText(control) != wanted) {
        SetWindowTextW(control, wanted.c_str());
    }
}

std::wstring listItem(HWND comboBox, int index) {
    const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(comboBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int modeControl(NumberingMode mode) {
    switch (mode) {
        case NumberingMode::AutonumLocked:
            return control::autonumLocked;
        case NumberingMode::AutonumOriginal:
            return control::autonumOriginal;
        case NumberingMode::ReNum:
            return control::reNum;
    }
    return control::autonumLocked;
}

// A font wider than the template's (a stand-in for the template's own) cuts a long mode text
// short; such a button grows to the right, as far as the dialog's margin, instead.
void widenToText(HWND dialog, HWND button) {
    SIZE ideal{};
    if (!SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) {
        return;
    }
    RECT place;
    GetWindowRect(button, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    RECT edge{0, 0, dialogWidth - rightMargin, 0};
    MapDialogRect(dialog, &edge);
    const LONG width = std::min(ideal.cx, edge.right - place.left);
    if (width > place.right - place.left) {
        SetWindowPos(button, nullptr, 0, 0, width, place.bottom - place.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A dialog's template places it at the corner of its owner; it opens centred over its owner, or
// over the work area of its screen when it has none.
void centre(HWND window) {
    RECT area;
    const HWND owner = GetWindow(window, GW_OWNER);
    if (owner != nullptr && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        MONITORINFO monitor{sizeof monitor};
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    RECT place;
    GetWindowRect(window, &place);
    const LONG left = (area.left + area.right - (place.right - place.left)) / 2;
    const LONG top = (area.top + area.bottom - (place.bottom - place.top)) / 2;
    SetWindowPos(window, nullptr, std::max(left, area.left), std::max(top, area.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK aboutProcedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        centre(window);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void greySizeItems(HMENU menu) {
    for (const UINT item : {SC_SIZE, SC_MAXIMIZE, SC_RESTORE}) {
        EnableMenuItem(menu, item, MF_BYCOMMAND | MF_GRAYED);
    }
}

MainDialog::MainDialog(HINSTANCE instance, MainDialogServices services, std::string fileName)
    : instance_(instance), services_(std::move(services)), fileName_(std::move(fileName)) {}

MainDialog::~MainDialog() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
}

// The template's up-down controls are of a class that exists only once asked for.
void MainDialog::registerControls() {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}

void MainDialog::run() {
    registerControls();
    modal_ = true;
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(resource::mainDialog), nullptr, procedure,
                    reinterpret_cast<LPARAM>(this));
}

HWND MainDialog::open() {
    registerControls();
    modal_ = false;
    return CreateDialogParamW(instance_, MAKEINTRESOURCEW(resource::mainDialog), nullptr, procedure,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK MainDialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<MainDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
    }
    auto* dialog = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        dialog->window_ = nullptr;
        return FALSE;
    }
    return dialog->handle(message, wParam, lParam);
}

INT_PTR MainDialog::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            initialise();
            return TRUE;  // the focus goes to the first control in tab order, Execute
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == control::aboutCommand) {
                DialogBoxParamW(instance_, MAKEINTRESOURCEW(resource::aboutDialog), window_,
                                aboutProcedure, 0);
                return TRUE;
            }
            greySizeItems(GetSystemMenu(window_, FALSE));
            return FALSE;
        case WM_INITMENU:
        case WM_INITMENUPOPUP:
            // Windows sets the items by the window's state as the menu opens; greyed again here.
            greySizeItems(GetSystemMenu(window_, FALSE));
            return FALSE;
        case WM_PAINT:
            return paintMinimized() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(bigIcon_);
        case WM_DROPFILES:
            takeDroppedFile(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void MainDialog::initialise() {
    if (services_.messages == nullptr) {
        ownMessages_ = std::make_unique<MessageBoxSink>(window_);
    }
    MessageSink& messages = services_.messages != nullptr ? *services_.messages : *ownMessages_;
    DialogView& view = *this;
    controller_ = std::make_unique<DialogController>(view, messages, *services_.recentFiles,
                                                     services_.runJob);
    appendAboutItem();
    bigIcon_ = LoadIconW(instance_, MAKEINTRESOURCEW(resource::largeIcon));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(resource::smallIcon),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    for (const auto& [arrows, field] :
         {std::pair{control::initialArrows, NumberField::InitialNumber},
          std::pair{control::stepArrows, NumberField::Step}}) {
        const NumberRange range = rangeOf(field);
        SendDlgItemMessageW(window_, arrows, UDM_SETRANGE32, range.low, range.high);
        SendDlgItemMessageW(window_, arrows, UDM_SETPOS32, 0, range.low);
    }
    for (const int button : {control::autonumLocked, control::autonumOriginal, control::reNum,
                             control::dependenceName}) {
        widenToText(window_, GetDlgItem(window_, button));
    }
    centre(window_);
    CheckDlgButton(window_, control::byPosition, BST_UNCHECKED);
    DragAcceptFiles(window_, TRUE);
    controller_->open(fileName_);
    SendDlgItemMessageW(window_, control::fileField, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
}

void MainDialog::appendAboutItem() {
    const wchar_t* text = nullptr;
    // Length 0 asks for a pointer into the resource itself, which is not terminated.
    const int length =
        LoadStringW(instance_, resource::aboutMenuString, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0) {
        return;
    }
    const std::wstring item(text, static_cast<std::size_t>(length));
    const HMENU menu = GetSystemMenu(window_, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, control::aboutCommand, item.c_str());
}

void MainDialog::command(int id, int code) {
    if (displaying_) {
        return;
    }
    switch (id) {
        case control::execute:
            controller_->execute();
            return;
        case control::quit:
            quit();
            return;
        case control::browse:
            browse();
            return;
        case control::autonumLocked:
            controller_->chooseMode(NumberingMode::AutonumLocked);
            return;
        case control::autonumOriginal:
            controller_->chooseMode(NumberingMode::AutonumOriginal);
            return;
        case control::reNum:
            controller_->chooseMode(NumberingMode::ReNum);
            return;
        case control::dependenceName:
            controller_->setDependenceNameMode(IsDlgButtonChecked(window_, id) == BST_CHECKED);
            return;
        case control::fileField:
            if (code == CBN_EDITCHANGE) {
                controller_->editFileName(controlText(window_, id));
            } else if (code == CBN_SELCHANGE) {
                // The field takes the chosen entry only after this notification.
                const HWND field = GetDlgItem(window_, id);
                const auto chosen = static_cast<int>(SendMessageW(field, CB_GETCURSEL, 0, 0));
                controller_->editFileName(platform::narrowed(listItem(field, chosen)));
            }
            return;
        case control::initialNumber:
        case control::step:
            if (code == EN_CHANGE) {
                const NumberField field =
                    id == control::initialNumber ? NumberField::InitialNumber : NumberField::Step;
                controller_->editNumber(field, controlText(window_, id));
            }
            return;
        default:
            return;
    }
}

void MainDialog::quit() {
    controller_->quit();
    if (modal_) {
        EndDialog(window_, IDCANCEL);
    } else {
        DestroyWindow(window_);
    }
}

void MainDialog::browse() {
    const std::string chosen =
        services_.chooseDataFile ? services_.chooseDataFile(window_) : chooseDataFile(window_);
    if (!chosen.empty()) {
        controller_->chooseFile(chosen);
    }
}

void MainDialog::takeDroppedFile(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, 0, name.data(), length + 1);
    DragFinish(drop);
    name.resize(length);
    if (!name.empty()) {
        controller_->chooseFile(platform::narrowed(name));
    }
}

bool MainDialog::paintMinimized() {
    if (!IsIconic(window_)) {
        return false;
    }
    PAINTSTRUCT paint;
    const HDC context = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(window_, &client);
    const int left = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int top = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(context, left, top, bigIcon_);
    EndPaint(window_, &paint);
    return true;
}

void MainDialog::display(const DialogState& state) {
    displaying_ = true;
    showFileField(state);
    setText(GetDlgItem(window_, control::initialNumber), state.initialNumberText);
    setText(GetDlgItem(window_, control::step), state.stepText);
    CheckRadioButton(window_, control::autonumLocked, control::reNum, modeControl(state.mode));
    CheckDlgButton(window_, control::dependenceName,
                   state.dependenceNameMode ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(window_, control::dependenceName), state.dependenceNameEnabled);
    displaying_ = false;
}

void MainDialog::showFileField(const DialogState& state) {
    const HWND field = GetDlgItem(window_, control::fileField);
    std::vector<std::wstring> names;
    for (const std::string& name : state.recentFiles) {
        names.push_back(platform::widened(name));
    }
    std::vector<std::wstring> listed;
    const auto count = static_cast<int>(SendMessageW(field, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        listed.push_back(listItem(field, i));
    }
    if (listed != names) {
        SendMessageW(field, CB_RESETCONTENT, 0, 0);
        for (const std::wstring& name : names) {
            SendMessageW(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
    setText(field, state.fileName);
}

void MainDialog::selectNumberField(NumberField field) {
    const HWND edit = GetDlgItem(
        window_, field == NumberField::InitialNumber ? control::initialNumber : control::step);
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace wemb::win32
