#pragma once
// Dialog templates place controls in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. Converting with the font actually used
// keeps the layout's proportions whatever the font and the screen's scale.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace wemb {

// The family for the dialog font: the template's "ＭＳ Ｐゴシック", else IPAPGothic, else the first
// of `japaneseFamilies` (those that can write Japanese), else "" for the application's own font.
QString dialogFontFamily(const QStringList& installedFamilies, const QStringList& japaneseFamilies);

// The template's font, 9 points, in the best family installed here.
QFont dialogFont();

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

    int x(int units) const { return scaled(units, baseX_, 4); }
    int y(int units) const { return scaled(units, baseY_, 8); }
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const { return {x(width), y(height)}; }

  private:
    // units * base / divisor, rounded to the nearest pixel.
    static int scaled(int units, int base, int divisor);

    int baseX_;
    int baseY_;
};

}  // namespace wemb
