#include "app/qt/MessageBoxSink.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

namespace wemb {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString programCaption() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void MessageBoxSink::show(MessageId id, const std::string& text, MessageIcon icon,
                          const std::string& detail) {
    QMessageBox box(boxIcon(icon), programCaption(), QString::fromStdString(text), QMessageBox::Ok,
                    parent_);
    box.setObjectName(QString::number(static_cast<int>(id)));
    // A file name is shown as it is, even one that looks like markup.
    box.setTextFormat(Qt::PlainText);
    // The reason goes under the message, set off in the box's smaller informative text, so that
    // the message itself reads exactly as it always has.
    if (!detail.empty()) {
        box.setInformativeText(QString::fromStdString(detail));
        // A token quoted from a file may look like markup; it is shown as it is.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            label->setTextFormat(Qt::PlainText);
        }
    }
    box.exec();
}

}  // namespace wemb
