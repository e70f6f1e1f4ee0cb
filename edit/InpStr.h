#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kodexa {

class DesktopServices;

// The one-line input box (Tfrm_InpStr), asked through the services the caller was given.
// true on OK with text replaced; on cancel text stays.
bool InputString(DesktopServices &services, const QString &caption, const QString &prompt, const QString &mask,
                 QString &text, QWidget *parent = nullptr);
// Shows the box itself; the desktop services of the program answer InputString with it
// (and report through services when its position cannot be stored).
bool ShowInpStr(DesktopServices &services, const QString &caption, const QString &prompt, const QString &mask,
                QString &text, QWidget *parent = nullptr);

class Tfrm_InpStr final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_InpStr)
public:
    explicit Tfrm_InpStr(DesktopServices &services, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;
};

} // namespace kodexa
