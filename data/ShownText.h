#pragma once
// The text a grid cell shows for a stored value, shared by the book grid and everything
// that writes "what the grid shows" (the HTML page, printed grids).

#include "data/Schema.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVariant>

namespace kodexa {

// NULL as nothing, the book key (a column named konyvek) in five digits, dates in the
// desktop's short date format with a four-digit year, fractional numbers in the desktop's general form,
// everything else as stored. A date text that is no date is shown as stored.
QString ShownText(const FieldInfo &field, const QVariant &value, const QLocale &locale = QLocale());

// The locale's short date form with the year always in four digits: a file or page that
// says "08" is read back as 1908 by anything that reads it.
QString FullYearDateFormat(const QLocale &locale = QLocale());
QString DateText(const QDate &date, const QLocale &locale = QLocale());

// How a column's cells are aligned unless told otherwise: numbers to the right.
Qt::AlignmentFlag DefaultAlignment(const FieldInfo &field);

} // namespace kodexa
