#pragma once
#include <QString>
class QWidget;
namespace kodexa {
// The list editor (Tfrm_TorzsAdat_Szerkeszt): on OK the lines, each followed by a line break;
// otherwise empty text.
QString EditLines(const QString &text, const QString &caption, QWidget *parent = nullptr);
} // namespace kodexa
