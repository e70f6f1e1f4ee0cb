#include "exchange/Import.h"

#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "exchange/Hatarolo.h"
#include "exchange/core/Pacer.h"
#include "gui/Placed.h"
#include "gui/Widgets.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace kodexa {

Tfrm_Import::Tfrm_Import(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    SetUpDialog(this, "frm_Import", QStringLiteral("Adatbázis import"), {780, 540});

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setGeometry(0, 0, 780, 30);
    auto action = [this](const char *name, const QString &caption, const char *icon) {
        auto *a = new QAction(QIcon::fromTheme(QLatin1String(icon)), caption, this);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(caption);
        addAction(a);
        return a;
    };
    aMegnyit = action("aMegnyit", QStringLiteral("File megnyitás"), "document-open");
    aMegnyit->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    aImport = action("aImport", QStringLiteral("Import indítása"), "document-import");
    aBezar = action("aBezar", QStringLiteral("Bezár"), "window-close");
    ToolBar1->addAction(aMegnyit);
    ToolBar1->addSeparator();
    ToolBar1->addAction(aImport);
    ToolBar1->addSeparator();
    ToolBar1->addAction(aBezar);

    CheckListBox1 = Placed<QListWidget>(this, QStringLiteral("CheckListBox1"), {0, 32, 160, 484});

    auto *group = Placed<QGroupBox>(this, QStringLiteral("GroupBox1"), {168, 34, 604, 86}, QStringLiteral("Betöltendő file"));
    auto *label1 = Placed<QLabel>(group, QStringLiteral("Label1"), {10, 18, 300, 16}, QStringLiteral("File teljes elérési útja"));
    Edit1 = Placed<QLineEdit>(group, QStringLiteral("Edit1"), {10, 36, 550, 22});
    label1->setBuddy(Edit1);
    BitBtn1 = Placed<QToolButton>(group, QStringLiteral("BitBtn1"), {566, 36, 28, 22});
    BitBtn1->setIcon(QIcon::fromTheme(QStringLiteral("document-open")));
    BitBtn1->setText(QStringLiteral("..."));
    BitBtn1->setToolTip(QStringLiteral("File megnyitás"));
    BitBtn1->setAccessibleName(QStringLiteral("File megnyitás"));
    BitBtn2 = Placed<QPushButton>(group, QStringLiteral("BitBtn2"), {10, 60, 120, 22}, QStringLiteral("Import indítása"));
    BitBtn2->setAutoDefault(false);
    Label2 = Placed<QLabel>(group, QStringLiteral("Label2"), {140, 62, 454, 18});

    SynEdit1 = Placed<QsciScintilla>(this, QStringLiteral("SynEdit1"), {168, 126, 604, 390});
    SynEdit1->setUtf8(true);
    SynEdit1->setFont(QFont(QStringLiteral("Lucida Console"), 9));
    SynEdit1->setEolMode(QsciScintilla::EolWindows);
    // The header is line 0, so the gutter shows each data line's number as the import counts it.
    SynEdit1->setMarginType(0, QsciScintilla::TextMargin);
    SynEdit1->setMarginsFont(QFont(QStringLiteral("Lucida Console"), 8));
    SynEdit1->setMarginWidth(0, QStringLiteral("0000000"));
    SynEdit1->setMarginWidth(1, 0);
    connect(SynEdit1, &QsciScintilla::SCN_UPDATEUI, this, [this](int) { numberVisibleLines(); });

    ProgressBar1 = Placed<QProgressBar>(this, QStringLiteral("ProgressBar1"), {0, 518, 780, 22});
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);

    connect(aMegnyit, &QAction::triggered, this, &Tfrm_Import::aMegnyitExecute);
    connect(BitBtn1, &QToolButton::clicked, this, &Tfrm_Import::aMegnyitExecute);
    connect(aImport, &QAction::triggered, this, &Tfrm_Import::runImport);
    connect(BitBtn2, &QPushButton::clicked, this, &Tfrm_Import::runImport);
    connect(aBezar, &QAction::triggered, this, &Tfrm_Import::reject);

    InstallFocusColour(this);
    RememberPosition(this, ctx_.services);
}

Tfrm_Import::~Tfrm_Import() = default;

void Tfrm_Import::numberVisibleLines() {
    const int first = SynEdit1->firstVisibleLine();
    const int shown = int(SynEdit1->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)) + 1;
    const int last = std::min(SynEdit1->lines(), first + shown);
    for (int line = first; line < last; ++line)
        SynEdit1->setMarginText(line, QString::number(line), QsciScintillaBase::STYLE_LINENUMBER);
}

namespace {
// QsciScintilla's own setText and text() stop at a NUL character; these keep the whole text,
// so a NUL reaches the import and is reported for its line instead of cutting the file short.
void SetWholeText(QsciScintilla *editor, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    editor->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    editor->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.constData());
    editor->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0L);
}

QString WholeText(QsciScintilla *editor) {
    QByteArray bytes(qsizetype(editor->length()) + 1, Qt::Uninitialized);
    editor->SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
    bytes.chop(1); // the terminating NUL
    return QString::fromUtf8(bytes);
}
} // namespace

void Tfrm_Import::clearFile() {
    CheckListBox1->clear();
    SynEdit1->clearMarginText();
    SynEdit1->clear();
    Label2->clear();
}

void Tfrm_Import::loadFile(const QString &path, QChar delimiter) {
    const ImportText file = ReadImportFile(path);
    const QString header = FirstLine(file.text);
    if (header.isEmpty()) {
        // The name field shows this file now: the editor must not go on holding the last one.
        clearFile();
        ctx_.services.ShowWarning(file.text.isEmpty() ? QStringLiteral("A file üres, nincs mit betölteni.")
                                                      : QStringLiteral("A file első sora (a fejléc) üres, nincs mit betölteni."),
                                  this);
        return;
    }
    // An editor laying out a line of many megabytes freezes the window: the file is refused.
    if (const qint64 line = FirstOverlongLine(file.text); line >= 0) {
        clearFile();
        ctx_.services.ShowError(QStringLiteral("A file %1. sora hosszabb 1 MB-nál, a file nem tölthető be.").arg(line), this);
        return;
    }
    delimiter_ = delimiter;
    CheckListBox1->clear();
    for (const ImportColumn &c : ImportHeader(header, delimiter)) {
        QListWidgetItem *item = AddTickItem(CheckListBox1, QLatin1Char('[') + QuotedForMessage(c.name) + QLatin1Char(']'));
        item->setData(Qt::UserRole, c.position);
        item->setData(Qt::UserRole + 1, c.name);
    }
    SynEdit1->clearMarginText();
    SetWholeText(SynEdit1, file.text);
    numberVisibleLines();
    Label2->setText(ImportEncodingNote(file));
}

bool Tfrm_Import::chooseAndLoad(QChar delimiter) {
    const QString path = ctx_.services.openFileName(
        QStringLiteral("Könyvek import"), Edit1->text(),
        QStringLiteral("Szöveges állományok (*.txt)|*.txt|CSV állományok (*.csv)|*.csv"), QStringLiteral("txt"), this);
    if (path.isEmpty())
        return false;
    Edit1->setText(path);
    CheckListBox1->clear();
    loadFile(path, delimiter);
    return true;
}

void Tfrm_Import::aMegnyitExecute() {
    if (busy_)
        return;
    const std::optional<QChar> d = ChooseImportDelimiter(this);
    if (!d)
        return;
    Guarded(ctx_.services, this, [&] { chooseAndLoad(*d); });
}

QVector<ImportColumn> Tfrm_Import::tickedColumns() const {
    QVector<ImportColumn> out;
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        const QListWidgetItem *item = CheckListBox1->item(i);
        if (item->checkState() == Qt::Checked)
            out.append({item->data(Qt::UserRole + 1).toString(), item->data(Qt::UserRole).toInt()});
    }
    return out;
}

void Tfrm_Import::runImport() {
    if (busy_)
        return;
    busy_ = true;
    running_ = true;
    aImport->setEnabled(false);
    aMegnyit->setEnabled(false);
    BitBtn2->setEnabled(false);
    QDir::setCurrent(ProgramDir());
    const QString text = WholeText(SynEdit1);
    ProgressBar1->setRange(0, int(std::min<qint64>(ImportLineCount(text), INT_MAX)));
    ProgressBar1->setValue(0);
    const auto shown = [this](qint64 lines) {
        Label2->setText(QStringLiteral("betöltött tételek száma: %1").arg(lines));
        ProgressBar1->setValue(int(std::min<qint64>(lines, ProgressBar1->maximum())));
    };
    Pacer pacer;
    try {
        const ImportResult r = ImportBooks(ctx_.db, text, delimiter_, tickedColumns(), QDate::currentDate(), [&](qint64 lines) {
            if (pacer.due()) {
                shown(lines);
                QApplication::processEvents();
            }
            return running_;
        });
        shown(r.lines);
        stored_ += r.lines;
        if (r.refused > 0)
            ctx_.services.ShowWarning(ImportSummary(r), this);
        else
            ctx_.services.ShowInfo(ImportSummary(r), this);
    } catch (const ImportError &e) {
        // Only what the catalogue kept is counted.
        shown(e.result().lines);
        stored_ += e.result().lines;
        ctx_.services.ShowError(e.message() + QStringLiteral("\n\n") + ImportSummary(e.result()), this);
    } catch (const Error &e) {
        ctx_.services.ShowError(e.message(), this);
    }
    ProgressBar1->setValue(0);
    running_ = false;
    busy_ = false;
    aImport->setEnabled(true);
    aMegnyit->setEnabled(true);
    BitBtn2->setEnabled(true);
}

void Tfrm_Import::reject() {
    // Closing during an import stops it after the line it is on; what was stored stays.
    if (busy_) {
        running_ = false;
        return;
    }
    QDialog::reject();
}

qint64 RunImport(AppContext &ctx, QWidget *parent) {
    const std::optional<QChar> d = ChooseImportDelimiter(parent);
    if (!d)
        return 0;
    Tfrm_Import w(ctx, parent);
    try {
        if (!w.chooseAndLoad(*d))
            return 0;
    } catch (const Error &e) {
        ctx.services.ShowError(e.message(), parent);
        return 0;
    }
    w.exec();
    return w.storedBooks();
}

} // namespace kodexa
