// crash_helper: kills a worker with SIGKILL at random moments of a write and checks the
// catalogue after every kill, opened as the program opens it.
//
//   crash_helper run KIND KILLS [--lines N] [--seed S] [--moments]
//   crash_helper work KIND DIR [MOMENT CHANGE]   (the worker; started by run)
//
// KIND is one of
//   import  the import run over a file of N lines (20,000 unless told), one transaction;
//   edit    the book edit dialog (offscreen) posting one edit after another: a new title
//           and a new author each time, the author's lookup row and the book together;
//   rename  the master data rename of one author carried into the books holding it (a
//           fifth of N: 4,000), back and forth.
// After each kill: the engine's integrity check is "ok", the book count is the count before
// the write or the count after it, every book's search keys and lookup name copies agree
// with their sources (the catalogue check of kodexa-cli), and the kind's own whole: an
// edited book's title and author are from the same edit, every book of the renamed author
// carries the name its lookup row has. Every kill starts again from a copy of the same
// catalogue. Prints one line per kind with the figures; exits 1 when a check failed.
//
// Without --moments each kill comes after a random time (scripts/crash-test: any instant,
// mid-write of a page included). With --moments the kills are placed, not timed: kill 1, 4,
// ... when the worker is set up and has written nothing, kill 2, 5, ... inside its first
// write (at the row change the seed picks), kill 3, 6, ... right after its first write
// committed; the worker stops there and waits for the kill, so a run with a given seed is
// the same run on any machine under any load (the suite's crash_harness test).

#include "data/AppContext.h"
#include "data/BookList.h"
#include "data/Catalogue.h"
#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "edit/Szerkeszt.h"
#include "edit/core/MasterData.h"
#include "exchange/core/Import.h"
#include "support/ScriptedServices.h"
#include "tools/core/CatalogueCheck.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kodexa;

namespace {

const QString RenamedA = QStringLiteral("Próba Szerző");
const QString RenamedB = QStringLiteral("Ősi Próba-Szerző");

QTextStream &err() {
    static QTextStream s(stderr);
    return s;
}

QString Catalogue(const QString &dir) { return dir + QStringLiteral("/Kodexa.sqb"); }
QString Pristine(const QString &dir) { return dir + QStringLiteral("/pristine.sqb"); }
QString ImportFile(const QString &dir) { return dir + QStringLiteral("/import.txt"); }

// Where a placed kill lands (--moments); Any: wherever the timed kill finds the worker.
enum class Moment { Any, Before, Inside, After };

const char *MomentName(Moment m) {
    switch (m) {
    case Moment::Before: return "before";
    case Moment::Inside: return "inside";
    case Moment::After: return "after";
    case Moment::Any: break;
    }
    return "any";
}

std::optional<Moment> MomentOf(const QString &name) {
    for (Moment m : {Moment::Any, Moment::Before, Moment::Inside, Moment::After})
        if (name == QLatin1String(MomentName(m)))
            return m;
    return std::nullopt;
}

// The worker's stop: its moment and, inside a write, the row change to stop at (1-based).
struct Stop {
    Moment moment = Moment::Any;
    qint64 change = 0;
    qint64 seen = 0;
};
Stop stop;

// Tells the parent the worker stands at its moment, then waits for the kill.
[[noreturn]] void WaitForKill() {
    const char c = 'k';
    if (write(STDOUT_FILENO, &c, 1) != 1)
        std::_Exit(4);
    for (;;)
        pause();
}

// Tells the parent that the set-up is done and the writes begin; arms the worker's stop.
void Ready(Db &db) {
    const char c = 'r';
    if (write(STDOUT_FILENO, &c, 1) != 1)
        std::_Exit(4);
    if (stop.moment == Moment::Before)
        WaitForKill();
    if (stop.moment == Moment::Inside)
        // Called by the engine right after a row changed: a write transaction is open.
        sqlite3_update_hook(
            db.handle(),
            [](void *, int, const char *, const char *, sqlite3_int64) {
                if (++stop.seen == stop.change)
                    WaitForKill();
            },
            nullptr);
}

// One whole write (an import, an edit, a rename) is committed.
void Written() {
    if (stop.moment == Moment::After)
        WaitForKill();
}

// ---- the workers ----

int WorkImport(const QString &dir) {
    Db db;
    db.open(Catalogue(dir));
    RequireCatalogueTables(db);
    const ImportText file = ReadImportFile(ImportFile(dir));
    const QChar tab(QLatin1Char('\t'));
    const QVector<ImportColumn> columns = ImportHeader(FirstLine(file.text), tab);
    Ready(db);
    ImportBooks(db, file.text, tab, columns, QDate::currentDate(), [](qint64) { return true; });
    Written();
    return 0;
}

int WorkEdit(const QString &dir) {
    Db db;
    db.open(Catalogue(dir));
    RequireCatalogueTables(db);
    BookList tbl(db);
    tbl.beforePost = TblBeforePost;
    tbl.open(QStringLiteral("cims"), QStringLiteral("cim"));
    TBeall settings;
    ScriptedServices services;
    AppContext ctx{db, tbl, settings, services};
    Ready(db);
    for (qint64 n = 1;; ++n) {
        tbl.moveTo(int(n % tbl.recordCount()));
        tbl.edit();
        Tfrm_Szerkeszt dialog(ctx);
        auto *title = dialog.findChild<QLineEdit *>(QStringLiteral("DBEdit6"));
        auto *author = dialog.findChild<QComboBox *>(QStringLiteral("DBComboBox1"));
        if (!title || !author)
            return 3;
        title->setText(QStringLiteral("Szerkesztett cím %1").arg(n));
        author->setEditText(QStringLiteral("Szerkesztő Szerző %1").arg(n));
        dialog.accept();
        if (!services.messages.isEmpty() || tbl.state() != DsState::Browse) {
            err() << "the edit was refused: " << services.errorTexts().join(QLatin1Char(' ')) << '\n';
            return 3;
        }
        Written();
    }
}

int WorkRename(const QString &dir) {
    Db db;
    db.open(Catalogue(dir));
    RequireCatalogueTables(db);
    MemDataset ds(db);
    const MasterTable &authors = MasterTableAt(0);
    OpenMasterTable(ds, authors);
    if (!ds.locate(authors.nameColumn, RenamedA))
        return 3;
    Ready(db);
    for (qint64 n = 1;; ++n) {
        RenameCurrent(ds, authors, n % 2 ? RenamedB : RenamedA);
        Written();
    }
}

int Work(const QString &kind, const QString &dir) {
    SetProgramDir(dir);
    try {
        if (kind == QLatin1String("import"))
            return WorkImport(dir);
        if (kind == QLatin1String("edit"))
            return WorkEdit(dir);
        if (kind == QLatin1String("rename"))
            return WorkRename(dir);
    } catch (const Error &e) {
        err() << "worker: " << e.message() << '\n';
        return 3;
    }
    return 2;
}

// ---- preparing a kind ----

void WriteImportFile(const QString &path, int lines) {
    QString text = QStringLiteral("szerzo_nev\tcim\tkiado_nev\tmufaj_nev\tisbn\tkiadas\tar\tkulcsszavak\t\r\n");
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("Író %1\tÁrvíztűrő kötet %2\tKiadó %3\tMűfaj %4\t963-%2\t%5\t%6\tkulcs%4 szó\t\r\n")
                    .arg(i % 700)
                    .arg(i)
                    .arg(i % 90)
                    .arg(i % 12)
                    .arg(1 + i % 9)
                    .arg(1000 + i % 5000);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit())
        throw FileError(path + QStringLiteral(": ") + f.errorString());
}

// Books holding the renamed author: a fifth of the import's lines.
int RenameBooks(int lines) { return std::max(1, lines / 5); }

void Prepare(const QString &kind, const QString &dir, int lines) {
    CreateCatalogue(Pristine(dir), true);
    Db db;
    db.open(Pristine(dir));
    if (kind == QLatin1String("import")) {
        WriteImportFile(ImportFile(dir), lines);
    } else if (kind == QLatin1String("rename")) {
        Transaction tx(db);
        for (int i = 1, n = RenameBooks(lines); i <= n; ++i) {
            BookInput b;
            b.cim = QStringLiteral("Próbakötet %1").arg(i);
            b.szerzo = RenamedA;
            b.kiado = QStringLiteral("Próba Kiadó");
            AddBook(db, b);
        }
        tx.commit();
    }
}

// ---- the check after a kill ----

struct Figures {
    int kills = 0;          // workers that died of the kill
    int finished = 0;       // workers that ended before it (the import only)
    int hotJournal = 0;     // kills that left a journal: inside a write
    int before = 0, after = 0; // import: the count before / after the run
    QStringList failures;
};

qint64 Count(Db &db) { return db.scalar(QStringLiteral("SELECT count(*) FROM konyvek")).toLongLong(); }

// Opens the catalogue as the program does and checks it; an empty text when all is well.
QString Check(const QString &kind, const QString &dir, qint64 before, qint64 lines, Figures &f) {
    Db db;
    try {
        db.open(Catalogue(dir));
        RequireCatalogueTables(db);
        const CheckReport report = CheckCatalogue(db, false);
        if (!report.integrity.isEmpty())
            return QStringLiteral("integrity: ") + report.integrity.join(QLatin1Char(' '));
        if (!report.clean())
            return QStringLiteral("check: ") + report.findings.join(QLatin1Char(' '));
        const qint64 count = Count(db);
        if (kind == QLatin1String("import")) {
            if (count == before)
                ++f.before;
            else if (count == before + lines)
                ++f.after;
            else
                return QStringLiteral("%1 books: neither %2 nor %3").arg(count).arg(before).arg(before + lines);
        } else if (count != before) {
            return QStringLiteral("%1 books instead of %2").arg(count).arg(before);
        }
        if (kind == QLatin1String("edit")) {
            // Title and author of every edited book come from one and the same edit.
            Stmt s = db.prepare(QStringLiteral("SELECT konyvek, cim, szerzo_nev FROM konyvek WHERE cim LIKE 'Szerkesztett cím %'"));
            while (s.step()) {
                const QString n = s.text(1).section(QLatin1Char(' '), 2);
                if (s.text(2) != QStringLiteral("Szerkesztő Szerző ") + n)
                    return QStringLiteral("book %1: title '%2' with author '%3'").arg(s.int64(0)).arg(s.text(1), s.text(2));
            }
        }
        if (kind == QLatin1String("rename")) {
            const QString name = db.scalar(QStringLiteral("SELECT szerzo_nev FROM szerzo WHERE szerzo_nev IN ('%1', '%2')")
                                               .arg(RenamedA, RenamedB))
                                     .toString();
            if (name.isEmpty())
                return QStringLiteral("the renamed author is gone");
            const qint64 carried = db.scalar(QStringLiteral("SELECT count(*) FROM konyvek WHERE szerzo_nev = '%1'").arg(name)).toLongLong();
            if (carried != RenameBooks(int(lines)))
                return QStringLiteral("%1 of %2 books carry '%3'").arg(carried).arg(RenameBooks(int(lines))).arg(name);
        }
    } catch (const Error &e) {
        return QStringLiteral("opening: ") + e.message();
    }
    return QString();
}

void Restore(const QString &dir) {
    QFile::remove(Catalogue(dir));
    QFile::remove(Catalogue(dir) + QStringLiteral("-journal"));
    if (!QFile::copy(Pristine(dir), Catalogue(dir)))
        throw FileError(QStringLiteral("cannot copy the catalogue"));
}

// What a placed kill must leave: before and inside the first write the catalogue as it was
// (inside: with a journal behind, rolled back on opening), after it the first write whole.
QString CheckMoment(const QString &kind, const QString &dir, Moment moment, bool journal, qint64 before, qint64 lines) {
    if (moment == Moment::Any)
        return QString();
    if (journal != (moment == Moment::Inside))
        return journal ? QStringLiteral("a journal left behind outside a write") : QStringLiteral("no journal left inside a write");
    const bool written = moment == Moment::After;
    Db db;
    try {
        db.open(Catalogue(dir));
        if (kind == QLatin1String("import")) {
            const qint64 want = written ? before + lines : before;
            if (Count(db) != want)
                return QStringLiteral("%1 books instead of %2").arg(Count(db)).arg(want);
        } else if (kind == QLatin1String("edit")) {
            const qint64 edited =
                db.scalar(QStringLiteral("SELECT count(*) FROM konyvek WHERE cim = 'Szerkesztett cím 1' AND szerzo_nev = 'Szerkesztő Szerző 1'"))
                    .toLongLong();
            if (edited != (written ? 1 : 0))
                return QStringLiteral("%1 books carry the first edit").arg(edited);
        } else {
            const QString want = written ? RenamedB : RenamedA;
            if (db.scalar(QStringLiteral("SELECT count(*) FROM szerzo WHERE szerzo_nev = '%1'").arg(want)).toLongLong() != 1)
                return QStringLiteral("the author is not '%1'").arg(want);
        }
    } catch (const Error &e) {
        return QStringLiteral("opening: ") + e.message();
    }
    return QString();
}

struct Worker {
    pid_t pid = -1;
    int out = -1; // reads the ready mark and the stop mark
};

Worker Start(const QString &self, const QString &kind, const QString &dir, Moment moment = Moment::Any, qint64 change = 0) {
    int fds[2];
    if (pipe(fds) != 0)
        throw Error(QStringLiteral("pipe"));
    const QByteArray exe = self.toLocal8Bit(), k = kind.toLocal8Bit(), d = dir.toLocal8Bit(), c = QByteArray::number(change);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execl(exe.constData(), exe.constData(), "work", k.constData(), d.constData(), MomentName(moment), c.constData(),
              static_cast<char *>(nullptr));
        std::_Exit(127);
    }
    close(fds[1]);
    return {pid, fds[0]};
}

// Reads the worker's next mark; false when it ended without giving it.
bool Mark(Worker &w, char want) {
    char c = 0;
    ssize_t n;
    while ((n = read(w.out, &c, 1)) < 0 && errno == EINTR) {
    }
    return n == 1 && c == want;
}

// The time from ready to the end of an undisturbed import, in microseconds.
qint64 MeasureImport(const QString &self, const QString &dir) {
    Restore(dir);
    Worker w = Start(self, QStringLiteral("import"), dir);
    const bool ready = Mark(w, 'r');
    close(w.out);
    if (!ready)
        throw Error(QStringLiteral("the worker did not start"));
    QElapsedTimer t;
    t.start();
    int status = 0;
    waitpid(w.pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw Error(QStringLiteral("the undisturbed import failed"));
    return t.nsecsElapsed() / 1000;
}

bool Run(const QString &self, const QString &kind, int kills, int lines, quint32 seed, bool moments) {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    Prepare(kind, dir, lines);
    qint64 before = 0;
    {
        Db db;
        db.open(Pristine(dir));
        before = Count(db);
    }
    QRandomGenerator random(seed);
    // Timed kills. The import: any moment of the run, commit included (a little past its
    // end ends some runs undisturbed). The endless edits and renames: any moment of their
    // first stretch.
    qint64 window = moments                           ? 0
                    : kind == QLatin1String("import") ? MeasureImport(self, dir) * 105 / 100
                    : kind == QLatin1String("edit")   ? 300'000
                                                      : 1'500'000;
    const qint64 measured = window;
    // Placed kills inside the first write: at one of its row changes. An import inserts a
    // book per line (lookup rows besides, not counted here); an edit writes the new author
    // and the book; a rename writes the names of its books, then their search keys, then
    // the author, one statement after the other.
    const qint64 changes = kind == QLatin1String("import") ? lines
                           : kind == QLatin1String("edit") ? 2
                                                            : 2 * RenameBooks(lines) + 1;
    QStringList placed;
    Figures f;
    QElapsedTimer total;
    total.start();
    int attempts = 0;
    while (f.kills < kills && attempts++ < kills * 3) {
        const Moment moment = moments ? Moment(1 + f.kills % 3) : Moment::Any;
        const qint64 change = moment == Moment::Inside ? 1 + qint64(random.bounded(quint32(changes))) : 0;
        if (change)
            placed << QString::number(change);
        Restore(dir);
        Worker w = Start(self, kind, dir, moment, change);
        const bool ready = Mark(w, 'r');
        const bool atMoment = ready && (!moments || Mark(w, 'k'));
        close(w.out);
        if (!atMoment) {
            kill(w.pid, SIGKILL);
            waitpid(w.pid, nullptr, 0);
            f.failures << (ready ? QStringLiteral("the worker ended before its moment (%1, change %2)").arg(QLatin1String(MomentName(moment))).arg(change)
                                 : QStringLiteral("the worker did not start"));
            break;
        }
        const qint64 delay = moments ? 0 : qint64(random.bounded(quint32(window)));
        QThread::usleep(quint64(delay));
        kill(w.pid, SIGKILL);
        int status = 0;
        waitpid(w.pid, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
            ++f.kills;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && kind == QLatin1String("import") && !moments) {
            // The import was over before the kill: it took less than the window says. One
            // measured run is only a guess (the machine's load comes and goes): the window
            // shrinks to what was seen, and such a run costs no attempt, or a window measured
            // in a slow moment would use them all up.
            ++f.finished;
            window = std::max<qint64>(1, delay);
            if (f.finished > kills * 10) {
                f.failures << QStringLiteral("the import ended before the kill %1 times").arg(f.finished);
                break;
            }
            --attempts;
            continue;
        } else {
            f.failures << QStringLiteral("the worker failed (status %1)").arg(status);
            continue;
        }
        const bool journal = QFileInfo(Catalogue(dir) + QStringLiteral("-journal")).size() > 0;
        if (journal)
            ++f.hotJournal;
        QString problem = Check(kind, dir, before, lines, f);
        if (problem.isEmpty())
            problem = CheckMoment(kind, dir, moment, journal, before, lines);
        if (!problem.isEmpty())
            f.failures << QStringLiteral("kill %1 (%2): %3").arg(f.kills).arg(QLatin1String(MomentName(moment)), problem);
    }
    QTextStream out(stdout);
    out << kind << ": " << f.kills << (moments ? " placed kills" : " kills");
    if (kind == QLatin1String("import") && !moments)
        out << " (+" << f.finished << " runs ended before the kill) of a " << lines << "-line import taking "
            << measured * 100 / 105 / 1000 << " ms";
    out << ", " << f.hotJournal << " inside a write (a journal left behind)";
    if (moments)
        out << " at row change " << placed.join(QStringLiteral(", ")) << " of " << changes;
    if (kind == QLatin1String("import"))
        out << "; books as before " << f.before << " times, as after " << f.after << " times";
    out << "; " << f.failures.size() << " failures; " << total.elapsed() / 1000.0 << " s\n";
    for (const QString &p : f.failures)
        out << "  " << p << '\n';
    out.flush();
    return f.failures.isEmpty() && f.kills == kills;
}

int Usage() {
    err() << "Használat: crash_helper run import|edit|rename|all KILLS [--lines N] [--seed S] [--moments]\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == QLatin1String("work")) {
        const std::optional<Moment> moment = MomentOf(args[4]);
        if (!moment)
            return 2;
        stop.moment = *moment;
        stop.change = args[5].toLongLong();
        return Work(args[2], args[3]);
    }
    if (args.size() < 4 || args[1] != QLatin1String("run"))
        return Usage();
    bool ok = false;
    const int kills = args[3].toInt(&ok);
    if (!ok || kills < 1)
        return Usage();
    int lines = 20000;
    quint32 seed = QRandomGenerator::global()->generate();
    bool moments = false;
    for (int i = 4; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--moments"))
            moments = true;
        else if (args[i] == QLatin1String("--lines") && i + 1 < args.size())
            lines = args[++i].toInt();
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toUInt();
        else
            return Usage();
    }
    if (lines < 1)
        return Usage();
    const QStringList kinds = args[2] == QLatin1String("all")
                                  ? QStringList{QStringLiteral("import"), QStringLiteral("edit"), QStringLiteral("rename")}
                                  : QStringList{args[2]};
    for (const QString &kind : kinds)
        if (kind != QLatin1String("import") && kind != QLatin1String("edit") && kind != QLatin1String("rename"))
            return Usage();
    QTextStream(stdout) << "seed " << seed << (moments ? " (placed kills)" : "") << '\n';
    bool allWell = true;
    try {
        for (const QString &kind : kinds)
            allWell = Run(QCoreApplication::applicationFilePath(), kind, kills, lines, seed, moments) && allWell;
    } catch (const Error &e) {
        err() << e.message() << '\n';
        return 1;
    }
    return allWell ? 0 : 1;
}
