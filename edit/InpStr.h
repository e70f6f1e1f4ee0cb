#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kodexa {

// The one-line input box (Tfrm_InpStr). true on OK with text replaced; on cancel text stays.
bool InputString(const QString &caption, const QString &prompt, const QString &mask, QString &text,
                 QWidget *parent = nullptr);

class Tfrm_InpStr final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_InpStr)
public:
    explicit Tfrm_InpStr(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;
};

} // namespace kodexa
