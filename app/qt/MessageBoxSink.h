#pragma once
// The run command's messages as modal message boxes: the program's name as the caption, one OK
// button, and the icon the message asks for.

#include <QString>

#include "app/DialogController.h"

class QWidget;

namespace wemb {

// The caption of every message box: the program file's name without its extension.
QString programCaption();

class MessageBoxSink final : public MessageSink {
  public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}

    void show(MessageId id, const std::string& text, MessageIcon icon,
              const std::string& detail) override;

  private:
    QWidget* parent_;
};

}  // namespace wemb
