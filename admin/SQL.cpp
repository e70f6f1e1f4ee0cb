#include "admin/SQL.h"

#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "data/TextFile.h"
#include "exchange/Hatarolt.h"
#include "exchange/core/RowSource.h"
#include "gui/Actions.h"
#include "gui/QueryCursorModel.h"
#include "gui/Widgets.h"

#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <thread>

namespace kodexa {

namespace {
const QString Interrupted = QStringLiteral("A futtatás megszakítva, az adatbázis nem változott.");

QString SqlFolder() {
    const QString dir = ProgramPath(QStringLiteral("SQL"));
    QDir().mkpath(dir); // the file dialogs start there
    return dir;
}
} // namespace

Tfrm_SQL::Tfrm_SQL(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx), console_(ctx.db.path()) {
    SetUpDialog(this, "frm_SQL", QStringLiteral("SQL lekérdezés"));
    setSizeGripEnabled(true);
    resize(577, 371); // 585 by 405 with the frame

    const auto act = [this](const char *name, const char *caption, QList<QKeySequence> keys, const char *icon,
                            QStyle::StandardPixmap fallback) {
        return WindowAction(this, name, QString::fromUtf8(caption), keys, ThemeIcon(icon, fallback));
    };
    aUj = act("aUj", "Új SQL", {QKeySequence(Qt::CTRL | Qt::Key_N)}, "document-new", QStyle::SP_FileIcon);
    aMegnyit = act("aMegnyit", "SQL megnyitása", {QKeySequence(Qt::CTRL | Qt::Key_O)}, "document-open",
                   QStyle::SP_DialogOpenButton);
    aMent = act("aMent", "SQL mentése", {QKeySequence(Qt::CTRL | Qt::Key_S)}, "document-save", QStyle::SP_DialogSaveButton);
    aExport = act("aExport", "Export", {QKeySequence(Qt::CTRL | Qt::Key_E)}, "document-export", QStyle::SP_FileDialogListView);
    aBezar = act("aBezar", "Bezár", {}, "window-close", QStyle::SP_DialogCloseButton);
    aKivag = act("aKivag", "Kivág", {QKeySequence(Qt::CTRL | Qt::Key_X)}, "edit-cut", QStyle::SP_DialogDiscardButton);
    aMasol = act("aMasol", "Másol", {QKeySequence(Qt::CTRL | Qt::Key_C)}, "edit-copy", QStyle::SP_FileLinkIcon);
    aBeilleszt = act("aBeilleszt", "Beilleszt", {QKeySequence(Qt::CTRL | Qt::Key_V)}, "edit-paste", QStyle::SP_ArrowDown);
    aMindet = act("aMindet", "Mindet kijelöl", {QKeySequence(Qt::CTRL | Qt::Key_A)}, "edit-select-all",
                  QStyle::SP_FileDialogContentsView);
    aFuttat = act("aFuttat", "SQL lekérdezés", {Qt::Key_F5}, "media-playback-start", QStyle::SP_MediaPlay);
    aMegszakit = act("aMegszakit", "Megszakítás", {}, "process-stop", QStyle::SP_BrowserStop);
    aMegszakit->setToolTip(QStringLiteral("Megszakítás (Esc)"));
    aMegszakit->setEnabled(false);
    aExport->setEnabled(false);

    const auto guarded = [this](QAction *a, std::function<void()> fn) {
        connect(a, &QAction::triggered, this, [this, fn] { Guarded(ctx_.services, this, fn); });
    };
    guarded(aUj, [this] { Memo1->clear(); });
    guarded(aMegnyit, [this] { aMegnyitExecute(); });
    guarded(aMent, [this] { aMentExecute(); });
    guarded(aExport, [this] { aExportExecute(); });
    connect(aBezar, &QAction::triggered, this, &QDialog::reject);
    guarded(aKivag, [this] { onEditorPage([](QsciScintilla *e) { e->cut(); }); });
    guarded(aMasol, [this] { onEditorPage([](QsciScintilla *e) { e->copy(); }); });
    guarded(aBeilleszt, [this] { onEditorPage([](QsciScintilla *e) { e->paste(); }); });
    guarded(aMindet, [this] { onEditorPage([](QsciScintilla *e) { e->selectAll(true); }); });
    guarded(aFuttat, [this] { aFuttatExecute(); });
    connect(aMegszakit, &QAction::triggered, this, [this] { console_.interrupt(); });

    buildEditor();
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setDefaultSectionSize(64);
    SetGridFont(DBGrid1, ctx_.settings.FontSize);
    model_ = new QueryCursorModel(this);
    DBGrid1->setModel(model_);
    connect(model_, &QueryCursorModel::readFailed, this,
            [this](const QString &m) { ctx_.services.ShowError(SqlErrorText(m), this); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(Memo1, QStringLiteral("SQL"));
    PageControl1->addTab(DBGrid1, QStringLiteral("Eredmény"));

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setContentsMargins(4, 2, 4, 2);
    transactionState_ = new QLabel(this);
    transactionState_->setObjectName(QStringLiteral("TransactionState"));
    transactionState_->setContentsMargins(4, 2, 4, 2);
    QMenuBar *menu = buildPlaces();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(PageControl1, 1);
    auto *status = new QHBoxLayout;
    status->addWidget(StatusBar1, 1);
    status->addWidget(transactionState_);
    layout->addLayout(status);
    layout->setMenuBar(menu);

    SqlFolder();
    seenVersion_ = ctx_.db.dataVersion();
    RememberPosition(this, ctx_.services);
    Memo1->setFocus();
}

// The result's statements go before the connection they were read from.
Tfrm_SQL::~Tfrm_SQL() { model_->setCursor(nullptr); }

void Tfrm_SQL::buildEditor() {
    Memo1 = new QsciScintilla(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setUtf8(true);
    Memo1->setEolMode(QsciScintilla::EolUnix);
    const QFont font(QStringLiteral("Courier New"), 10);
    auto *lexer = new QsciLexerSQL(Memo1);
    lexer->setDefaultFont(font);
    lexer->setFont(font);
    const QColor green(0, 128, 0), blue(0, 0, 255), red(255, 0, 0), navy(0, 0, 128);
    for (int style : {QsciLexerSQL::Comment, QsciLexerSQL::CommentLine, QsciLexerSQL::CommentDoc,
                      QsciLexerSQL::CommentLineHash, QsciLexerSQL::CommentDocKeyword})
        lexer->setColor(green, style);
    lexer->setColor(blue, QsciLexerSQL::Number);
    lexer->setColor(red, QsciLexerSQL::SingleQuotedString);
    lexer->setColor(red, QsciLexerSQL::DoubleQuotedString);
    QFont bold = font;
    bold.setBold(true);
    lexer->setColor(navy, QsciLexerSQL::Keyword);
    lexer->setFont(bold, QsciLexerSQL::Keyword);
    Memo1->setLexer(lexer);
    Memo1->setMarginType(0, QsciScintilla::NumberMargin);
    Memo1->setMarginsFont(QFont(QStringLiteral("Courier New"), 8));
    Memo1->setMarginWidth(0, QStringLiteral("0000"));
    Memo1->setMarginWidth(1, 0);
    Memo1->setCaretLineVisible(true);
    Memo1->setCaretLineBackgroundColor(QColor(225, 240, 255));
    Memo1->setSelectionBackgroundColor(QColor(192, 192, 192));
    Memo1->resetSelectionForegroundColor(); // the colouring stays readable in a selection
    Memo1->setScrollWidth(1);
    Memo1->setScrollWidthTracking(true);
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Esc belongs to the window (stop a run, or close); the editor would keep it.
    EscapeRejects(Memo1, this);
}

QMenuBar *Tfrm_SQL::buildPlaces() {
    auto *menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *file = menuBar->addMenu(QStringLiteral("Fájl"));
    file->addActions({aUj, aMegnyit, aMent});
    file->addSeparator();
    file->addAction(aExport);
    file->addSeparator();
    file->addAction(aBezar);
    QMenu *edit = menuBar->addMenu(QStringLiteral("Szerkesztés"));
    edit->addActions({aKivag, aMasol, aBeilleszt});
    edit->addSeparator();
    edit->addAction(aMindet);
    QMenu *sql = menuBar->addMenu(QStringLiteral("SQL"));
    sql->addActions({aFuttat, aMegszakit});
    for (QMenu *m : {file, edit, sql})
        m->setToolTipsVisible(true);

    ToolBar1->addActions({aUj, aMegnyit, aMent});
    ToolBar1->addSeparator();
    ToolBar1->addAction(aExport);
    ToolBar1->addSeparator();
    ToolBar1->addActions({aFuttat, aMegszakit});
    ToolBar1->addSeparator();
    ToolBar1->addActions({aKivag, aMasol, aBeilleszt});
    ToolBar1->addSeparator();
    ToolBar1->addAction(aBezar);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(aFuttat);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({aUj, aMegnyit, aMent});
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({aKivag, aMasol, aBeilleszt, aMindet});
    connect(Memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->exec(Memo1->mapToGlobal(pos)); });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addAction(aMasol);
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(aExport);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu2->exec(DBGrid1->viewport()->mapToGlobal(pos)); });

    return menuBar;
}

void Tfrm_SQL::done(int result) {
    // Esc or closing while a statement runs stops the statement; the window stays.
    if (running_) {
        console_.interrupt();
        return;
    }
    if (!endOpenTransaction())
        return;
    closeResult();
    QDialog::done(result);
}

bool Tfrm_SQL::endOpenTransaction() {
    if (!console_.inTransaction())
        return true;
    const Answer answer = ctx_.services.askYesNoCancel(
        QStringLiteral("A lekérdezőablak nyitott tranzakciót tart. Véglegesíti a módosításokat?"), windowTitle(), this);
    if (answer == Answer::Cancel)
        return false;
    closeResult();
    try {
        console_.endTransaction(answer == Answer::Yes);
    } catch (const Error &e) {
        // A commit refused (another program's lock): the transaction and the window stay.
        ctx_.services.ShowError(SqlErrorText(e.message()), this);
        afterChange();
        return false;
    }
    afterChange();
    return true;
}

void Tfrm_SQL::afterChange() {
    transactionState_->setText(console_.inTransaction() ? QStringLiteral("Nyitott tranzakció") : QString());
    // The windows' connection sees its data_version move when another connection commits.
    qint64 now = seenVersion_;
    Guarded(ctx_.services, this, [&] { now = ctx_.db.dataVersion(); });
    if (now != seenVersion_) {
        seenVersion_ = now;
        emit dataChanged();
    }
}

void Tfrm_SQL::closeEvent(QCloseEvent *event) {
    if (running_) {
        console_.interrupt();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Tfrm_SQL::onEditorPage(const std::function<void(QsciScintilla *)> &fn) {
    if (PageControl1->currentIndex() == 0)
        fn(Memo1);
}

void Tfrm_SQL::closeResult() {
    model_->setCursor(nullptr);
    aExport->setEnabled(false);
}

void Tfrm_SQL::showResult(std::unique_ptr<QueryCursor> cursor) {
    const int rows = cursor->rowCount();
    model_->setCursor(std::move(cursor));
    for (int c = 0; c < model_->columnCount(); ++c)
        DBGrid1->setColumnWidth(c, 64);
    PageControl1->setCurrentIndex(1);
    aExport->setEnabled(true);
    StatusBar1->setText(QStringLiteral("%1 sor").arg(rows));
}

void Tfrm_SQL::setRunning(bool on) {
    running_ = on;
    for (QAction *a : {aUj, aMegnyit, aMent, aFuttat})
        a->setEnabled(!on);
    aMegszakit->setEnabled(on);
    Memo1->setReadOnly(on);
    StatusBar1->setText(on ? QStringLiteral("Fut… (Esc: megszakítás)") : QString());
}

SqlConsole::Outcome Tfrm_SQL::runBeside(const QString &text) {
    // The engine works on a thread of its own so that the window can still take the
    // stop request; the window waits for it here, so nothing else runs meanwhile.
    console_.clearInterrupt();
    setRunning(true);
    SqlConsole::Outcome outcome;
    QEventLoop wait;
    std::thread worker([this, &text, &outcome, &wait] {
        outcome = console_.run(text);
        QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
    });
    wait.exec();
    worker.join();
    setRunning(false);
    return outcome;
}

void Tfrm_SQL::aFuttatExecute() {
    closeResult();
    // Read from the editor itself: its hasSelectedText() can still report a selection that
    // typing has just replaced, and the run would take an empty text for it.
    const QString selected = Memo1->selectedText();
    const QString text = selected.isEmpty() ? Memo1->text() : selected;
    SqlConsole::Outcome outcome = runBeside(text);
    afterChange();
    if (outcome.interrupted) {
        StatusBar1->setText(QStringLiteral("Megszakítva"));
        // Typed transaction control keeps what ran before the stop.
        ctx_.services.ShowInfo(outcome.asTyped ? QStringLiteral("A futtatás megszakítva.") : Interrupted, this);
    } else if (!outcome.error.isEmpty()) {
        ctx_.services.ShowError(outcome.error, this);
    } else if (outcome.kind == SqlConsole::Kind::Query) {
        showResult(std::move(outcome.cursor));
    } else {
        ctx_.services.ShowInfo(QStringLiteral("SQL futtatás kész."), this);
    }
}

void Tfrm_SQL::aMegnyitExecute() {
    const QString path = ctx_.services.openFileName(QStringLiteral("SQL megnyitás"), SqlFolder(),
                                                    QStringLiteral("SQL állományok (*.sql)|*.sql"), QStringLiteral("sql"), this);
    if (path.isEmpty())
        return;
    Memo1->setText(ReadCp1250Lines(path).join(QLatin1Char('\n')));
    fileName_ = path;
}

void Tfrm_SQL::aMentExecute() {
    const QString path =
        ctx_.services.saveFileName(QStringLiteral("SQL mentése"), fileName_.isEmpty() ? SqlFolder() : fileName_,
                                   QStringLiteral("SQL file-ok (*.sql)|*.sql"), QStringLiteral("sql"), this);
    if (path.isEmpty())
        return;
    WriteCp1250Lines(path, TextLines(Memo1->text()));
    fileName_ = path;
}

void Tfrm_SQL::aExportExecute() {
    const QueryCursor *cursor = model_->cursor();
    if (!cursor)
        return;
    // The export reads the statement anew, start to end; the grid keeps its own cursor.
    QuerySource source(console_.db(), cursor->statement());
    ExportDelimited(source, QString(), false, ctx_.services, this);
}

void ShowSqlConsole(AppContext &ctx, QWidget *parent, const std::function<void()> &dataChanged) {
    Tfrm_SQL window(ctx, parent);
    if (dataChanged)
        QObject::connect(&window, &Tfrm_SQL::dataChanged, parent ? static_cast<QObject *>(parent) : &window, dataChanged);
    window.exec();
}

} // namespace kodexa
