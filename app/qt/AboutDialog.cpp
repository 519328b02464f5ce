#include "app/qt/AboutDialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/DialogUnits.h"
#include "app/qt/Icons.h"

namespace wemb {
namespace {

constexpr const char* creditLines[] = {
    "Quil 部品番号振り付けソフト",
    "Qt 6 版 (Linux ほか)",
    "Copyright (C) The Wemb developers",
    "ご意見・不具合は配布元までお寄せください",
};

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(aboutTitle));
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(199, 75));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("128"));
    icon->setPixmap(largeIconPixmap());
    icon->setGeometry(units.x(10), units.y(10), largeIconSize, largeIconSize);

    auto* version = new QLabel(QString::fromUtf8(versionText), this);
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
    ok->setObjectName(QStringLiteral("1"));
    ok->setGeometry(units.rect(157, 5, 32, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace wemb
