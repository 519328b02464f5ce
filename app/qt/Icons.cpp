#include "app/qt/Icons.h"

namespace wemb {

QIcon programIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/wemb/icons/wemb-small-16.png"), QSize(16, 16));
    for (int size : {22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/wemb/icons/wemb-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QPixmap largeIconPixmap() {
    return QPixmap(QStringLiteral(":/wemb/icons/wemb-%1.png").arg(largeIconSize));
}

}  // namespace wemb
