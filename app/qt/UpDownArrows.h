#pragma once
// A pair of small arrow buttons beside a number field, like the platform's up-down control: the
// arrows (and the Up and Down keys in the field) step the number, but the field itself stays a
// plain edit field in which anything may be typed.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace wemb {

class UpDownArrows : public QWidget {
    Q_OBJECT

  public:
    explicit UpDownArrows(QWidget* parent = nullptr);

    // The field whose Up and Down keys step as the arrows do.
    void setBuddy(QLineEdit* buddy);

  signals:
    void stepped(int delta);  // +1 up, -1 down

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* makeArrow(Qt::ArrowType arrow, int delta);

    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* buddy_ = nullptr;
};

}  // namespace wemb
