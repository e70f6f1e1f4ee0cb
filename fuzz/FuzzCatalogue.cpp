#include "fuzz/FuzzCatalogue.h"

#include "data/Catalogue.h"
#include "data/Error.h"
#include "data/Seged.h"

#include <sqlite3.h>
#include <sys/mman.h>

namespace kodexa::fuzz {

namespace {
// The engine's own memory from a plain pool of size classes. Preparing a statement makes
// hundreds of small allocations; through the address sanitizer's allocator they cost more
// than everything else an input does. The engine is not our code and is not instrumented,
// so its memory needs no checking: our code's own allocations still go through the
// sanitizer.
class EnginePool {
public:
    static void install() {
        static const sqlite3_mem_methods methods = {&EnginePool::alloc, &EnginePool::release, &EnginePool::resize,
                                                    &EnginePool::sizeOf, &EnginePool::roundUp, &EnginePool::init,
                                                    &EnginePool::shutdown, nullptr};
        if (sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) != SQLITE_OK)
            Fail(QStringLiteral("the engine's allocator cannot be set"));
    }

private:
    static constexpr int Classes = 21;          // 16 bytes to 16 MiB
    static constexpr size_t Header = 16;        // the class, kept in front of the block
    static constexpr size_t ChunkBytes = 8 << 20;
    struct Free {
        Free *next;
    };
    static inline Free *free_[Classes] = {};
    static inline char *chunk_ = nullptr;
    static inline size_t left_ = 0;

    static int classOf(size_t n) {
        int c = 0;
        while ((size_t(16) << c) < n + Header)
            ++c;
        return c;
    }
    static size_t bytesOf(int c) { return size_t(16) << c; }
    static void *carve(size_t bytes) {
        if (bytes > ChunkBytes) {
            void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            return p == MAP_FAILED ? nullptr : p;
        }
        if (left_ < bytes) {
            void *p = mmap(nullptr, ChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p == MAP_FAILED)
                return nullptr;
            chunk_ = static_cast<char *>(p);
            left_ = ChunkBytes;
        }
        char *p = chunk_;
        chunk_ += bytes;
        left_ -= bytes;
        return p;
    }
    static void *alloc(int n) {
        if (n <= 0)
            return nullptr;
        const int c = classOf(size_t(n));
        if (c >= Classes)
            return nullptr;
        char *block;
        if (free_[c]) {
            block = reinterpret_cast<char *>(free_[c]);
            free_[c] = free_[c]->next;
        } else if (!(block = static_cast<char *>(carve(bytesOf(c))))) {
            return nullptr;
        }
        *reinterpret_cast<int *>(block) = c;
        return block + Header;
    }
    static void release(void *p) {
        if (!p)
            return;
        char *block = static_cast<char *>(p) - Header;
        const int c = *reinterpret_cast<int *>(block);
        auto *f = reinterpret_cast<Free *>(block);
        f->next = free_[c];
        free_[c] = f;
    }
    static int sizeOf(void *p) {
        return p ? int(bytesOf(*reinterpret_cast<int *>(static_cast<char *>(p) - Header)) - Header) : 0;
    }
    static void *resize(void *p, int n) {
        if (!p)
            return alloc(n);
        const int have = sizeOf(p);
        if (n <= have)
            return p;
        void *q = alloc(n);
        if (q) {
            memcpy(q, p, size_t(have));
            release(p);
        }
        return q;
    }
    static int roundUp(int n) { return (n + 7) & ~7; }
    static int init(void *) { return SQLITE_OK; }
    static void shutdown(void *) {}
};
} // namespace

FuzzCatalogue &FuzzCatalogue::get() {
    static FuzzCatalogue c = [] {
        EnginePool::install();
        return FuzzCatalogue();
    }();
    return c;
}

FuzzCatalogue::FuzzCatalogue() {
    if (!tmp_.isValid())
        Fail(QStringLiteral("no temporary folder"));
    SetProgramDir(tmp_.path());
    const QString path = tmp_.path() + QStringLiteral("/Kodexa.sqb");
    try {
        CreateCatalogue(path, false);
        db.open(path);
        RequireCatalogueTables(db);
        // Inputs never commit, so the file is never written after this: the rollback journal
        // lives in memory, which spares creating and deleting it for every input.
        db.exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
    } catch (const Error &e) {
        Fail(QStringLiteral("catalogue: %1").arg(e.message()));
    }
}

qint64 FuzzCatalogue::bookCount() { return db.scalar(QStringLiteral("SELECT count(*) FROM konyvek")).toLongLong(); }

void FuzzCatalogue::begin() { db.exec(QStringLiteral("SAVEPOINT fuzz_input")); }

void FuzzCatalogue::rollback() { db.exec(QStringLiteral("ROLLBACK TO fuzz_input; RELEASE fuzz_input")); }

} // namespace kodexa::fuzz
