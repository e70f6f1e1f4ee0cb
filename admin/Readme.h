#pragma once
// The read-me window (Tfrm_Readme): the terms of use, which may be printed.

#include <QDialog>

class QPlainTextEdit;
class QPrinter;

namespace kodexa {

class DesktopServices;

void ShowReadme(DesktopServices &services, QWidget *parent = nullptr);

class Tfrm_Readme final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Readme)
public:
    explicit Tfrm_Readme(DesktopServices &services, QWidget *parent = nullptr);
    ~Tfrm_Readme() override;

    // "Nyomtat": the text as it stands in the window, through the system's print dialog.
    void print();

private:
    DesktopServices &services_;
    QPlainTextEdit *Memo1 = nullptr;
};

// Prints text on the printer's pages: Lucida Console 9 points, tab stops every eight
// characters, white pages, margins of 25 mm left, 15 mm right, 25 mm top and bottom; the
// title is the header and the page number the footer, each 15 mm from the paper's edge.
// Returns the number of pages printed.
int PrintPlainText(QPrinter &printer, const QString &title, const QString &text);

// Document name, one copy and the margins above.
void PreparePrinter(QPrinter &printer, const QString &title);

} // namespace kodexa
