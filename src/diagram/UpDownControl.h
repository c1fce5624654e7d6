// A stand-alone spin control: two arrow buttons that report their clicks and
// change nothing themselves. Its step and its limits are design values that
// the window owning it reads when it handles a click.
#pragma once

#include <QWidget>

class QToolButton;

namespace diagram {

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    // Whether Tab stops on the arrows; a click leaves the focus where it is
    // either way, so the box beside keeps it.
    enum class ArrowFocus { None, Tab };

    UpDownControl(double increment, double min, double max, QWidget* parent = nullptr,
                  ArrowFocus arrowFocus = ArrowFocus::None);

    double Increment() const { return increment_; }
    double Min() const { return min_; }
    double Max() const { return max_; }
    void SetSteps(double increment, double min, double max);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double increment_;
    double min_;
    double max_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace diagram
