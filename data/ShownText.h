#pragma once
// The text a grid cell shows for a stored value, shared by the book grid and everything
// that writes "what the grid shows" (the HTML page, printed grids).

#include "data/Schema.h"

#include <QLocale>
#include <QString>
#include <QVariant>

namespace kodexa {

// NULL as nothing, the book key (a column named konyvek) in five digits, dates in the
// desktop's short date format, fractional numbers in the desktop's general form,
// everything else as stored. A date text that is no date is shown as stored.
QString ShownText(const FieldInfo &field, const QVariant &value, const QLocale &locale = QLocale());

// How a column's cells are aligned unless told otherwise: numbers to the right.
Qt::AlignmentFlag DefaultAlignment(const FieldInfo &field);

} // namespace kodexa
