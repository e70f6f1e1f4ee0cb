#pragma once
// Test fixtures: a temporary program directory with a real catalogue file made by the
// same code as kodexa-init, the book list and context a window gets, plus helpers to
// type text, press keys and answer modal windows.

#include "data/AppContext.h"
#include "data/BookList.h"
#include "data/Db.h"
#include "support/ScriptedServices.h"
#include "data/Settings.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <source_location>

class QWidget;
namespace kodexa {
class Tfrm_Main;
}

// Readable failure output for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) {
    *os << '{';
    for (qsizetype i = 0; i < l.size(); ++i)
        *os << (i ? ", \"" : "\"") << l[i].toStdString() << '"';
    *os << '}';
}

namespace kodexa::test {

class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates dir()/Kodexa.sqb (demo books when demo) and opens db on it.
    void makeCatalogue(bool demo = false);
    QString dir() const { return tmp_.path(); }
    QString path(const QString &name) const { return tmp_.path() + QLatin1Char('/') + name; }
    QByteArray readFile(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;

    QTemporaryDir tmp_;
    Db db;
    ScriptedServices services;
};

// A catalogue file with what the main window hands to every window it opens: the book
// list (by title, with its write rule), the settings record and the desktop services.
class CatalogueTest : public ProgramDirTest {
protected:
    void TearDown() override;
    // Makes the catalogue (demo books when demo), opens the book list and builds ctx.
    void openCatalogue(bool demo = false);
    // Reads the book list again after books were written behind its back.
    void reopenList();

    std::unique_ptr<BookList> tbl;
    TBeall settings;
    std::unique_ptr<AppContext> ctx;
};

// Starts the main window on the catalogue of the program directory, shown and active, with
// the keyboard in the book grid, as the user finds it; the test fails when it cannot start.
std::unique_ptr<Tfrm_Main> ShowMainWindow(DesktopServices &services);

// The main window shown on the demo catalogue (ShowMainWindow), for tests of its commands.
class DemoMainWindowTest : public ProgramDirTest {
protected:
    ~DemoMainWindowTest() override;
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<Tfrm_Main> w;
};

// Types text into the widget one character at a time (works for accented letters too).
void TypeText(QWidget *w, const QString &text);
// A key press as the user gives it: to the active window. Window shortcuts reach only the
// active window, and offscreen a closed dialog leaves none active, so this activates first.
void PressKey(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = {});
// Runs action on the next modal window that appears, made the active window first as the
// desktop does (so its shortcuts and key focus work); the action receives the window.
// Call before the code that opens it. Several calls answer modal windows in the order of
// the calls. A test that ends before its modal window came fails there: a dialog that
// never opened is a fault, not a case to pass over.
void WhenModal(std::function<void(QWidget *)> action,
               std::source_location where = std::source_location::current());
// Fails the running test for each WhenModal action still waiting, and drops them; run after
// every test.
void CheckModalsAnswered();
// Finds a child by objectName and type, failing the test when absent.
template <class T> T *Child(QWidget *parent, const QString &name);

// A file or folder nobody may write while the object lives, root included (root ignores
// permission bits, so it gets the file system's immutable flag). ok() is false where the
// system allows neither; the test then skips.
class WriteProtected {
public:
    explicit WriteProtected(const QString &path);
    ~WriteProtected();
    WriteProtected(const WriteProtected &) = delete;
    WriteProtected &operator=(const WriteProtected &) = delete;
    bool ok() const { return ok_; }

private:
    bool setImmutable(bool on);
    QString path_;
    bool ok_ = false;
    bool immutable_ = false;
    unsigned mode_ = 0;
};

// Overwrites with zeros the first page of each b-tree of the catalogue file that the
// condition on sqlite_master picks (e.g. "name='konyvek'": the book table alone; or
// "tbl_name='konyvek'": the table and its indexes). The file must be closed by every
// connection; a damaged file is what the caller wants.
void ZeroRootPages(const QString &file, const QString &which);

// A small file system of its own (tmpfs) mounted on folder, to fill up on purpose; needs
// the right to mount (ok() is false otherwise and the test skips). Unmounted on leaving.
class SmallDisk {
public:
    SmallDisk(const QString &folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool ok() const { return ok_; }
    // Fills the disk until fewer than `leave` bytes are free.
    void fill(qint64 leave = 0);

private:
    QString folder_;
    bool ok_ = false;
};

// An environment variable set (or, with a null value, unset) while the object lives.
class EnvVar {
public:
    EnvVar(const char *name, const QByteArray &value);
    ~EnvVar();
    EnvVar(const EnvVar &) = delete;
    EnvVar &operator=(const EnvVar &) = delete;

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

// Writes an executable shell script: a stand-in for a desktop tool put first on PATH.
void WriteScript(const QString &path, const QByteArray &body);

} // namespace kodexa::test

#include <QWidget>
template <class T> T *kodexa::test::Child(QWidget *parent, const QString &name) {
    T *w = parent->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << "missing child " << name.toStdString();
    return w;
}
