#pragma once
// Message boxes over the dialog: the program file's base name as the caption, a single OK button
// and the icon the message asks for.

#include <windows.h>

#include <string>

#include "app/DialogController.h"

namespace wemb::win32 {

// "wemb" for C:\Tools\wemb.exe: the caption of every message box.
std::wstring programCaption();

class MessageBoxSink final : public MessageSink {
  public:
    explicit MessageBoxSink(HWND owner) : owner_(owner) {}

    void show(MessageId id, const std::string& text, MessageIcon icon,
              const std::string& detail) override;

  private:
    HWND owner_;
};

}  // namespace wemb::win32
