#pragma once
#include <QDialog>
#include <QString>

class QPushButton;
class QWidget;
class QsciScintilla;

namespace kodexa {

class DesktopServices;

// The list editor (Tfrm_TorzsAdat_Szerkeszt): on OK the lines, each followed by a line break;
// otherwise empty text. services answers its file choosers and shows its file errors.
QString EditLines(DesktopServices &services, const QString &text, const QString &caption, QWidget *parent = nullptr);

class Tfrm_TorzsAdat_Szerkeszt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_TorzsAdat_Szerkeszt)
public:
    Tfrm_TorzsAdat_Szerkeszt(DesktopServices &services, QWidget *parent = nullptr);

    void setLines(const QString &text);
    // The editor's lines, each followed by "\n".
    QString linesText() const;

    QsciScintilla *SynEdit1;
    QWidget *Panel1;
    QPushButton *Button3;
    QPushButton *Button4;
    QPushButton *Button1;
    QPushButton *Button2;

public slots:
    // Asks before dropping names the user typed.
    void reject() override;

private:
    void loadFromFile();
    void saveToFile();

    DesktopServices &services_;
};

} // namespace kodexa
