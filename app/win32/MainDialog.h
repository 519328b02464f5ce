#pragma once
// The program's one window on Windows, made from dialog template 102 of the resources. What its
// controls do is DialogController's; this class binds the native controls to it and adds what a
// native dialog does besides: the system menu's version item, the icon drawn while minimized,
// the common file-open dialog of Browse, and data files dropped onto the window.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/DialogController.h"

namespace wemb::win32 {

struct MainDialogServices {
    RecentFileStore* recentFiles = nullptr;  // required
    JobRunner runJob;                        // required
    MessageSink* messages = nullptr;         // null: message boxes over the dialog
    // Browse: the chosen full path, "" when cancelled. Empty: the common file-open dialog.
    std::function<std::string(HWND owner)> chooseDataFile;
};

class MainDialog final : private DialogView {
  public:
    // `fileName` (from the command line) goes into the file field when the dialog opens.
    MainDialog(HINSTANCE instance, MainDialogServices services, std::string fileName);
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // Shows the dialog and returns when the user has quit.
    void run();
    // Makes the dialog, hidden, and returns at once, for a caller with its own message loop;
    // Quit then destroys the window. Null if the window could not be made.
    HWND open();

    HWND window() const { return window_; }

  private:
    static void registerControls();
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    void initialise();
    void appendAboutItem();
    void command(int id, int code);
    void quit();
    void browse();
    void takeDroppedFile(HDROP drop);
    bool paintMinimized();

    void display(const DialogState& state) override;
    void selectNumberField(NumberField field) override;
    void showFileField(const DialogState& state);

    HINSTANCE instance_;
    MainDialogServices services_;
    std::string fileName_;
    std::unique_ptr<MessageSink> ownMessages_;
    std::unique_ptr<DialogController> controller_;
    HWND window_ = nullptr;
    bool modal_ = true;
    bool displaying_ = false;  // control notifications caused by display() are not the user's
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

// Size, Maximize and Restore greyed in `menu`, the window's system menu: the dialog has one size.
void greySizeItems(HMENU menu);

}  // namespace wemb::win32
