#pragma once
// The statement of the keyword search. The search text is folded like the stored keyword
// key and written into one quoted LIKE literal; % and _ typed by the user stay patterns.

#include <QString>

namespace kodexa {

// Books whose keyword key holds the text, in key order; three lines, the last the ORDER BY.
QString KeywordSearchSql(const QString &text);
// The same statement ordered by column instead: its last line replaced.
QString ReorderSearchSql(const QString &sql, const QString &column);

} // namespace kodexa
