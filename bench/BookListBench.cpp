// The book list at scale: start-up, sort, quick search, editing one book, paging through
// the whole list, and the memory it takes, over generated catalogues of 10,000, 200,000
// and 1,000,000 books. SortBy is also quoted against the sqlite3 shell running the same query.
#include "bench/BookListBench.h"
#include "bench/Generator.h"
#include "bench/Probe.h"

#include "app/BookGridModel.h"
#include "app/Main.h"
#include "tests/support/ScriptedServices.h"
#include "data/Seged.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

namespace kodexa::bench {

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// A program directory holding a copy of the cached catalogue as its Kodexa.sqb, one per
// size for the run: what the benchmarks write (sort marks, an edited title) never reaches
// the cache, even when a run is cut short.
QString ProgramDirFor(int books) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    auto &d = dirs[books];
    if (!d) {
        const QString cache = CachedCatalogue(books);
        d = std::make_unique<QTemporaryDir>();
        if (!d->isValid() || !QFile::copy(cache, d->filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue into a program directory");
    }
    SetProgramDir(d->path());
    return d->path();
}

QString CatalogueFor(int books) { return ProgramDirFor(books) + QStringLiteral("/Kodexa.sqb"); }

// Counts the paints of the grid, so a figure that painted nothing shows up as such.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The window of one catalogue, kept open across benchmarks; one at a time, to keep the
// process small.
struct OpenWindow {
    int books = 0;
    ScriptedServices services;
    std::unique_ptr<Tfrm_Main> w;
    PaintCounter paints;
};

std::unique_ptr<OpenWindow> open;

OpenWindow &WindowFor(int books) {
    if (open && open->books == books)
        return *open;
    open.reset();
    ProgramDirFor(books);
    auto o = std::make_unique<OpenWindow>();
    o->books = books;
    o->w = std::make_unique<Tfrm_Main>(o->services);
    if (!o->w->FormCreate())
        throw std::runtime_error("FormCreate failed");
    o->w->show();
    o->w->Grid()->viewport()->installEventFilter(&o->paints);
    QCoreApplication::processEvents();
    open = std::move(o);
    return *open;
}

// Whatever the event loop still has to do is done: layout, and the paint of every part
// that changed (the paint counters show it happened).
void Settle(Tfrm_Main &) { QCoreApplication::processEvents(); }

void SortByTitle(Tfrm_Main &w) {
    if (w.SortField() != QLatin1String("cim"))
        w.SortBy(QStringLiteral("cim"), QStringLiteral("cím"));
    Settle(w);
}

const char *const kSortFields[][3] = {
    {"cim", "cím", "cims"},
    {"szerzo_nev", "szerző", "szerzo_nevs"},
};

// The sqlite3 shell doing the list's query, output discarded: start to exit.
double ShellSeconds(int books, int field) {
    const QString sql = QStringLiteral("SELECT rowid, %1 FROM konyvek ORDER BY %2;")
                            .arg(QLatin1String(kSortFields[field][0]), QLatin1String(kSortFields[field][2]));
    const QString cmd = QStringLiteral("/usr/bin/sqlite3 '%1' '%2' > /dev/null").arg(CatalogueFor(books), sql);
    const auto t0 = Clock::now();
    if (std::system(cmd.toUtf8().constData()) != 0)
        throw std::runtime_error("sqlite3 shell failed");
    return Seconds(t0);
}

// Median of a few runs, measured once per size and field for the ratios.
double ShellReference(int books, int field) {
    static std::map<std::pair<int, int>, double> cache;
    auto it = cache.find({books, field});
    if (it != cache.end())
        return it->second;
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(ShellSeconds(books, field));
    std::sort(runs.begin(), runs.end());
    return cache[{books, field}] = runs[runs.size() / 2];
}

// A key pressed and let go, delivered the way the window system delivers it.
void KeyClick(QWidget *w, int key, const QString &text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

template <class Fn> void Guard(benchmark::State &state, Fn fn) {
    try {
        fn();
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

// Start-up: the window made, the catalogue opened and sorted, the first page painted.
void BM_StartUp(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        ProgramDirFor(books);
        int paints = 0;
        for (auto _ : state) {
            ScriptedServices services;
            PaintCounter counter;
            const auto t0 = Clock::now();
            Tfrm_Main w(services);
            if (!w.FormCreate())
                throw std::runtime_error("FormCreate failed");
            w.Grid()->viewport()->installEventFilter(&counter);
            w.show();
            Settle(w);
            state.SetIterationTime(Seconds(t0));
            paints += counter.paints;
            w.Grid()->viewport()->removeEventFilter(&counter);
        }
        state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
    });
}

// SortBy, with the grid showing the first page in the new order.
void BM_SortBy(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        const int field = int(state.range(1));
        Tfrm_Main &w = *WindowFor(books).w;
        const QString name = QLatin1String(kSortFields[field][0]);
        const QString caption = QString::fromUtf8(kSortFields[field][1]);
        double total = 0;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            w.SortBy(name, caption);
            Settle(w);
            const double s = Seconds(t0);
            state.SetIterationTime(s);
            total += s;
        }
        const double ref = ShellReference(books, field);
        state.counters["sqlite3_ms"] = ref * 1000;
        state.counters["ratio_to_sqlite3"] = total / double(state.iterations()) / ref;
        state.SetLabel(name.toStdString());
        SortByTitle(w);
    });
}

// The sqlite3 shell reference itself, as its own line of the table.
void BM_Sqlite3Shell(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        const int field = int(state.range(1));
        for (auto _ : state)
            state.SetIterationTime(ShellSeconds(books, field));
        state.SetLabel(kSortFields[field][2]);
    });
}

// One keystroke in the quick-search box: 0 a prefix found mid-list, 1 no match (last row).
void BM_QuickSearchKey(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        const bool miss = state.range(1) != 0;
        OpenWindow &o = WindowFor(books);
        Tfrm_Main &w = *o.w;
        SortByTitle(w);
        auto *edit = w.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        if (!edit)
            throw std::runtime_error("no Edit1");
        const char key = miss ? 'q' : 'm';
        const int expected = w.Tbl().quickSearchIndex(QString(QLatin1Char(key)));
        if (miss && StartsWithAsciiNoCase(w.Tbl().sortTextAt(expected), QStringLiteral("q")))
            throw std::runtime_error("some title starts with q: not the worst case");
        for (auto _ : state) {
            edit->clear();
            Settle(w);
            const auto t0 = Clock::now();
            KeyClick(edit, miss ? Qt::Key_Q : Qt::Key_M, QString(QLatin1Char(key)));
            Settle(w);
            state.SetIterationTime(Seconds(t0));
            if (w.Tbl().currentIndex() != expected)
                throw std::runtime_error("quick search landed elsewhere");
        }
        state.counters["row"] = expected + 1;
        edit->clear();
    });
}

// Editing one book and posting it, the grid showing the new title.
void BM_EditAndPost(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        Tfrm_Main &w = *WindowFor(books).w;
        SortByTitle(w);
        BookList &tbl = w.Tbl();
        const int row = books / 2;
        tbl.moveTo(row);
        Settle(w);
        const QString original = tbl.text(QStringLiteral("cim"));
        const QString titles[2] = {QStringLiteral("Őszi ünnep a Balatonnál"), QStringLiteral("Ünnepi ősz Újpesten")};
        int i = 0;
        for (auto _ : state) {
            const QString title = titles[i++ % 2];
            const auto t0 = Clock::now();
            EditAndPost(tbl, [&](Dataset &d) { d.setValue(QStringLiteral("cim"), title); });
            Settle(w);
            state.SetIterationTime(Seconds(t0));
            if (w.GridModel()->displayText(row, QStringLiteral("cim")) != title)
                throw std::runtime_error("the grid does not show the posted title");
        }
        // The benchmarks after this one see the title as it was.
        EditAndPost(tbl, [&](Dataset &d) { d.setValue(QStringLiteral("cim"), original); });
        Settle(w);
    });
}

// The shared window of a catalogue, sorted by title, as both paging cases start from.
OpenWindow &TitleSortedWindow(int books) {
    OpenWindow &o = WindowFor(books);
    SortByTitle(*o.w);
    return o;
}

// PageDown through the whole list, each page painted.
void BM_PageThrough(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        OpenWindow &o = TitleSortedWindow(books);
        Tfrm_Main &w = *o.w;
        QTableView *grid = w.Grid();
        int pages = 0, paints = 0;
        double keys = 0, loop = 0;
        for (auto _ : state) {
            w.Tbl().moveTo(0);
            grid->setFocus();
            Settle(w);
            const int paintsBefore = o.paints.paints;
            pages = 0;
            keys = loop = 0;
            const auto t0 = Clock::now();
            while (w.Tbl().currentIndex() < books - 1 && pages < books) {
                const auto k0 = Clock::now();
                KeyClick(grid, Qt::Key_PageDown);
                const auto k1 = Clock::now();
                QCoreApplication::processEvents();
                keys += std::chrono::duration<double>(k1 - k0).count();
                loop += Seconds(k1);
                ++pages;
            }
            state.SetIterationTime(Seconds(t0));
            paints = o.paints.paints - paintsBefore;
        }
        state.counters["pages"] = pages;
        state.counters["paints"] = paints;
        // Where a page's time goes: the key's own work, then the event loop (mostly the paint).
        state.counters["key_us_per_page"] = keys * 1e6 / std::max(1, pages);
        state.counters["paint_us_per_page"] = loop * 1e6 / std::max(1, pages);
        state.counters["rows_per_page"] = double(books) / std::max(1, pages);
    });
}

// Paging through the whole list without painting: each step moves the current row one page
// on (the detail panel and picture follow) and reads every cell the grid would show for the
// new page through its model. This is the list's own share of what scrolling costs; the
// painting measured above is the toolkit's.
void BM_PageThroughData(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        OpenWindow &o = TitleSortedWindow(books);
        Tfrm_Main &w = *o.w;
        QTableView *grid = w.Grid();
        QAbstractItemModel *model = grid->model();
        const int rowsPerPage = std::max(1, grid->viewport()->height() / std::max(1, grid->rowHeight(0)));
        const int columns = model->columnCount();
        int pages = 0;
        qsizetype chars = 0;
        for (auto _ : state) {
            w.Tbl().moveTo(0);
            Settle(w);
            pages = 0;
            const auto t0 = Clock::now();
            for (int top = 0; top < books; top += rowsPerPage) {
                w.Tbl().moveTo(top);
                const int end = std::min(books, top + rowsPerPage);
                for (int r = top; r < end; ++r)
                    for (int c = 0; c < columns; ++c)
                        chars += model->data(model->index(r, c), Qt::DisplayRole).toString().size();
                ++pages;
            }
            state.SetIterationTime(Seconds(t0));
        }
        benchmark::DoNotOptimize(chars);
        state.counters["pages"] = pages;
        state.counters["rows_per_page"] = rowsPerPage;
    });
}

// The toolkit's own cost of a page, as a reference for paging through the list: a plain QTableView of the same
// size, font and column widths over a model that only hands out prepared texts, paged
// through the same way.
class PlainTextModel final : public QAbstractTableModel {
public:
    PlainTextModel(QVector<QStringList> rows, QStringList titles) : rows_(std::move(rows)), titles_(std::move(titles)) {}
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(titles_.size()); }
    QVariant data(const QModelIndex &index, int role) const override {
        return role == Qt::DisplayRole ? QVariant(rows_[index.row()][index.column()]) : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return o == Qt::Horizontal ? QVariant(titles_.value(section)) : QVariant();
    }

private:
    QVector<QStringList> rows_;
    QStringList titles_;
};

void BM_PlainGridPage(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        Tfrm_Main &w = *WindowFor(books).w;
        SortByTitle(w);
        QAbstractItemModel *m = w.Grid()->model();
        QVector<QStringList> rows;
        rows.reserve(m->rowCount());
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                cells << m->index(r, c).data().toString();
            rows << cells;
        }
        QStringList titles;
        for (int c = 0; c < m->columnCount(); ++c)
            titles << m->headerData(c, Qt::Horizontal).toString();
        PlainTextModel plain(std::move(rows), titles);
        QTableView view;
        view.setModel(&plain);
        view.setFont(w.Grid()->font());
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.verticalHeader()->setFixedWidth(12);
        view.verticalHeader()->setDefaultSectionSize(w.Grid()->verticalHeader()->defaultSectionSize());
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.resize(w.Grid()->size());
        for (int c = 0; c < m->columnCount(); ++c)
            view.setColumnWidth(c, w.Grid()->columnWidth(c));
        view.show();
        view.setFocus();
        QCoreApplication::processEvents();
        int pages = 0;
        for (auto _ : state) {
            view.setCurrentIndex(plain.index(0, 1));
            QCoreApplication::processEvents();
            pages = 0;
            const auto t0 = Clock::now();
            while (view.currentIndex().row() < books - 1 && pages < books) {
                KeyClick(&view, Qt::Key_PageDown);
                QCoreApplication::processEvents();
                ++pages;
            }
            state.SetIterationTime(Seconds(t0));
        }
        state.counters["pages"] = pages;
        state.counters["rows_per_page"] = double(books) / std::max(1, pages);
    });
}

// Peak resident memory of a fresh process that opened the list (and after it went
// through every row), measured in a child so nothing of this process counts.
void BM_PeakMemory(benchmark::State &state) {
    Guard(state, [&] {
        const int books = int(state.range(0));
        CachedCatalogue(books);
        double openMb = 0, afterMb = 0;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            const QList<QByteArray> parts = RunProbe("KODEXA_MEMPROBE", books);
            state.SetIterationTime(Seconds(t0));
            if (parts.size() != 2)
                throw std::runtime_error("memory probe said nothing");
            openMb = parts[0].toDouble() / 1024;
            afterMb = parts[1].toDouble() / 1024;
        }
        state.counters["peak_MB_list_open"] = openMb;
        state.counters["peak_MB_after_all_rows"] = afterMb;
    });
}

} // namespace

void RegisterBookListBenchmarks(bool repeat) {
    using benchmark::kMillisecond;
    using benchmark::kMicrosecond;
    // The small catalogue runs repeatedly; the large one few enough times to end in minutes.
    struct Size {
        int books;
        int repetitions;
        int iterations; // 0: let the library decide
    };
    // A public or school library's catalogue reaches a million books: how each case grows.
    for (const Size s : {Size{10000, repeat ? 5 : 1, 0}, Size{200000, 1, 5}, Size{1000000, 1, 3}}) {
        auto tune = [&](benchmark::internal::Benchmark *b, int iterations) {
            b->UseManualTime()->Unit(kMillisecond);
            if (s.repetitions > 1)
                b->Repetitions(s.repetitions)->ReportAggregatesOnly(false);
            if (iterations > 0)
                b->Iterations(iterations);
        };
        tune(benchmark::RegisterBenchmark("StartUp", BM_StartUp)->Arg(s.books), s.books > 10000 ? 3 : 5);
        for (int f = 0; f < 2; ++f) {
            tune(benchmark::RegisterBenchmark("SortBy", BM_SortBy)->Args({s.books, f}), s.iterations);
            tune(benchmark::RegisterBenchmark("Sqlite3Shell", BM_Sqlite3Shell)->Args({s.books, f}), s.iterations);
        }
        for (int miss = 0; miss < 2; ++miss) {
            auto *b = benchmark::RegisterBenchmark("QuickSearchKey", BM_QuickSearchKey)->Args({s.books, miss});
            tune(b, s.books > 10000 ? 50 : 0);
            b->Unit(kMicrosecond);
        }
        auto *e = benchmark::RegisterBenchmark("EditAndPost", BM_EditAndPost)->Arg(s.books);
        tune(e, s.books > 10000 ? 50 : 0);
        e->Unit(kMicrosecond);
        // Paging costs the same per page at any length: 62,500 pages at a million would only
        // take minutes to say so again.
        if (s.books <= 200000) {
            tune(benchmark::RegisterBenchmark("PageThrough", BM_PageThrough)->Arg(s.books), s.books > 10000 ? 1 : 3);
            tune(benchmark::RegisterBenchmark("PageThroughData", BM_PageThroughData)->Arg(s.books), 3);
        }
        // The plain grid's cost per page does not depend on the list's length.
        if (s.books == 10000)
            tune(benchmark::RegisterBenchmark("PlainGridPageThrough", BM_PlainGridPage)->Arg(s.books), 3);
        tune(benchmark::RegisterBenchmark("PeakMemory", BM_PeakMemory)->Arg(s.books), 1);
    }
}

void CloseWindows() { open.reset(); }

int MemoryProbe(int books) {
    try {
        ProgramDirFor(books);
        ScriptedServices services;
        Tfrm_Main w(services);
        if (!w.FormCreate())
            return 2;
        w.show();
        Settle(w);
        const long open = VmHWMkB();
        // Every row once through the bounded cache, in the list order.
        BookList &tbl = w.Tbl();
        for (int r = 0; r < tbl.recordCount(); ++r)
            tbl.valueAt(r, 0);
        tbl.moveTo(tbl.recordCount() - 1);
        Settle(w);
        std::printf("%ld %ld\n", open, VmHWMkB());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace kodexa::bench
