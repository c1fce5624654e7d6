// The print-preview control: a document builder that shows one page of its
// document, zoomed and scrolled. At 100 % a twip is 1/15 of a pixel (an A4
// page is about 794 pixels wide). Mouse: a left double-click zooms in and a
// right double-click zooms out by ZoomStep, Shift with a left or right click
// shows the next or previous page, dragging moves the page.
#pragma once

#include "platform/preview/DocumentBuilder.h"

#include <QAbstractScrollArea>
#include <QPoint>

namespace preview {

enum ZoomModeKind : int { ZoomByPercent = 0, ZoomWholePage = 3, ZoomPageWidth = 4 };

class PreviewWidget : public QAbstractScrollArea, public DocumentBuilder {
    Q_OBJECT
public:
    explicit PreviewWidget(QWidget* parent = nullptr);

    // The page shown, from 1; false, and nothing changes, outside the
    // document. Another page shows from its top, scrolled sideways as before.
    int PreviewPage() const { return previewPage_; }
    bool SetPreviewPage(int page);

    // The zoom in percent, kept within ZoomMinimum..ZoomMaximum; setting it
    // selects zooming by percent.
    double ZoomPercent() const { return zoom_; }
    void SetZoomPercent(double percent);
    double ZoomMaximum() const { return zoomMax_; }
    void SetZoomMaximum(double percent);
    double ZoomMinimum() const { return zoomMin_; }
    void SetZoomMinimum(double percent);
    // The step of the double-click zoom.
    double ZoomStep() const { return zoomStep_; }
    void SetZoomStep(double percent) { zoomStep_ = percent; }
    // ZoomWholePage and ZoomPageWidth fit the page into the view and keep it
    // fitted; ZoomPercent reads the fitted percentage at once. Other values
    // are ignored.
    int ZoomMode() const { return zoomMode_; }
    void SetZoomMode(int mode);

    // Scroll position: the page point at the view's left and top edges, twips.
    double ScrollLeft() const;
    void SetScrollLeft(double twips);
    double ScrollTop() const;
    void SetScrollTop(double twips);
    // Scroll-bar steps in twips of the screen (15 to a pixel), both directions.
    double ScrollStepLarge() const { return stepLarge_; }
    void SetScrollStepLarge(double twips);
    double ScrollStepSmall() const { return stepSmall_; }
    void SetScrollStepSmall(double twips);

signals:
    void PreviewPageChanged(int page);
    void ZoomChanged(double percent);
    void DocumentChanged();

protected:
    void OnDocumentChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    double PixelsPerTwip() const { return zoom_ / 100.0 / 15.0; }
    const PageSettings* ShownSettings() const;
    double FittedZoom(int mode) const;
    // Applies a zoom, keeping the page point at `anchor` (viewport pixels) in place.
    void ApplyZoom(double percent, QPoint anchor);
    void RefitZoom();
    void UpdateScrollBars();
    void SettleScrollBars();
    QPointF PageOrigin() const;
    void StepPage(int delta);
    void StepZoom(double delta, QPoint anchor);

    int previewPage_ = 1;
    double zoom_ = 100;
    double zoomMax_ = 250;
    double zoomMin_ = 37;
    double zoomStep_ = 15;
    int zoomMode_ = ZoomByPercent;
    double stepLarge_ = 0;   // 0: a screenful
    double stepSmall_ = 300;
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint scrollAtDragStart_;
};

}  // namespace preview
