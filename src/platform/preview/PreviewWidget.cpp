#include "platform/preview/PreviewWidget.h"

#include "platform/Ui.h"
#include "platform/preview/PageRenderer.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// Grey around the page, pixels.
constexpr int Pad = 12;
constexpr int ShadowOffset = 4;
constexpr double ScreenTwipsPerPixel = 15.0;

}  // namespace

PreviewWidget::PreviewWidget(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setCursor(Qt::OpenHandCursor);
    UpdateScrollBars();
}

const PageSettings* PreviewWidget::ShownSettings() const
{
    const Document& doc = CurrentDocument();
    if (previewPage_ < 1 || previewPage_ > static_cast<int>(doc.pages.size())) return nullptr;
    return &doc.pages[previewPage_ - 1].settings;
}

// ---- pages ------------------------------------------------------------------

bool PreviewWidget::SetPreviewPage(int page)
{
    if (page < 1 || page > PageCount()) return false;
    if (page == previewPage_) return true;
    previewPage_ = page;
    RefitZoom();
    UpdateScrollBars();
    // A new page is read from its top; the horizontal position stays.
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit PreviewPageChanged(previewPage_);
    return true;
}

void PreviewWidget::OnDocumentChanged()
{
    const int page = std::clamp(previewPage_, 1, std::max(1, PageCount()));
    const bool pageChanged = page != previewPage_;
    previewPage_ = page;
    RefitZoom();
    UpdateScrollBars();
    viewport()->update();
    emit DocumentChanged();
    if (pageChanged) emit PreviewPageChanged(previewPage_);
}

void PreviewWidget::StepPage(int delta)
{
    if (!SetPreviewPage(previewPage_ + delta)) ui::Beep();
}

// ---- zoom -------------------------------------------------------------------

void PreviewWidget::SetZoomMaximum(double percent)
{
    if (!(percent > 0)) return;
    zoomMax_ = percent;
    zoomMin_ = std::min(zoomMin_, zoomMax_);
    if (zoom_ > zoomMax_) ApplyZoom(zoomMax_, viewport()->rect().center());
}

void PreviewWidget::SetZoomMinimum(double percent)
{
    if (!(percent > 0)) return;
    zoomMin_ = percent;
    zoomMax_ = std::max(zoomMin_, zoomMax_);
    if (zoom_ < zoomMin_) ApplyZoom(zoomMin_, viewport()->rect().center());
}

void PreviewWidget::SetZoomPercent(double percent)
{
    if (!std::isfinite(percent)) return;
    zoomMode_ = ZoomByPercent;
    ApplyZoom(percent, viewport()->rect().center());
}

void PreviewWidget::SetZoomMode(int mode)
{
    if (mode != ZoomByPercent && mode != ZoomWholePage && mode != ZoomPageWidth) return;
    zoomMode_ = mode;
    RefitZoom();
}

// The zoom at which the shown page fits the view: whole or by its width.
// Computed on the view without scroll bars, plus the vertical bar that a
// page taller than the view brings when fitted by width.
double PreviewWidget::FittedZoom(int mode) const
{
    const PageSettings* s = ShownSettings();
    const double pageW = (s ? s->Width() : A4ShortSide) / ScreenTwipsPerPixel;
    const double pageH = (s ? s->Height() : A4LongSide) / ScreenTwipsPerPixel;
    const QSize area = maximumViewportSize();
    const double fitW = std::max(1, area.width() - 2 * Pad) / pageW;
    if (mode == ZoomWholePage) {
        const double fitH = std::max(1, area.height() - 2 * Pad) / pageH;
        return std::min(fitW, fitH) * 100.0;
    }
    if (pageH * fitW + 2 * Pad > area.height()) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        return std::max(1, area.width() - bar - 2 * Pad) / pageW * 100.0;
    }
    return fitW * 100.0;
}

void PreviewWidget::RefitZoom()
{
    if (zoomMode_ == ZoomByPercent) return;
    ApplyZoom(FittedZoom(zoomMode_), viewport()->rect().center());
}

void PreviewWidget::ApplyZoom(double percent, QPoint anchor)
{
    const double z = std::clamp(percent, zoomMin_, zoomMax_);
    if (z == zoom_) return;
    // The page point under the anchor, before and after.
    const QPointF origin = PageOrigin();
    const double before = PixelsPerTwip();
    const QPointF pagePoint = (QPointF(anchor) - origin) / before;
    zoom_ = z;
    UpdateScrollBars();
    const QPointF moved = PageOrigin() + pagePoint * PixelsPerTwip() - QPointF(anchor);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + static_cast<int>(std::lround(moved.x())));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + static_cast<int>(std::lround(moved.y())));
    viewport()->update();
    emit ZoomChanged(zoom_);
}

void PreviewWidget::StepZoom(double delta, QPoint anchor)
{
    const double before = zoom_;
    zoomMode_ = ZoomByPercent;
    ApplyZoom(zoom_ + delta, anchor);
    if (zoom_ == before) ui::Beep();
}

// ---- scrolling --------------------------------------------------------------

void PreviewWidget::UpdateScrollBars()
{
    const PageSettings* s = ShownSettings();
    const double k = PixelsPerTwip();
    const int contentW = s ? static_cast<int>(std::ceil(s->Width() * k)) + 2 * Pad : 0;
    const int contentH = s ? static_cast<int>(std::ceil(s->Height() * k)) + 2 * Pad : 0;
    const QSize view = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, contentW - view.width()));
    v->setRange(0, std::max(0, contentH - view.height()));
    const int large = static_cast<int>(stepLarge_ / ScreenTwipsPerPixel);
    h->setPageStep(std::max(1, large > 0 ? large : view.width()));
    v->setPageStep(std::max(1, large > 0 ? large : view.height()));
    const int small = std::max(1, static_cast<int>(stepSmall_ / ScreenTwipsPerPixel));
    h->setSingleStep(small);
    v->setSingleStep(small);
}

// Top-left corner of the page in viewport pixels: centred when the page is
// narrower (lower) than the view, else at the scroll position.
QPointF PreviewWidget::PageOrigin() const
{
    const PageSettings* s = ShownSettings();
    const double k = PixelsPerTwip();
    const double pageW = (s ? s->Width() : A4ShortSide) * k;
    const double pageH = (s ? s->Height() : A4LongSide) * k;
    const QSize view = viewport()->size();
    const double x = pageW + 2 * Pad <= view.width() ? std::floor((view.width() - pageW) / 2)
                                                     : Pad - horizontalScrollBar()->value();
    const double y = pageH + 2 * Pad <= view.height() ? std::floor((view.height() - pageH) / 2)
                                                      : Pad - verticalScrollBar()->value();
    return QPointF(x, y);
}

// The scroll area shows or hides its bars only when the event loop next
// runs; a position set before that would be held to the range of a view as
// wide (or high) as if the bars were not there.
void PreviewWidget::SettleScrollBars()
{
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

double PreviewWidget::ScrollLeft() const { return horizontalScrollBar()->value() / PixelsPerTwip(); }

void PreviewWidget::SetScrollLeft(double twips)
{
    if (!std::isfinite(twips)) return;
    SettleScrollBars();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(twips * PixelsPerTwip())));
}

double PreviewWidget::ScrollTop() const { return verticalScrollBar()->value() / PixelsPerTwip(); }

void PreviewWidget::SetScrollTop(double twips)
{
    if (!std::isfinite(twips)) return;
    SettleScrollBars();
    verticalScrollBar()->setValue(static_cast<int>(std::lround(twips * PixelsPerTwip())));
}

void PreviewWidget::SetScrollStepLarge(double twips)
{
    if (std::isfinite(twips) && twips >= 0) stepLarge_ = twips;
    UpdateScrollBars();
}

void PreviewWidget::SetScrollStepSmall(double twips)
{
    if (std::isfinite(twips) && twips > 0) stepSmall_ = twips;
    UpdateScrollBars();
}

// ---- events -----------------------------------------------------------------

void PreviewWidget::resizeEvent(QResizeEvent*)
{
    RefitZoom();
    UpdateScrollBars();
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
    const PageSettings* s = ShownSettings();
    if (!s) return;
    const double k = PixelsPerTwip();
    const QPointF origin = PageOrigin();
    const QRectF page(origin, QSizeF(s->Width() * k, s->Height() * k));
    painter.fillRect(page.translated(ShadowOffset, ShadowOffset), QColor(0x40, 0x40, 0x40));
    painter.fillRect(page, Qt::white);
    painter.setClipRect(page.intersected(QRectF(event->rect())));
    painter.translate(origin);
    painter.scale(k, k);
    RenderPage(painter, CurrentDocument(), previewPage_ - 1);
}

void PreviewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ShiftModifier) {
        if (event->button() == Qt::LeftButton) StepPage(+1);
        if (event->button() == Qt::RightButton) StepPage(-1);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragStart_ = event->position().toPoint();
        scrollAtDragStart_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) return;
    const QPoint d = event->position().toPoint() - dragStart_;
    horizontalScrollBar()->setValue(scrollAtDragStart_.x() - d.x());
    verticalScrollBar()->setValue(scrollAtDragStart_.y() - d.y());
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        viewport()->setCursor(Qt::OpenHandCursor);
    }
}

void PreviewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second Shift-click is one more page step.
    if (event->modifiers() & Qt::ShiftModifier) {
        mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) StepZoom(+zoomStep_, at);
    if (event->button() == Qt::RightButton) StepZoom(-zoomStep_, at);
}

}  // namespace preview
