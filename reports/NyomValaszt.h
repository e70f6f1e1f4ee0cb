#pragma once
// The print-type choice every report asks before it runs: preview, print, or CSV export.

#include <QDialog>

class QRadioButton;
class QPushButton;
class QGroupBox;

namespace kodexa {

class DesktopServices;

// 0 preview, 1 print, 2 CSV export, -1 cancelled.
int ChoosePrintType(DesktopServices &services, QWidget *parent = nullptr);

class Tfrm_NyomValaszt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_NyomValaszt)
public:
    explicit Tfrm_NyomValaszt(DesktopServices &services, QWidget *parent = nullptr);
    int choice() const;

    QGroupBox *RadioGroup1;
    QRadioButton *items[3];
    QPushButton *Button1;
    QPushButton *Button2;
};

} // namespace kodexa
