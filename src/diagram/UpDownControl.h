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
    UpDownControl(int increment, int min, int max, QWidget* parent = nullptr);

    int Increment() const { return increment_; }
    int Min() const { return min_; }
    int Max() const { return max_; }

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int increment_;
    int min_;
    int max_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace diagram
