// The Qt dialog as the user meets it: the template's controls, the tab chain, and that each
// control is bound to the controller (what the controller then does is tested without widgets).
// Also the Qt-only start-up helpers.

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogControls.h"
#include "app/DialogTexts.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/MainDialog.h"
#include "app/qt/NumberingApp.h"
#include "tests/support/RecordedDialogServices.h"

namespace wemb {
namespace {

using Names = std::vector<std::string>;

// One shown dialog over fakes: the messages and settings file are recorded, every job finishes,
// Browse answers `browseAnswer`.
struct Harness : wemb::testing::RecordedDialogServices {
    explicit Harness(Names names = {}, const std::string& fileName = {})
        : RecordedDialogServices(std::move(names)) {
        MainDialogServices services{this,
                                    [this](const JobRequest& request, JobEvents&) {
                                        requests.push_back(request);
                                        return JobReport{.outcome = MessageId::Finished};
                                    },
                                    this, [this](QWidget*) { return browseAnswer; }};
        dialog = std::make_unique<MainDialog>(std::move(services), fileName);
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog.get());
    }
    template <typename Widget = QWidget>
    Widget* control(int id) const {
        auto* widget = dialog->findChild<Widget*>(QString::number(id));
        if (widget == nullptr) {
            qFatal("control %d missing", id);
        }
        return widget;
    }
    QComboBox* fileField() const { return control<QComboBox>(control::fileField); }
    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < fileField()->count(); ++i) {
            names.push_back(fileField()->itemText(i));
        }
        return names;
    }
    void click(int id) const { QTest::mouseClick(control(id), Qt::LeftButton); }

    std::vector<JobRequest> requests;
    QString browseAnswer;
    std::unique_ptr<MainDialog> dialog;
};

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsReachTheJobAndEnterRunsIt();
    void tabOrder();
    void arrowsAndUpKeyStep();
    void quitEscAndCloseSave();
    void dataFileDialogFindsUpperCaseNames();
    void dropPutsPathInField();
    void aboutBoxFromTheKeyboard();
    void startUpHelpers();
};

void MainDialogTest::controlsReachTheJobAndEnterRunsIt() {
    // Each radio button, the option and Browse are bound: the job gets what was clicked. Enter
    // runs it from any field: the editable file field and the number fields must not swallow it.
    const int modes[] = {control::autonumLocked, control::autonumOriginal, control::reNum};
    const int focus[] = {control::execute, control::step, control::fileField};
    for (int i = 0; i < 3; ++i) {
        Harness h({"a.CE2"});
        h.browseAnswer = QStringLiteral("/d/amp.CE2");
        h.click(control::browse);
        h.click(control::dependenceName);
        h.click(modes[i]);
        h.control(focus[i])->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(h.requests.size(), 1u);
        QCOMPARE(h.requests[0].fileName, std::string("/d/amp.CE2"));
        QCOMPARE(int(h.requests[0].mode), modes[i] - control::autonumLocked);
        QVERIFY(h.requests[0].dependenceNameMode);
        QCOMPARE(h.control(control::dependenceName)->isEnabled(), modes[i] != control::reNum);
        QVERIFY(!h.control(control::byPosition)->isVisible());
        QCOMPARE(h.ids, std::vector<MessageId>{MessageId::Finished});
        QVERIFY(h.dialog->isVisible());
        QCOMPARE(h.listed(), (QStringList{"/d/amp.CE2", "a.CE2"}));
    }
}

void MainDialogTest::tabOrder() {
    Harness h({"a.CE2"});
    QCOMPARE(QApplication::focusWidget(), h.control(control::execute));
    for (const int id : {control::fileField, control::browse, control::initialNumber, control::step,
                         control::quit, control::dependenceName, control::execute}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // The file field's own edit line stands for the combo box.
        while (focused != nullptr && focused->objectName().isEmpty()) {
            focused = focused->parentWidget();
        }
        QCOMPARE(focused != nullptr ? focused->objectName() : QString(), QString::number(id));
    }
}

void MainDialogTest::arrowsAndUpKeyStep() {
    // Clicked where the user sees them: the upper arrow, then the lower one.
    Harness h;
    QTest::mouseClick(h.control(control::initialArrows)->childAt(1, 1), Qt::LeftButton);
    QCOMPARE(h.control<QLineEdit>(control::initialNumber)->text(), QStringLiteral("2"));
    auto* arrows = h.control(control::stepArrows);
    auto* step = h.control<QLineEdit>(control::step);
    step->setText("4");
    QTest::mouseClick(arrows->childAt(1, arrows->height() - 2), Qt::LeftButton);
    QCOMPARE(step->text(), QStringLiteral("3"));
    QTest::keyClick(step, Qt::Key_Up);
    QCOMPARE(step->text(), QStringLiteral("4"));
}

void MainDialogTest::quitEscAndCloseSave() {
    for (const char* how : {"Quit", "Esc", "close"}) {
        Harness h({"a.CE2"}, "b.CE2");
        h.click(control::execute);
        QCOMPARE(h.saves, 0);
        if (how == std::string("Quit")) {
            h.click(control::quit);
        } else if (how == std::string("Esc")) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            h.dialog->close();
        }
        QVERIFY2(h.saves == 1, how);
        QCOMPARE(h.stored, (Names{"b.CE2", "a.CE2"}));
        QVERIFY2(!h.dialog->isVisible(), how);
        QCOMPARE(h.dialog->result(), int(QDialog::Rejected));
    }
}

void MainDialogTest::dataFileDialogFindsUpperCaseNames() {
    const std::unique_ptr<QFileDialog> dialog = makeDataFileDialog(nullptr);
    QCOMPARE(dialog->nameFilters(), QStringList{"Quil Files (*.ce2)"});
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    QCOMPARE(name->text(), QStringLiteral("*.CE2"));
    // Enter on a pattern filters the list; a "file not found" box would be closed by the timer.
    dialog->show();
    QTimer::singleShot(2000, dialog.get(), [] { QApplication::activeModalWidget()->close(); });
    name->setText(QStringLiteral("*.txt"));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->findChild<QFileSystemModel*>()->nameFilters(), QStringList{"*.txt"});
    QVERIFY2(!(dialog->filter() & QDir::CaseSensitive), ".CE2 files would be hidden");
}

void MainDialogTest::dropPutsPathInField() {
    Harness h({"a.CE2"});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/amp.CE2"))});
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(h.dialog.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(h.dialog.get(), &drop);
    QCOMPARE(h.fileField()->currentText(), QStringLiteral("/data/amp.CE2"));
    QCOMPARE(h.listed(), QStringList{"a.CE2"});

    QMimeData text;
    text.setText(QStringLiteral("just text"));
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QCoreApplication::sendEvent(h.dialog.get(), &refused);
    QVERIFY(!refused.isAccepted());
}

void MainDialogTest::aboutBoxFromTheKeyboard() {
    // X11 gives no system menu: F1 and Alt+Space open the box, which is closed once it shows.
    Harness h;
    QString opened;
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_F1), Qt::ALT | Qt::Key_Space}) {
        opened.clear();
        QTimer::singleShot(0, h.dialog.get(), [&opened] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                opened = box->windowTitle();
                box->close();
            }
        });
        QApplication::setActiveWindow(h.dialog.get());
        QTest::keyClick(h.dialog.get(), key.key(), key.keyboardModifiers());
        QCOMPARE(opened, QString::fromUtf8(texts::aboutTitle));
    }
}

void MainDialogTest::startUpHelpers() {
    // The bootstrap installs Qt's translations, so their absence here is a fault of the loader.
    const std::unique_ptr<QTranslator> japanese = qtJapaneseTranslator();
    QVERIFY(japanese != nullptr);
    QCOMPARE(japanese->translate("QFileDialog", "Look in:"), QString::fromUtf8("アドレス:"));
    // 96 dpi MS P Gothic, then a base that needs rounding.
    QCOMPARE(DialogUnits(6, 12).rect(170, 110, 50, 15), QRect(255, 165, 75, 23));
    QCOMPARE(DialogUnits(7, 13).rect(121, 110, 9, 15), QRect(212, 179, 16, 24));
    const QString ms = QString::fromUtf8("ＭＳ Ｐゴシック"), ipa = "IPAPGothic",
                  noto = "Noto Sans CJK JP";
    const struct {
        const char* fault;
        QStringList installed, japanese;
        QString chosen;
    } fonts[] = {
        {"the template's font passed over", {ipa, ms}, {}, ms},
        {"IPA P Gothic not next", {"DejaVu Sans", ipa}, {"IPAGothic", ipa}, ipa},
        {"a Japanese font not taken", {noto}, {noto}, noto},
        {"a font that cannot show Japanese", {"DejaVu Sans"}, {}, ""},
    };
    for (const auto& c : fonts) {
        QVERIFY2(wemb::dialogFontFamily(c.installed, c.japanese) == c.chosen, c.fault);
    }
}

}  // namespace wemb

QTEST_MAIN(wemb::MainDialogTest)
#include "MainDialogTest.moc"
