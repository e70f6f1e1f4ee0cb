#pragma once
#include "admin/core/SqlConsole.h"
#include "data/AppContext.h"

#include <QDialog>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QTableView;
class QToolBar;
class QsciScintilla;

namespace kodexa {

class QueryCursorModel;

// The SQL console "SQL lekérdezés": free SQL over the catalogue's connection, a query's
// rows in a grid read block by block, statements kept in .sql files of the SQL folder.
// A run goes on beside the window, which stays responsive: Esc or "Megszakítás" stops it.
class Tfrm_SQL final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_SQL)
public:
    explicit Tfrm_SQL(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_SQL() override;

    QueryCursorModel *resultModel() const { return model_; }
    QString fileName() const { return fileName_; }
    bool running() const { return running_; }

    void done(int result) override;

    QAction *aUj;
    QAction *aMegnyit;
    QAction *aMent;
    QAction *aExport;
    QAction *aBezar;
    QAction *aKivag;
    QAction *aMasol;
    QAction *aBeilleszt;
    QAction *aMindet;
    QAction *aFuttat;
    QAction *aMegszakit;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildEditor();
    QMenuBar *buildPlaces();
    void aFuttatExecute();
    void aMegnyitExecute();
    void aMentExecute();
    void aExportExecute();
    // The editing actions act on the editor only while its page is shown.
    void onEditorPage(const std::function<void(QsciScintilla *)> &fn);
    SqlConsole::Outcome runBeside(const QString &text);
    void setRunning(bool on);
    void closeResult();
    void showResult(std::unique_ptr<QueryCursor> cursor);

    AppContext &ctx_;
    SqlConsole console_;
    QString fileName_;
    bool running_ = false;
    QToolBar *ToolBar1;
    QTabWidget *PageControl1;
    QsciScintilla *Memo1;
    QTableView *DBGrid1;
    QueryCursorModel *model_;
    QLabel *StatusBar1;
    QMenu *PopupMenu1;
    QMenu *PopupMenu2;
};

// Creates the console, shows it modally and destroys it.
void ShowSqlConsole(AppContext &ctx, QWidget *parent = nullptr);

} // namespace kodexa
