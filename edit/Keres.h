#pragma once
#include "data/AppContext.h"
class QWidget;
namespace kodexa {
// The keyword search (Tfrm_Keres); on a choice the book list moves to the chosen book.
bool KeywordSearch(AppContext &ctx, QWidget *parent = nullptr);
} // namespace kodexa
