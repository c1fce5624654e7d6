#include "diagram/UpDownControl.h"

#include <QToolButton>

namespace diagram {

UpDownControl::UpDownControl(int increment, int min, int max, QWidget* parent)
    : QWidget(parent), increment_(increment), min_(min), max_(max)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    // A click leaves the focus where it is, so the box beside keeps it.
    up_->setFocusPolicy(Qt::NoFocus);
    down_->setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, &UpDownControl::UpClick);
    connect(down_, &QToolButton::clicked, this, &UpDownControl::DownClick);
}

void UpDownControl::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace diagram
