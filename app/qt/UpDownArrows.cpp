#include "app/qt/UpDownArrows.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace wemb {

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent), up_(makeArrow(Qt::UpArrow, 1)), down_(makeArrow(Qt::DownArrow, -1)) {
    // Not a tab stop: the keyboard reaches it through its field's arrow keys.
    setFocusPolicy(Qt::NoFocus);
}

void UpDownArrows::setBuddy(QLineEdit* buddy) {
    if (buddy_ != nullptr) {
        buddy_->removeEventFilter(this);
    }
    buddy_ = buddy;
    if (buddy_ != nullptr) {
        buddy_->installEventFilter(this);
    }
}

bool UpDownArrows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            emit stepped(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownArrows::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

QToolButton* UpDownArrows::makeArrow(Qt::ArrowType arrow, int delta) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(5, 5));
    connect(button, &QToolButton::clicked, this, [this, delta] { emit stepped(delta); });
    return button;
}

}  // namespace wemb
