// The progress window of the analysis (also shown by the report build).
//
// The final wait for OK ends when the button is clicked, when the window is
// closed through its frame, or at once when the scripted user interface is
// in force (tests and the probe answer the OK that way).
#pragma once

#include "platform/Forms.h"

#include <QElapsedTimer>
#include <QEventLoop>

class QLabel;
class QPushButton;
class QProgressBar;

class frmAnalyze : public forms::Form {
    Q_OBJECT
public:
    explicit frmAnalyze(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QProgressBar* Bar = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;

    void Command1_Click();

    // Loads and shows the window with the program's version in its caption
    // (kept above the other windows when `topMost`), then waits for its first
    // paint while the events of `flags` are processed; a platform that never
    // paints holds the caller two seconds at most.
    void ShowAndAwaitFirstPaint(QEventLoop::ProcessEventsFlags flags, bool topMost = false);

    // Bar changes, shown at the window's repaint, a few dozen times a second at most.
    void AdvanceBar(int step);
    void SetBar1(int max, int value);
    void SetBar2(bool visible, int max, int value);
    // Repaints now if the last repaint is older than the throttle interval.
    void Refresh(bool force = false);
    int RepaintCount() const { return repaints_; }

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QElapsedTimer sinceRepaint_;
    int repaints_ = 0;
};

// The window of the current run, created on demand.
frmAnalyze* AnalyzeForm();
// Unloads and deletes the window when there is one.
void ReleaseAnalyzeForm();
