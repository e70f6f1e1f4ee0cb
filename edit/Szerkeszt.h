#pragma once
#include "data/AppContext.h"
class QWidget;
namespace kodexa {
// The book edit dialog (Tfrm_Szerkeszt) on ctx.tbl's current row, or on a new row.
bool ShowBookEdit(AppContext &ctx, bool isNew, QWidget *parent = nullptr);
} // namespace kodexa
