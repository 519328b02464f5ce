// The Qt dialog as the user meets it: its controls and their identifiers, texts and places, the
// tab chain, the opening states, the mode change, the arrows, Enter, Quit, Browse, dropping a
// file, the about box, and the start-up helpers.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/AboutDialog.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/MainDialog.h"
#include "app/qt/NumberingApp.h"
#include "app/qt/UpDownArrows.h"

namespace wemb {
namespace {

using Names = std::vector<std::string>;

class RecordingMessages : public MessageSink {
  public:
    void show(MessageId id, const std::string&, MessageIcon) override { ids.push_back(id); }
    std::vector<MessageId> ids;
};

class MemoryStore : public RecentFileStore {
  public:
    Names load() override { return stored; }
    void save(const Names& names) override {
        stored = names;
        ++saves;
    }
    Names stored;
    int saves = 0;
};

// One dialog with fakes behind it: the jobs answer `outcome`, Browse answers `browseAnswer`.
struct Harness {
    explicit Harness(Names stored = {}, const std::string& fileName = {}) {
        store.stored = std::move(stored);
        MainDialogServices services;
        services.recentFiles = &store;
        services.messages = &messages;
        services.runJob = [this](const JobRequest& request) {
            requests.push_back(request);
            JobReport report;
            report.outcome = outcome;
            return report;
        };
        services.chooseDataFile = [this](QWidget*) { return browseAnswer; };
        dialog = std::make_unique<MainDialog>(std::move(services), fileName);
    }

    template <typename Widget = QWidget>
    Widget* control(const char* id) const {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(id));
        if (widget == nullptr) {
            qFatal("control %s missing", id);
        }
        return widget;
    }
    QComboBox* fileField() const { return control<QComboBox>("1001"); }
    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < fileField()->count(); ++i) {
            names.push_back(fileField()->itemText(i));
        }
        return names;
    }
    void showActive() const {
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog.get());
    }

    MemoryStore store;
    RecordingMessages messages;
    std::vector<JobRequest> requests;
    MessageId outcome = MessageId::Finished;
    QString browseAnswer;
    std::unique_ptr<MainDialog> dialog;
};

Names names(const QStringList& list) {
    Names result;
    for (const QString& name : list) {
        result.push_back(name.toStdString());
    }
    return result;
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void controls_data();
    void controls();
    void geometry_data();
    void geometry();
    void title();
    void tabOrder();
    void opening_data();
    void opening();
    void modeChange();
    void arrowsStayInRange_data();
    void arrowsStayInRange();
    void typedValuesStay();
    void refusedNumberIsResetAndSelected();
    void enterRunsAndStaysOpen_data();
    void enterRunsAndStaysOpen();
    void failedReadEmptiesField();
    void quitSaves_data();
    void quitSaves();
    void browse_data();
    void browse();
    void dataFileDialog();
    void dropPutsPathInField();
    void aboutBox();
    void startupFileName_data();
    void startupFileName();
    void dialogFontFamily_data();
    void dialogFontFamily();
    void dialogUnits_data();
    void dialogUnits();
};

void MainDialogTest::controls_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");

    QTest::newRow("Execute") << "1"
                             << "QPushButton"
                             << "実行(&E)" << true;
    QTest::newRow("file field") << "1001"
                                << "QComboBox"
                                << "" << true;
    QTest::newRow("Browse") << "1003"
                            << "QPushButton"
                            << "参照(&R)..." << true;
    QTest::newRow("Locked") << "1009"
                            << "QRadioButton"
                            << "部品番号のない部品に、位置順の部品番号を振る(Autonum-&LockedMode)"
                            << true;
    QTest::newRow("Original") << "1010"
                              << "QRadioButton"
                              << "すべての部品の部品番号を、位置順に振りなおす(&Autonum-Original)"
                              << true;
    QTest::newRow("ReNum") << "1011"
                           << "QRadioButton"
                           << "すべての部品の部品番号を、順序を保存して振りなおす(Re&Num)" << true;
    QTest::newRow("initial number") << "1006"
                                    << "QLineEdit"
                                    << "1" << true;
    QTest::newRow("initial arrows") << "1005"
                                    << "wemb::UpDownArrows"
                                    << "" << true;
    QTest::newRow("step") << "1008"
                          << "QLineEdit"
                          << "1" << true;
    QTest::newRow("step arrows") << "1007"
                                 << "wemb::UpDownArrows"
                                 << "" << true;
    QTest::newRow("Quit") << "2"
                          << "QPushButton"
                          << "終了(&Q)" << true;
    QTest::newRow("hidden check box") << "1004"
                                      << "QCheckBox"
                                      << "位置による振り直しを行う" << false;
    QTest::newRow("dependence name")
        << "1012"
        << "QCheckBox"
        << "部品名のない部品は処理しない(Autonum-&DependenceNameMode)" << true;
}

void MainDialogTest::controls() {
    QFETCH(QString, id);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    Harness h;
    h.showActive();
    QWidget* widget = h.control(id.toLatin1().constData());
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
    const QVariant shown = widget->property("text");
    if (shown.isValid()) {
        QCOMPARE(shown.toString(), text);
    }
    QCOMPARE(widget->isVisible(), visible);
}

void MainDialogTest::geometry_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QRect>("units");
    QTest::newRow("Execute") << "1" << QRect(170, 110, 50, 15);
    QTest::newRow("Browse") << "1003" << QRect(220, 15, 35, 15);
    QTest::newRow("initial number") << "1006" << QRect(90, 110, 30, 15);
    QTest::newRow("initial arrows") << "1005" << QRect(121, 110, 9, 15);
    QTest::newRow("step") << "1008" << QRect(90, 136, 30, 15);
    QTest::newRow("step arrows") << "1007" << QRect(121, 136, 9, 15);
    QTest::newRow("Quit") << "2" << QRect(170, 136, 50, 15);
    QTest::newRow("hidden check box") << "1004" << QRect(130, 155, 110, 8);
}

void MainDialogTest::geometry() {
    QFETCH(QString, id);
    QFETCH(QRect, units);
    Harness h;
    const DialogUnits du(h.dialog->font());
    QCOMPARE(h.control(id.toLatin1().constData())->geometry(),
             du.rect(units.x(), units.y(), units.width(), units.height()));
    QCOMPARE(h.dialog->size(), du.size(263, 165));
    // The mode texts may grow to the right for a wide font, but start where the template says.
    QCOMPARE(h.control("1010")->pos(), QPoint(du.x(10), du.y(55)));
    QCOMPARE(h.control("1012")->pos(), QPoint(du.x(30), du.y(70)));
}

void MainDialogTest::title() {
    Harness h;
    QCOMPARE(h.dialog->windowTitle(),
             QString::fromUtf8("Wemb Ver.0.92Y（Quil 部品番号振り付けソフト)"));
    QVERIFY(!h.dialog->windowIcon().isNull());
}

void MainDialogTest::tabOrder() {
    Harness h({"a.CE2"});
    h.showActive();
    QCOMPARE(QApplication::focusWidget(), h.control("1"));
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // The file field's own edit line stands for the combo box.
        while (focused != nullptr && focused->objectName().isEmpty()) {
            focused = focused->parentWidget();
        }
        visited.push_back(focused != nullptr ? focused->objectName() : QString());
    }
    QCOMPARE(visited, (QStringList{"1001", "1003", "1006", "1008", "2", "1012", "1"}));
}

void MainDialogTest::opening_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("field");
    QTest::newRow("nothing") << QStringList{} << ""
                             << "";
    QTest::newRow("stored names") << QStringList{"b.CE2", "a.CE2"} << ""
                                  << "b.CE2";
    QTest::newRow("command line over stored") << QStringList{"b.CE2", "a.CE2"} << "x.CE2"
                                              << "x.CE2";
    QTest::newRow("command line alone") << QStringList{} << "x.CE2"
                                        << "x.CE2";
}

void MainDialogTest::opening() {
    QFETCH(QStringList, stored);
    QFETCH(QString, commandLine);
    QFETCH(QString, field);
    Harness h(names(stored), commandLine.toStdString());
    QCOMPARE(h.fileField()->currentText(), field);
    QCOMPARE(h.listed(), stored);
    QVERIFY(!h.fileField()->lineEdit()->hasSelectedText());
    QVERIFY(h.control<QRadioButton>("1009")->isChecked());
    QVERIFY(h.control("1012")->isEnabled());
    QVERIFY(!h.control<QCheckBox>("1012")->isChecked());
    QVERIFY(!h.control<QCheckBox>("1004")->isChecked());
    QCOMPARE(h.control<QLineEdit>("1006")->text(), QStringLiteral("1"));
    QCOMPARE(h.control<QLineEdit>("1008")->text(), QStringLiteral("1"));
}

void MainDialogTest::modeChange() {
    Harness h;
    h.showActive();
    auto* option = h.control<QCheckBox>("1012");
    QTest::mouseClick(option, Qt::LeftButton);
    QVERIFY(option->isChecked());

    QTest::mouseClick(h.control("1011"), Qt::LeftButton);
    QVERIFY(!option->isEnabled());
    QVERIFY2(option->isChecked(), "ReNum took the check mark");
    QCOMPARE(h.dialog->controller().state().mode, NumberingMode::ReNum);

    QTest::mouseClick(h.control("1010"), Qt::LeftButton);
    QVERIFY(option->isEnabled());
    QTest::mouseClick(h.control("1011"), Qt::LeftButton);
    QTest::mouseClick(h.control("1009"), Qt::LeftButton);
    QVERIFY(option->isEnabled());
    QVERIFY(option->isChecked());
}

void MainDialogTest::arrowsStayInRange_data() {
    QTest::addColumn<QString>("arrows");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("shown");
    QTest::newRow("initial number top") << "1005"
                                        << "999" << 3 << 0 << "1000";
    QTest::newRow("initial number bottom") << "1005"
                                           << "2" << 0 << 3 << "1";
    QTest::newRow("step top") << "1007"
                              << "18" << 5 << 0 << "20";
    QTest::newRow("step up and down") << "1007"
                                      << "1" << 4 << 1 << "4";
}

void MainDialogTest::arrowsStayInRange() {
    QFETCH(QString, arrows);
    QFETCH(QString, start);
    QFETCH(int, ups);
    QFETCH(int, downs);
    QFETCH(QString, shown);
    Harness h;
    h.showActive();
    auto* control = h.control<UpDownArrows>(arrows.toLatin1().constData());
    control->buddy()->setText(start);
    for (int i = 0; i < ups; ++i) {
        QTest::mouseClick(control->upButton(), Qt::LeftButton);
    }
    for (int i = 0; i < downs; ++i) {
        QTest::mouseClick(control->downButton(), Qt::LeftButton);
    }
    QCOMPARE(control->buddy()->text(), shown);
}

void MainDialogTest::typedValuesStay() {
    Harness h;
    h.showActive();
    auto* initial = h.control<QLineEdit>("1006");
    initial->selectAll();
    QTest::keyClicks(initial, "5000");
    QTest::mouseClick(h.control("1011"), Qt::LeftButton);
    QCOMPARE(initial->text(), QStringLiteral("5000"));
    // The Up key in the field steps as the arrow does.
    auto* step = h.control<QLineEdit>("1008");
    QTest::keyClick(step, Qt::Key_Up);
    QCOMPARE(step->text(), QStringLiteral("2"));
}

void MainDialogTest::refusedNumberIsResetAndSelected() {
    Harness h({}, "amp.CE2");
    h.showActive();
    auto* initial = h.control<QLineEdit>("1006");
    initial->selectAll();
    QTest::keyClicks(initial, "1001");
    QTest::mouseClick(h.control("1"), Qt::LeftButton);
    QCOMPARE(h.messages.ids, std::vector<MessageId>{MessageId::InitialOutOfRange});
    QVERIFY(h.requests.empty());
    QCOMPARE(initial->text(), QStringLiteral("1"));
    QCOMPARE(initial->selectedText(), QStringLiteral("1"));
    QCOMPARE(QApplication::focusWidget(), initial);
}

void MainDialogTest::enterRunsAndStaysOpen_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("on Execute") << "1";
    QTest::newRow("in the step field") << "1008";
    QTest::newRow("in the file field") << "1001";
}

void MainDialogTest::enterRunsAndStaysOpen() {
    QFETCH(QString, focus);
    Harness h({"amp.CE2"});
    h.showActive();
    QWidget* focused = h.control(focus.toLatin1().constData());
    focused->setFocus();
    QWidget* target =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : focused;
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(h.requests.size(), std::size_t{1});
    QCOMPARE(h.requests[0].fileName, std::string("amp.CE2"));
    QCOMPARE(h.messages.ids, std::vector<MessageId>{MessageId::Finished});
    QVERIFY(h.dialog->isVisible());
    QCOMPARE(h.listed(), QStringList{"amp.CE2"});
}

void MainDialogTest::failedReadEmptiesField() {
    Harness h({"bad.CE2", "good.CE2"});
    h.outcome = MessageId::ReadFailed;
    h.showActive();
    QTest::mouseClick(h.control("1"), Qt::LeftButton);
    QCOMPARE(h.fileField()->currentText(), QString());
    QCOMPARE(h.listed(), QStringList{"good.CE2"});
    QCOMPARE(h.messages.ids, std::vector<MessageId>{MessageId::ReadFailed});
}

void MainDialogTest::quitSaves_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Quit button") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("close button") << 2;
}

void MainDialogTest::quitSaves() {
    QFETCH(int, how);
    Harness h({"a.CE2"}, "b.CE2");
    h.showActive();
    QTest::mouseClick(h.control("1"), Qt::LeftButton);
    QCOMPARE(h.store.saves, 0);
    switch (how) {
        case 0:
            QTest::mouseClick(h.control("2"), Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            break;
        default:
            h.dialog->close();
            break;
    }
    QCOMPARE(h.store.saves, 1);
    QCOMPARE(h.store.stored, (Names{"b.CE2", "a.CE2"}));
    QVERIFY(!h.dialog->isVisible());
    QCOMPARE(h.dialog->result(), int(QDialog::Rejected));
}

void MainDialogTest::browse_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("field");
    QTest::newRow("cancelled") << ""
                               << "a.CE2";
    QTest::newRow("chosen") << "/data/amp.ce2"
                            << "/data/amp.ce2";
}

void MainDialogTest::browse() {
    QFETCH(QString, answer);
    QFETCH(QString, field);
    Harness h({"a.CE2"});
    h.browseAnswer = answer;
    h.showActive();
    QTest::mouseClick(h.control("1003"), Qt::LeftButton);
    QCOMPARE(h.fileField()->currentText(), field);
    QCOMPARE(h.listed(), QStringList{"a.CE2"});
    QVERIFY(h.requests.empty());
}

void MainDialogTest::dataFileDialog() {
    const std::unique_ptr<QFileDialog> dialog = makeDataFileDialog(nullptr);
    QCOMPARE(dialog->nameFilters(), QStringList{"Quil Files (*.ce2)"});
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    QVERIFY2(!(dialog->filter() & QDir::CaseSensitive), ".CE2 files would be hidden");
}

void MainDialogTest::dropPutsPathInField() {
    Harness h({"a.CE2"});
    h.showActive();
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

void MainDialogTest::aboutBox() {
    Harness h;
    auto* item = h.dialog->findChild<QAction*>(QStringLiteral("16"));
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報(Wemb) (&A)..."));
    QVERIFY(h.dialog->actions().contains(item));
    QCOMPARE(h.dialog->contextMenuPolicy(), Qt::ActionsContextMenu);

    AboutDialog about;
    QCOMPARE(about.windowTitle(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報 Wemb"));
    const DialogUnits du(about.font());
    QCOMPARE(about.size(), du.size(199, 75));
    auto* version = about.findChild<QLabel*>(QStringLiteral("version"));
    QVERIFY(version != nullptr);
    QCOMPARE(version->text(), QStringLiteral("Wemb Version 0.92Y"));
    QCOMPARE(about.findChildren<QLabel*>(QStringLiteral("credit")).size(), 4);
    auto* icon = about.findChild<QLabel*>(QStringLiteral("128"));
    QVERIFY(icon != nullptr && !icon->pixmap().isNull());
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("1"));
    QVERIFY(ok != nullptr && ok->isDefault());
}

void MainDialogTest::startupFileName_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("none") << QStringList{} << "";
    QTest::newRow("one name") << QStringList{"amp.CE2"} << "amp.CE2";
    QTest::newRow("a full path") << QStringList{"/d/amp.CE2"} << "/d/amp.CE2";
    QTest::newRow("an option") << QStringList{"--help"} << "";
    QTest::newRow("two names") << QStringList{"a.CE2", "b.CE2"} << "";
    QTest::newRow("an empty argument") << QStringList{""} << "";
}

void MainDialogTest::startupFileName() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, fileName);
    QCOMPARE(QString::fromStdString(wemb::startupFileName(names(arguments))), fileName);
}

void MainDialogTest::dialogFontFamily_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("japanese");
    QTest::addColumn<QString>("chosen");
    const QString ms = QString::fromUtf8("ＭＳ Ｐゴシック");
    QTest::newRow("the template's font") << QStringList{"IPAPGothic", ms} << QStringList{} << ms;
    QTest::newRow("IPA P Gothic next") << QStringList{"DejaVu Sans", "IPAPGothic"}
                                       << QStringList{"IPAGothic", "IPAPGothic"} << "IPAPGothic";
    QTest::newRow("any Japanese font")
        << QStringList{"Noto Sans CJK JP"} << QStringList{"Noto Sans CJK JP"} << "Noto Sans CJK JP";
    QTest::newRow("nothing Japanese") << QStringList{"DejaVu Sans"} << QStringList{} << "";
}

void MainDialogTest::dialogFontFamily() {
    QFETCH(QStringList, installed);
    QFETCH(QStringList, japanese);
    QFETCH(QString, chosen);
    QCOMPARE(wemb::dialogFontFamily(installed, japanese), chosen);
}

void MainDialogTest::dialogUnits_data() {
    QTest::addColumn<int>("baseX");
    QTest::addColumn<int>("baseY");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("96 dpi MS P Gothic")
        << 6 << 12 << QRect(170, 110, 50, 15) << QRect(255, 165, 75, 23);
    QTest::newRow("rounding") << 7 << 13 << QRect(121, 110, 9, 15) << QRect(212, 179, 16, 24);
    QTest::newRow("twice the scale") << 12 << 24 << QRect(5, 5, 26, 8) << QRect(15, 15, 78, 24);
}

void MainDialogTest::dialogUnits() {
    QFETCH(int, baseX);
    QFETCH(int, baseY);
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    const DialogUnits du(baseX, baseY);
    QCOMPARE(du.rect(units.x(), units.y(), units.width(), units.height()), pixels);
}

}  // namespace wemb

QTEST_MAIN(wemb::MainDialogTest)
#include "MainDialogTest.moc"
