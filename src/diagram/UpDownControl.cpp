#include "diagram/UpDownControl.h"

#include <QToolButton>

namespace diagram {

UpDownControl::UpDownControl(double increment, double min, double max, QWidget* parent, ArrowFocus arrowFocus)
    : QWidget(parent), increment_(increment), min_(min), max_(max)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    const Qt::FocusPolicy focus = arrowFocus == ArrowFocus::Tab ? Qt::TabFocus : Qt::NoFocus;
    up_->setFocusPolicy(focus);
    down_->setFocusPolicy(focus);
    connect(up_, &QToolButton::clicked, this, &UpDownControl::UpClick);
    connect(down_, &QToolButton::clicked, this, &UpDownControl::DownClick);
}

void UpDownControl::SetSteps(double increment, double min, double max)
{
    increment_ = increment;
    min_ = min;
    max_ = max;
}

void UpDownControl::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace diagram
