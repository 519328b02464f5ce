#include "app/qt/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "app/DialogTexts.h"

namespace wemb {
namespace {

const QString templateFamily = QString::fromUtf8(texts::fontFace);
const QString fallbackFamily = QStringLiteral("IPAPGothic");
const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

}  // namespace

QString dialogFontFamily(const QStringList& installedFamilies,
                         const QStringList& japaneseFamilies) {
    for (const QString& wanted : {templateFamily, fallbackFamily}) {
        if (installedFamilies.contains(wanted)) {
            return wanted;
        }
    }
    return japaneseFamilies.isEmpty() ? QString() : japaneseFamilies.front();
}

QFont dialogFont() {
    const QString family = dialogFontFamily(QFontDatabase::families(),
                                            QFontDatabase::families(QFontDatabase::Japanese));
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setPointSize(9);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the Latin letters, rounded, as the dialog manager measures it.
    baseX_ = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

int DialogUnits::scaled(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long rounded = product >= 0 ? (2 * product + divisor) / (2 * divisor)
                                           : -((-2 * product + divisor) / (2 * divisor));
    return static_cast<int>(rounded);
}

}  // namespace wemb
