#pragma once
// The version box, dialog template 100: the program's icon, its version and a few credit lines.

#include <QDialog>

namespace wemb {

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace wemb
