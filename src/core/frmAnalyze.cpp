#include "core/frmAnalyze.h"

#include "platform/Runtime.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <algorithm>

namespace {
QPointer<frmAnalyze> g_form;
constexpr int kRepaintIntervalMs = 40;   // at most 25 repaints a second

// A visible QProgressBar paints itself at once whenever a new value moves it
// by a few pixels, outside the window's throttle; with its updates suspended
// it takes the value without painting and shows it at the next repaint.
void SetQuietly(QProgressBar* bar, int max, int value)
{
    bar->setUpdatesEnabled(false);
    bar->setMaximum(max);
    bar->setValue(value);
    bar->setUpdatesEnabled(true);
}
}

frmAnalyze::frmAnalyze(QWidget* parent) : forms::Form(QStringLiteral("frmAnalyze"), parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("ZELKOVA （プログレス）"));
    SetClientSizeTw(5385, 1590);
    Label1 = new QLabel(QStringLiteral("***"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    forms::PlaceTw(Label1, 240, 200, 3495, 300);
    Command1 = new QPushButton(QStringLiteral("***"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    forms::PlaceTw(Command1, 3840, 120, 1335, 310);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setRange(0, 200);
    Bar->setToolTip(QStringLiteral("計算の進行状況"));
    Bar->setTextVisible(false);
    forms::PlaceTw(Bar, 120, 600, 5150, 300);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    forms::PlaceTw(ProgressBar1, 120, 960, 5175, 195);
    ProgressBar2 = new QProgressBar(this);
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setRange(0, 100);
    ProgressBar2->setTextVisible(false);
    forms::PlaceTw(ProgressBar2, 120, 1200, 5175, 195);
    sinceRepaint_.start();
}

// The window has no place of its own: it opens over the main menu (over the
// preview window when the report build shows it).
void frmAnalyze::Form_Load() { CentreOnMainMenu(this); }

void frmAnalyze::Form_QueryUnload(bool& cancel, int unloadMode)
{
    // Closing the window through its frame while it waits for OK counts as OK;
    // during the computation it is refused (the run cannot be interrupted).
    if (unloadMode == forms::UnloadFromCloseBox) {
        if (Command1->text() == QStringLiteral("OK")) Program().FinishAck = true;
        cancel = true;
    }
}

void frmAnalyze::paintEvent(QPaintEvent* event)
{
    forms::Form::paintEvent(event);
    Program().StartAck = true;
    ++repaints_;
    sinceRepaint_.restart();
}

void frmAnalyze::Command1_Click() { Program().FinishAck = true; }

void frmAnalyze::ShowAndAwaitFirstPaint(QEventLoop::ProcessEventsFlags flags, bool topMost)
{
    Load();
    SetCaption(QStringLiteral("ZELKOVA ver") + Program().ProgramVersion);
    Show();
    if (topMost) SetWindowTopMost(this, forms::kTopMost);
    Program().StartAck = false;
    repaint();
    QElapsedTimer waited;
    waited.start();
    while (!Program().StartAck && waited.elapsed() < 2000) {
        QCoreApplication::processEvents(flags, 20);
        if (!Program().StartAck) QThread::msleep(5);
    }
}

void frmAnalyze::Refresh(bool force)
{
    if (!isVisible()) return;
    if (force || sinceRepaint_.elapsed() >= kRepaintIntervalMs) {
        sinceRepaint_.restart();
        repaint();
    }
}

void frmAnalyze::AdvanceBar(int step)
{
    SetQuietly(Bar, Bar->maximum(), std::min(Bar->maximum(), Bar->value() + step));
    Refresh();
}

void frmAnalyze::SetBar1(int max, int value)
{
    SetQuietly(ProgressBar1, std::max(1, max), std::clamp(value, 0, std::max(1, max)));
    Refresh();
}

void frmAnalyze::SetBar2(bool visible, int max, int value)
{
    ProgressBar2->setVisible(visible);
    if (visible) SetQuietly(ProgressBar2, std::max(1, max), std::clamp(value, 0, std::max(1, max)));
    Refresh();
}

frmAnalyze* AnalyzeForm()
{
    if (!g_form) g_form = new frmAnalyze();
    return g_form;
}

void ReleaseAnalyzeForm()
{
    if (g_form) {
        g_form->Unload();
        delete g_form.data();
    }
}
