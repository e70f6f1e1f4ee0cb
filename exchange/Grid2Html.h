#pragma once
// The HTML export dialog (Tfrm_Grid2Html): where to save the page of a grid, whether to
// open it afterwards, and the hand-over of the page to the mail client.

#include "exchange/core/Grid2Html.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kodexa {

class Dataset;
class DesktopServices;
struct AppContext;

// Shows a line in the caller's status bar.
using StatusLine = std::function<void(const QString &)>;

// The export of what a grid shows: the dialog for one call; on "OK" the page is written
// into the HTML folder (or wherever the user chose). groupField may be empty.
void ExportGridHtml(AppContext &ctx, const Dataset &rows, const HtmlGrid &grid, const QString &title,
                    const QString &subtitle, const QString &groupField, const StatusLine &status, QWidget *parent);

class Tfrm_Grid2Html final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Grid2Html)
public:
    Tfrm_Grid2Html(DesktopServices &services, const Dataset &rows, HtmlGrid grid, HtmlPageText page,
                   const QString &path, StatusLine status, QWidget *parent = nullptr);

    // Writes the page to the path in Edit1 and opens it when CheckBox1 is ticked. false
    // (after the error box) when the file could not be written.
    bool WritePage();

    QLabel *Label1;
    QLineEdit *Edit1;
    QToolButton *BitBtn1;
    QCheckBox *CheckBox1;
    QPushButton *Button3;
    QPushButton *Button1;
    QPushButton *Button2;

private:
    void BitBtn1Click();
    void Button1Click();
    void Button3Click();
    // What hears of an opening or a hand-over that ends after this dialog has closed: the
    // window below, which outlives it.
    QObject *lastingOwner();

    DesktopServices &services_;
    const Dataset &rows_;
    HtmlGrid grid_;
    HtmlPageText page_;
    StatusLine status_;
};

} // namespace kodexa
