#include "data/LookupTables.h"

#include "data/Error.h"

#include <algorithm>

namespace kodexa {

namespace {
// clang-format off
constexpr LookupTable kTables[] = {
    {"szerzo",   "szerzo_nev",   "szerzo_nevs",   50, 0, true,  "szerző",   "Szerzők",    "Szerző",   "aSzerzok",  "aNyomSzerzo",   "Szerzők szerint"},
    {"kiado",    "kiado_nev",    "kiado_nevs",    50, 2, true,  "kiadó",    "Kiadók",     "Kiadó",    "aKiado",    "aNyomKiado",    "Kiadók szerint"},
    {"sorozat",  "sorozat_nev",  "sorozat_nevs",  50, 3, true,  "sorozat",  "Sorozatok",  "Sorozat",  "aSorozat",  "aNyomSorozat",  "Sorozatok szerint"},
    {"targykor", "targykor_nev", "targykor_nevs", 50, 4, true,  "tárgykör", "Tárgykörök", "Tárgykör", "aTargykor", "aNyomTargykor", "Tárgykörök szerint"},
    {"mufaj",    "mufaj_nev",    "mufaj_nevs",    50, 5, true,  "műfaj",    "Műfajok",    "Műfaj",    "aMufaj",    "aNyomMufaj",    "Műfajonként"},
    // A shelf name from an import stays text only: the shelf is not linked.
    {"polc",     "polc_nev",     nullptr,         25, 1, false, "polc",     "Polcok",     "Polc",     "aPolc",     "aNyomPolc",     "Polconként"},
    {"nyelv",    "nyelv_nev",    nullptr,         50, 6, true,  "nyelv",    nullptr,      nullptr,    nullptr,     nullptr,         nullptr},
};
// clang-format on

constexpr bool describedInOrder() {
    for (int i = 0; i < int(std::size(kTables)); ++i)
        if ((i < MasterTableCount) != (kTables[i].caption != nullptr))
            return false;
    return true;
}
static_assert(describedInOrder(), "the tables with a master data page come first");
} // namespace

std::span<const LookupTable> LookupTables() { return kTables; }

const LookupTable *FindLookup(QAnyStringView table) {
    for (const LookupTable &t : kTables)
        if (QAnyStringView::compare(table, QLatin1String(t.table)) == 0)
            return &t;
    return nullptr;
}

const LookupTable &LookupFor(QAnyStringView table) {
    if (const LookupTable *t = FindLookup(table))
        return *t;
    throw ProgramError(QStringLiteral("Ismeretlen törzsadattábla: %1").arg(table.toString()));
}

const QVector<const LookupTable *> &BookResolveOrder() {
    static const QVector<const LookupTable *> order = [] {
        QVector<const LookupTable *> v;
        for (const LookupTable &t : kTables)
            v.append(&t);
        std::sort(v.begin(), v.end(), [](const LookupTable *a, const LookupTable *b) { return a->resolveOrder < b->resolveOrder; });
        return v;
    }();
    return order;
}

} // namespace kodexa
