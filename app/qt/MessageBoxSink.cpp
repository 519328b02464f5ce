#include "app/qt/MessageBoxSink.h"

#include <QCoreApplication>
#include <QFileInfo>
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

void MessageBoxSink::show(MessageId id, const std::string& text, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), programCaption(), QString::fromStdString(text), QMessageBox::Ok,
                    parent_);
    box.setObjectName(QString::number(static_cast<int>(id)));
    // A file name is shown as it is, even one that looks like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace wemb
