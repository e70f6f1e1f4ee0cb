#pragma once
// The main window: owns the connection Db1, the book list Tbl and the settings record;
// shows the list with its detail panel, and carries every command of the program.

#include "data/AppContext.h"
#include "data/BookList.h"
#include "data/Db.h"
#include "data/Settings.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QToolBar;
class QFrame;

namespace kodexa {

class BookGridModel;
class DesktopServices;
class ReadFailures;

// Starts the main window and runs the event loop until it closes. The program's exit status:
// 0 after a normal end or a login the user gave up; 1 when start-up was refused (a missing,
// foreign, damaged or locked catalogue) or failed, so a script or a launcher can tell.
int RunProgram(DesktopServices &services);

class Tfrm_Main final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Main)
public:
    explicit Tfrm_Main(DesktopServices &services, QWidget *parent = nullptr);
    ~Tfrm_Main() override;

    // The creation steps; false when the program must end (the reason was already shown).
    bool FormCreate();
    // After FormCreate gave false: true when it ended on an error, not on the user's choice.
    bool StartFailed() const { return startFailed_; }

    Db &Db1() { return db_; }
    BookList &Tbl() { return *tbl_; }
    TBeall &Beall() { return beall_; }
    AppContext &Context() { return ctx_; }
    DesktopServices &Services() { return services_; }

    qint64 NextKey(const QString &column, const QString &table = QString());
    void RunStatement(const QString &sql);

    void LoadGridColumns();
    void SpreadColumnWidths();
    void SortBy(const QString &field, const QString &caption);
    // Reads the book list again in its order, the current book kept (after another
    // connection changed the catalogue).
    void ReadListAgain();
    // Reads the columns, the sort and the list again (after a restore replaced the catalogue).
    void ReloadCatalogue();
    void ShowBookPicture();
    void ShowHintInStatusBar(const QString &hint);

    QString SortField() const { return sortField_; }
    QString SortCaption() const { return sortCaption_; }
    bool ColumnsLoaded() const { return columnsLoaded_; }
    QVector<int> ColumnWeights() const { return columnWeights_; }
    QString StatusText(int panel) const;
    QAction *Action(const QString &name) const { return actions_.value(name); }
    QStringList ActionNames() const { return actions_.keys(); }
    QTableView *Grid() const { return grid_; }
    BookGridModel *GridModel() const { return model_; }

    // Adds a command of a later window to the command set; the menus are rebuilt from the layouts.
    QAction *AddCommand(const QString &name, const std::function<void()> &run);

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void restoreSort();
    void buildLayout();
    void buildCommands();
    void rebuildCommandPlaces();
    void sortList(const QString &field, const QString &caption, bool storeMark);
    void TblAfterScroll();
    // Makes the grid's current cell the list's current row (the grid's own moves go the other way).
    void gridFollowsCurrent(int row);
    void showDetails();
    void Edit1Change(const QString &text);
    void DBGrid1TitleClick(int column);
    void FormShow();
    void FormClose();
    void command(const std::function<void()> &run);
    void fitOuterSize();
    // Reads the list from a Qt handler (a row change, a repaint): failures reported once.
    bool readGuarded(const std::function<void()> &read);

    // Commands acting on their own.
    void aUjExecute();
    void aSzerkesztExecute();
    void aTorolExecute();
    void aKepExecute();
    void aKeresExecute();
    void aMezoExecute();
    void aKolcsonadExecute();
    void aVisszaveszExecute();
    void aBetuNovelExecute();
    void aBetuCsokkentExecute();
    void applyGridFont();

    DesktopServices &services_;
    Db db_;
    BookList *tbl_;
    TBeall beall_;
    AppContext ctx_;
    QRect startBounds_;
    QSize outerSize_; // wanted size with the frame, applied once the window manager frames the window
    bool columnsLoaded_ = false;
    bool shownOnce_ = false;
    bool closed_ = false;
    bool startFailed_ = false;
    QVector<int> columnWeights_;
    QStringList gridFields_;
    QString sortField_;
    QString sortCaption_;

    QHash<QString, QAction *> actions_;
    QHash<QString, std::function<void()>> runs_;
    QToolBar *toolBar1_ = nullptr;
    QToolBar *toolBar2_ = nullptr;
    QMenu *gridMenu_ = nullptr;
    QMenu *printMenu_ = nullptr;
    QLineEdit *edit1_ = nullptr;
    QTableView *grid_ = nullptr;
    BookGridModel *model_ = nullptr;
    QFrame *panel2_ = nullptr;
    QFrame *panel3_ = nullptr;
    QLabel *image1_ = nullptr;
    QHash<QString, QLabel *> detail_;
    QLabel *status_[4] = {};
    QObject *wheelFilter_ = nullptr;
    ReadFailures *failures_ = nullptr;
    bool syncing_ = false;
};

// The printing commands (app/MainReports.cpp).
void AddReportCommands(Tfrm_Main &main);

} // namespace kodexa
