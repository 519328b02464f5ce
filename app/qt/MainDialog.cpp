#include "app/qt/MainDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "app/DialogControls.h"
#include "app/DialogTexts.h"
#include "app/qt/AboutDialog.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/Icons.h"
#include "app/qt/MessageBoxSink.h"
#include "app/qt/UpDownArrows.h"

namespace wemb {
namespace {

// The template's size and the margin it keeps at its right edge, in dialog units.
constexpr int dialogWidth = 263;
constexpr int dialogHeight = 165;
constexpr int rightMargin = 5;

// File names travel as the bytes the file system uses; the widgets show them decoded.
std::string fileBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}
QString fileText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string typedBytes(const QString& text) {
    return text.toStdString();
}

// The first local file of a drag, or "" when it carries none.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

template <typename Widget>
Widget* place(Widget* widget, int id, const QRect& geometry) {
    widget->setObjectName(QString::number(id));
    widget->setGeometry(geometry);
    return widget;
}

// A font wider than the template's would cut a long mode text short; such a control grows to
// the right, as far as the dialog's edge, instead.
void widenToText(QWidget* control, const DialogUnits& units) {
    const int needed = control->sizeHint().width();
    const int room = units.x(dialogWidth - rightMargin) - control->x();
    if (needed > control->width()) {
        control->resize(std::min(needed, room), control->height());
    }
}

QLabel* staticText(QWidget* parent, const char* text, const QRect& geometry, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The mnemonic moves the focus to the control that follows, as a static text's does.
    label->setBuddy(buddy);
    return label;
}

// The name field starts with "*.CE2", as in the Windows dialog, and there a typed pattern shows
// the files it matches; Qt's own dialog would look for a file of that name and say it is missing.
class DataFileDialog final : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* files = findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
        const QString typed = name != nullptr ? name->text() : QString();
        if (files != nullptr && (typed.contains(u'*') || typed.contains(u'?'))) {
            files->setNameFilters({typed});
            return;
        }
        QFileDialog::accept();
    }
};

}  // namespace

std::unique_ptr<QFileDialog> makeDataFileDialog(QWidget* parent) {
    auto dialog = std::make_unique<DataFileDialog>(parent);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(QString::fromUtf8(texts::dataFileFilter));
    // Qt's own dialog matches its filters without regard to case, so "*.ce2" also finds the
    // editor's upper-case .CE2 files; a desktop's native dialog might not.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->selectFile(QStringLiteral("*.CE2"));
    return dialog;
}

MainDialog::MainDialog(MainDialogServices services, const std::string& fileName, QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      ownMessages_(services_.messages != nullptr ? nullptr
                                                 : std::make_unique<MessageBoxSink>(this)),
      controller_(*this, services_.messages != nullptr ? *services_.messages : *ownMessages_,
                  *services_.recentFiles, services_.runJob) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(texts::mainTitle));
    setWindowIcon(programIcon());
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(dialogWidth, dialogHeight));
    setAcceptDrops(true);

    buildControls(units);
    chainTabOrder();
    bindControls();

    auto* about = new QAction(QString::fromUtf8(texts::aboutMenu), this);
    about->setObjectName(QString::number(control::aboutCommand));
    // X11 gives the program no system menu, and the context menu needs the mouse or the Menu
    // key; Alt+Space reaches the box where the window manager leaves that key to the program.
    about->setShortcuts({QKeySequence(Qt::Key_F1), QKeySequence(Qt::ALT | Qt::Key_Space)});
    connect(about, &QAction::triggered, this, &MainDialog::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    controller_.open(fileName);
    fileField_->lineEdit()->deselect();
    execute_->setFocus(Qt::OtherFocusReason);
}

MainDialog::~MainDialog() = default;

void MainDialog::buildControls(const DialogUnits& units) {
    execute_ = place(new QPushButton(QString::fromUtf8(texts::execute), this), control::execute,
                     units.rect(170, 110, 50, 15));
    execute_->setDefault(true);

    fileField_ = new QComboBox(this);
    fileField_->setEditable(true);
    fileField_->setInsertPolicy(QComboBox::NoInsert);
    fileField_->setCompleter(nullptr);  // the field takes exactly what is typed
    fileField_->setMaxVisibleItems(4);
    // The template's 70 units include the open list; closed, the field is a button's height.
    place(fileField_, control::fileField, units.rect(5, 15, 205, 15));
    staticText(this, texts::fileLabel, units.rect(5, 5, 26, 8), fileField_);

    browse_ = place(new QPushButton(QString::fromUtf8(texts::browse), this), control::browse,
                    units.rect(220, 15, 35, 15));

    locked_ = place(new QRadioButton(QString::fromUtf8(texts::autonumLocked), this),
                    control::autonumLocked, units.rect(10, 40, 230, 10));
    original_ = place(new QRadioButton(QString::fromUtf8(texts::autonumOriginal), this),
                      control::autonumOriginal, units.rect(10, 55, 230, 10));
    reNum_ = place(new QRadioButton(QString::fromUtf8(texts::reNum), this), control::reNum,
                   units.rect(10, 85, 230, 10));
    // The mode group is outside the tab chain: a mode is chosen by mouse or mnemonic.
    for (QRadioButton* mode : {locked_, original_, reNum_}) {
        mode->setFocusPolicy(Qt::ClickFocus);
        widenToText(mode, units);
    }

    initialNumber_ =
        place(new QLineEdit(this), control::initialNumber, units.rect(90, 110, 30, 15));
    staticText(this, texts::initialNumberLabel, units.rect(25, 110, 60, 22), initialNumber_);
    initialArrows_ =
        place(new UpDownArrows(this), control::initialArrows, units.rect(121, 110, 9, 15));
    initialArrows_->setBuddy(initialNumber_);

    step_ = place(new QLineEdit(this), control::step, units.rect(90, 136, 30, 15));
    staticText(this, texts::stepLabel, units.rect(25, 136, 60, 21), step_);
    stepArrows_ = place(new UpDownArrows(this), control::stepArrows, units.rect(121, 136, 9, 15));
    stepArrows_->setBuddy(step_);

    quit_ = place(new QPushButton(QString::fromUtf8(texts::quit), this), control::quit,
                  units.rect(170, 136, 50, 15));

    // Never shown and never read; it stays in the dialog because the template has it.
    byPosition_ = place(new QCheckBox(QString::fromUtf8(texts::byPosition), this),
                        control::byPosition, units.rect(130, 155, 110, 8));
    byPosition_->setChecked(false);
    byPosition_->hide();

    dependenceName_ = place(new QCheckBox(QString::fromUtf8(texts::dependenceName), this),
                            control::dependenceName, units.rect(30, 70, 210, 10));
    widenToText(dependenceName_, units);

    // Dropped files go to the dialog, which takes their paths, not to the fields as text.
    for (QLineEdit* edit : {fileField_->lineEdit(), initialNumber_, step_}) {
        edit->setAcceptDrops(false);
    }
}

void MainDialog::chainTabOrder() {
    QWidget* const chain[] = {execute_, fileField_, browse_,        initialNumber_,
                              step_,    quit_,      dependenceName_};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void MainDialog::bindControls() {
    connect(execute_, &QPushButton::clicked, this, [this] { controller_.execute(); });
    connect(quit_, &QPushButton::clicked, this, &MainDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &MainDialog::browse);
    connect(fileField_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { controller_.editFileName(fileBytes(text)); });
    connect(initialNumber_, &QLineEdit::textChanged, this, [this](const QString& text) {
        controller_.editNumber(NumberField::InitialNumber, typedBytes(text));
    });
    connect(step_, &QLineEdit::textChanged, this, [this](const QString& text) {
        controller_.editNumber(NumberField::Step, typedBytes(text));
    });
    connect(initialArrows_, &UpDownArrows::stepped, this,
            [this](int delta) { controller_.stepNumber(NumberField::InitialNumber, delta); });
    connect(stepArrows_, &UpDownArrows::stepped, this,
            [this](int delta) { controller_.stepNumber(NumberField::Step, delta); });
    connect(dependenceName_, &QCheckBox::toggled, this,
            [this](bool checked) { controller_.setDependenceNameMode(checked); });
    const std::pair<QRadioButton*, NumberingMode> modes[] = {
        {locked_, NumberingMode::AutonumLocked},
        {original_, NumberingMode::AutonumOriginal},
        {reNum_, NumberingMode::ReNum},
    };
    for (const auto& [button, mode] : modes) {
        connect(button, &QRadioButton::clicked, this,
                [this, mode = mode] { controller_.chooseMode(mode); });
    }
}

void MainDialog::display(const DialogState& state) {
    const QSignalBlocker blockFile(fileField_);
    QStringList names;
    for (const std::string& name : state.recentFiles) {
        names.push_back(fileText(name));
    }
    QStringList shown;
    for (int i = 0; i < fileField_->count(); ++i) {
        shown.push_back(fileField_->itemText(i));
    }
    if (shown != names) {
        fileField_->clear();
        fileField_->addItems(names);
    }
    const QString fileName = fileText(state.fileName);
    if (fileField_->currentText() != fileName) {
        fileField_->setEditText(fileName);
    }

    const std::pair<QLineEdit*, const std::string*> numbers[] = {
        {initialNumber_, &state.initialNumberText},
        {step_, &state.stepText},
    };
    for (const auto& [edit, text] : numbers) {
        const QSignalBlocker blockNumber(edit);
        if (edit->text().toStdString() != *text) {
            edit->setText(QString::fromStdString(*text));
        }
    }

    const QSignalBlocker blockLocked(locked_);
    const QSignalBlocker blockOriginal(original_);
    const QSignalBlocker blockReNum(reNum_);
    locked_->setChecked(state.mode == NumberingMode::AutonumLocked);
    original_->setChecked(state.mode == NumberingMode::AutonumOriginal);
    reNum_->setChecked(state.mode == NumberingMode::ReNum);

    const QSignalBlocker blockDependence(dependenceName_);
    dependenceName_->setChecked(state.dependenceNameMode);
    dependenceName_->setEnabled(state.dependenceNameEnabled);
}

void MainDialog::selectNumberField(NumberField field) {
    QLineEdit* edit = numberEdit(field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

QLineEdit* MainDialog::numberEdit(NumberField field) const {
    return field == NumberField::InitialNumber ? initialNumber_ : step_;
}

void MainDialog::reject() {
    controller_.quit();
    QDialog::reject();
}

void MainDialog::browse() {
    QString chosen;
    if (services_.chooseDataFile) {
        chosen = services_.chooseDataFile(this);
    } else {
        const std::unique_ptr<QFileDialog> dialog = makeDataFileDialog(this);
        if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
            chosen = dialog->selectedFiles().front();
        }
    }
    if (!chosen.isEmpty()) {
        controller_.chooseFile(fileBytes(chosen));
    }
}

void MainDialog::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    controller_.chooseFile(fileBytes(path));
    event->acceptProposedAction();
}

}  // namespace wemb
