#include "edit/TorzsAdat_Szerkeszt.h"

#include "data/Seged.h"
#include "data/TextFile.h"
#include "data/DesktopServices.h"
#include "gui/Widgets.h"

#include <Qsci/qsciscintilla.h>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kodexa {

namespace {
const QString TextFilter = QStringLiteral("Szöveg állományok (*.txt)|*.txt|Minden állomány (*.*)|*");
}

Tfrm_TorzsAdat_Szerkeszt::Tfrm_TorzsAdat_Szerkeszt(DesktopServices &services, QWidget *parent)
    : QDialog(parent), SynEdit1(new QsciScintilla(this)), Panel1(new QWidget(this)),
      Button3(new QPushButton(QStringLiteral("Betöltés file-ból"), Panel1)),
      Button4(new QPushButton(QStringLiteral("Mentés file-ba"), Panel1)),
      Button1(new QPushButton(QStringLiteral("OK"), Panel1)),
      Button2(new QPushButton(QStringLiteral("Mégsem"), Panel1)), services_(services) {
    SetUpDialog(this, "frm_TorzsAdat_Szerkeszt", QStringLiteral("Törzsadat rögzítés"));
    setSizeGripEnabled(true);
    resize(418, 373);
    SynEdit1->setObjectName(QStringLiteral("SynEdit1"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4->setObjectName(QStringLiteral("Button4"));

    SynEdit1->setUtf8(true);
    SynEdit1->setEolMode(QsciScintilla::EolUnix);
    SynEdit1->setFont(QFont(QStringLiteral("Lucida Console"), 9));
    SynEdit1->setMarginType(0, QsciScintilla::NumberMargin);
    SynEdit1->setMarginsFont(QFont(QStringLiteral("Courier New"), 8));
    SynEdit1->setMarginWidth(0, QStringLiteral("00000"));
    SynEdit1->setMarginWidth(1, 0);
    // Esc belongs to the window (cancel); the editor would keep it for itself.
    EscapeRejects(SynEdit1, this);
    // No horizontal scroll bar until a line needs one.
    SynEdit1->setScrollWidth(1);
    SynEdit1->setScrollWidthTracking(true);
    SynEdit1->setCaretLineVisible(true);
    SynEdit1->setCaretLineBackgroundColor(QColor(255, 255, 198));

    // Panel: the file buttons on the left, OK and Mégsem kept at the right edge.
    Panel1->setFixedHeight(41);
    for (QPushButton *b : {Button1, Button2, Button3, Button4}) {
        // At least the designed size; wider where the font needs it.
        b->setMinimumSize(b == Button3 || b == Button4 ? QSize(85, 25) : QSize(75, 25));
        b->setFixedHeight(25);
        b->setAutoDefault(false);
    }
    auto *strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(8, 8, 8, 8);
    strip->setSpacing(7);
    strip->addWidget(Button3);
    strip->addWidget(Button4);
    strip->addStretch(1);
    strip->addWidget(Button1);
    strip->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(SynEdit1, 1);
    layout->addWidget(Panel1);

    // Enter belongs to the editor (a new line); OK is pressed with the mouse or Tab.
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { loadFromFile(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { saveToFile(); }); });

    SynEdit1->setFocus();
    RememberPosition(this, services_);
}

void Tfrm_TorzsAdat_Szerkeszt::setLines(const QString &text) {
    SynEdit1->setText(TextLines(text).join(QLatin1Char('\n')));
    // What the caller gave is not the user's typing: closing without a change asks nothing.
    SynEdit1->setModified(false);
}

void Tfrm_TorzsAdat_Szerkeszt::reject() {
    // Esc, "Mégsem" and the window's close button all end here: names typed in would be lost.
    if (SynEdit1->isModified() && !SynEdit1->text().trimmed().isEmpty() &&
        !services_.AskYesNo(QStringLiteral("Elveti a beírt neveket?"), windowTitle(), this))
        return;
    QDialog::reject();
}

QString Tfrm_TorzsAdat_Szerkeszt::linesText() const { return LinesText(TextLines(SynEdit1->text())); }

void Tfrm_TorzsAdat_Szerkeszt::loadFromFile() {
    const QString path =
        services_.openFileName(QStringLiteral("Betöltés file-ból"), ProgramDir(), TextFilter, QStringLiteral("txt"), this);
    if (path.isEmpty())
        return;
    SynEdit1->setText(ReadCp1250Lines(path).join(QLatin1Char('\n')));
}

void Tfrm_TorzsAdat_Szerkeszt::saveToFile() {
    const QString path =
        services_.saveFileName(QStringLiteral("Mentés file-ba"), ProgramDir(), TextFilter, QStringLiteral("txt"), this);
    if (path.isEmpty())
        return;
    WriteCp1250Lines(path, TextLines(SynEdit1->text()));
}

QString EditLines(DesktopServices &services, const QString &text, const QString &caption, QWidget *parent) {
    Tfrm_TorzsAdat_Szerkeszt editor(services, parent);
    if (!caption.isEmpty())
        editor.setWindowTitle(caption);
    editor.setLines(text);
    if (editor.exec() != QDialog::Accepted)
        return QString();
    return editor.linesText();
}

} // namespace kodexa
