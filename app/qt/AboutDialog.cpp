#include "app/qt/AboutDialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/DialogControls.h"
#include "app/DialogTexts.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/Icons.h"

namespace wemb {
namespace {

constexpr const char* creditLines[] = {
    texts::creditName,
    texts::creditQt,
    texts::creditCopyright,
    texts::creditContact,
};

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(texts::aboutTitle));
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(199, 75));

    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(resource::largeIcon));
    icon->setPixmap(largeIconPixmap());
    icon->setGeometry(units.x(10), units.y(10), largeIconSize, largeIconSize);

    auto* version = new QLabel(QString::fromUtf8(texts::version), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(units.rect(40, 10, 73, 8));

    int top = 24;
    for (const char* line : creditLines) {
        auto* credit = new QLabel(QString::fromUtf8(line), this);
        credit->setObjectName(QStringLiteral("credit"));
        credit->setTextFormat(Qt::PlainText);
        credit->setGeometry(units.rect(40, top, 150, 8));
        top += 11;
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QString::number(control::execute));
    ok->setGeometry(units.rect(157, 5, 32, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace wemb
