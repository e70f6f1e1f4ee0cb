#pragma once
// Our print preview: shows one page of a report at a time, painted when it is shown, so a
// report of thousands of pages opens at once. Pages, zoom, printing through the system's
// dialog, saving as PDF; Esc closes.

#include "reports/core/ReportEngine.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace kodexa {

class DesktopServices;
class ReadFailures;

class PreviewPage final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPage(QWidget *parent = nullptr) : QWidget(parent) {}
    void setImage(QImage img);
    QSize sizeHint() const override { return image_.size() / image_.devicePixelRatio(); }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QImage image_;
};

class Tfrm_Elonezet final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Elonezet)
public:
    enum class Zoom { WholePage, PageWidth, Actual };

    Tfrm_Elonezet(report::Report &report, DesktopServices &services, QWidget *parent = nullptr);

    int page() const { return page_; } // 0-based
    void showPage(int index);
    void setZoom(Zoom z);
    Zoom zoom() const { return zoom_; }
    // The page as last painted (for a look from a test).
    const report::PageLayout &currentLayout() const { return layout_; }
    void savePdf();
    void printWithDialog();

    QToolButton *bFirst, *bPrior, *bNext, *bLast;
    QSpinBox *ePage;
    QLabel *lPages;
    QComboBox *cZoom;
    QPushButton *bPrint, *bPdf, *bClose;
    QScrollArea *scroll;
    PreviewPage *pageView;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void render();
    double dotsPerInch() const;

    report::Report &report_;
    DesktopServices &services_;
    ReadFailures *failures_; // reads met in key and paint handlers are reported, never thrown
    report::PageLayout layout_;
    int page_ = -1;
    bool rendering_ = false;
    Zoom zoom_ = Zoom::PageWidth;
};

} // namespace kodexa
