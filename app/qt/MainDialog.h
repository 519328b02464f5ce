#pragma once
// The program's one window, laid out as dialog template 102: the file field with its recent
// names, the three numbering modes, the option for parts without a name, the initial number and
// the step. Every control carries its template identifier as its objectName ("1", "1001", ...).
// What the controls do is DialogController's; this class only binds them to it.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "app/DialogController.h"

class QCheckBox;
class QFileDialog;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace wemb {

class DialogUnits;
class UpDownArrows;

struct MainDialogServices {
    RecentFileStore* recentFiles = nullptr;  // required
    JobRunner runJob;                        // required
    MessageSink* messages = nullptr;         // null: message boxes over the dialog
    // The file dialog of Browse: the chosen full path, or "" when cancelled. Empty: Qt's own.
    std::function<QString(QWidget* parent)> chooseDataFile;
};

class MainDialog : public QDialog, private DialogView {
    Q_OBJECT

  public:
    // Opens as the dialog does: the recent names loaded, `fileName` (from the command line) or
    // the most recent name in the field, the defaults everywhere else, Execute focused.
    MainDialog(MainDialogServices services, const std::string& fileName, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Quit, Esc and the close button all end here: the recent names are kept first.
    void reject() override;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void display(const DialogState& state) override;
    void selectNumberField(NumberField field) override;

    void buildControls(const DialogUnits& units);
    void bindControls();
    void chainTabOrder();
    void browse();
    void showAbout();
    QLineEdit* numberEdit(NumberField field) const;

    MainDialogServices services_;
    std::unique_ptr<MessageSink> ownMessages_;
    DialogController controller_;

    QPushButton* execute_ = nullptr;
    QComboBox* fileField_ = nullptr;
    QPushButton* browse_ = nullptr;
    QRadioButton* locked_ = nullptr;
    QRadioButton* original_ = nullptr;
    QRadioButton* reNum_ = nullptr;
    QLineEdit* initialNumber_ = nullptr;
    UpDownArrows* initialArrows_ = nullptr;
    QLineEdit* step_ = nullptr;
    UpDownArrows* stepArrows_ = nullptr;
    QPushButton* quit_ = nullptr;
    QCheckBox* byPosition_ = nullptr;
    QCheckBox* dependenceName_ = nullptr;
};

// The Browse file dialog: existing files only, one filter that matches .CE2 and .ce2 alike.
std::unique_ptr<QFileDialog> makeDataFileDialog(QWidget* parent);

}  // namespace wemb
