// TEMPORARY: stand-ins until the dialogs land; deleted at merge.
#include "admin/Login.h"
#include "edit/InpStr.h"
#include "edit/Keres.h"
#include "edit/Mezok.h"
#include "edit/Szerkeszt.h"
#include "edit/TorzsAdat.h"
#include "edit/TorzsAdat_Szerkeszt.h"
namespace kodexa {
bool InputString(const QString &, const QString &, const QString &, QString &, QWidget *) { return false; }
QString EditLines(const QString &, const QString &, QWidget *) { return {}; }
}
