#pragma once
#include "data/AppContext.h"
#include <QString>
class QWidget;
namespace kodexa {
// The field display configuration (Tfrm_Mezo); may change the sort column and its caption.
void ShowFieldConfig(AppContext &ctx, QString &sortField, QString &sortCaption, QWidget *parent = nullptr);
} // namespace kodexa
