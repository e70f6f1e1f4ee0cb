#include "gui/Widgets.h"

#include "data/Db.h"
#include "data/DesktopServices.h"
#include "data/Seged.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QProxyStyle>
#include <QScreen>
#include <QTableView>

namespace kodexa {

namespace {

// Edits, combo boxes and date pickers; a memo, a check box or a button keeps its colour.
bool isColourable(QWidget *w) {
    return qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w);
}

class FocusColourFilter final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) {
            auto *w = qobject_cast<QWidget *>(o);
            // A combo box's line edit reports for the combo itself.
            if (w && qobject_cast<QComboBox *>(w->parentWidget()))
                w = w->parentWidget();
            if (w && isColourable(w))
                paint(w, e->type() == QEvent::FocusIn);
        }
        return false;
    }
    static void paint(QWidget *w, bool focused) {
        QPalette p = w->palette();
        const QColor c = focused ? FocusColour : QApplication::palette().color(QPalette::Base);
        p.setColor(QPalette::Base, c);
        p.setColor(QPalette::Window, focused ? FocusColour : QApplication::palette().color(QPalette::Window));
        w->setPalette(p);
        w->setAutoFillBackground(true);
        if (auto *cb = qobject_cast<QComboBox *>(w); cb && cb->lineEdit())
            cb->lineEdit()->setPalette(p);
    }
};

class EnterAsTabFilter final : public QObject {
public:
    EnterAsTabFilter(QWidget *window, QSet<QWidget *> except) : QObject(window), window_(window), except_(std::move(except)) {}
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto *k = static_cast<QKeyEvent *>(e);
        if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) || k->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->window() != window_)
            return false;
        for (QWidget *x : except_)
            if (x == w || x->isAncestorOf(w))
                return false;
        // Enter on a push button presses it, whether or not the button would take Enter by
        // itself (OK and Cancel often do not, so Enter elsewhere moves on instead of ending
        // the dialog). A check box is a field like any other.
        if (w->inherits("QPushButton") || w->inherits("QToolButton")) {
            auto *button = static_cast<QAbstractButton *>(w);
            if (button->isEnabled())
                button->click();
            return true;
        }
        if (auto *cb = qobject_cast<QComboBox *>(w->parentWidget()); cb && cb->view() && cb->view()->isVisible())
            return false;
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && !qobject_cast<QComboBox *>(w->parentWidget()))
            return false;
        // A combo box or date picker owns an inner line edit whose focus goes back to it:
        // that edit is part of the same control, not the next one.
        const auto owner = [](QWidget *x) {
            while (x->focusProxy())
                x = x->focusProxy();
            return x;
        };
        QWidget *const self = owner(w);
        QWidget *next = w->nextInFocusChain();
        while (next && next != w &&
               (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() || !next->isEnabled() ||
                next->window() != window_ || owner(next) == self))
            next = next->nextInFocusChain();
        if (next && next != w)
            next->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QWidget *window_;
    QSet<QWidget *> except_;
};

class EscapeFilter final : public QObject {
public:
    EscapeFilter(QWidget *widget, QDialog *dialog) : QObject(widget), dialog_(dialog) {}
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() != Qt::Key_Escape || k->modifiers() != Qt::NoModifier)
            return false;
        dialog_->reject();
        return true;
    }

private:
    QDialog *dialog_;
};

void installOnTree(QWidget *window, QObject *filter) {
    window->installEventFilter(filter);
    for (QWidget *w : window->findChildren<QWidget *>())
        w->installEventFilter(filter);
}

} // namespace

void InstallFocusColour(QWidget *window) { installOnTree(window, new FocusColourFilter(window)); }

void InstallEnterAsTab(QWidget *window, const QSet<QWidget *> &except) {
    installOnTree(window, new EnterAsTabFilter(window, except));
}

void EscapeRejects(QWidget *widget, QDialog *dialog) { widget->installEventFilter(new EscapeFilter(widget, dialog)); }

void SetGridFont(QAbstractItemView *grid, int pointSize) {
    QFont f = grid->font();
    f.setPointSize(pointSize);
    grid->setFont(f);
    if (auto *table = qobject_cast<QTableView *>(grid)) {
        const int h = QFontMetrics(f).height() + 4;
        table->verticalHeader()->setDefaultSectionSize(h);
        table->verticalHeader()->setMinimumSectionSize(h);
    }
}

void SetRowGrid(QTableView *grid) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
}

namespace {
class StarEchoStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

void SetUpDialog(QDialog *dialog, const char *name, const QString &caption, QSize fixedSize) {
    dialog->setObjectName(QLatin1String(name));
    dialog->setWindowTitle(caption);
    dialog->setFont(QFont(QStringLiteral("Tahoma"), 8));
    if (fixedSize.isValid())
        dialog->setFixedSize(fixedSize);
}

void PlaceOkCancel(QDialog *dialog, QPushButton *ok, const QRect &okBox, QPushButton *cancel, const QRect &cancelBox,
                   bool okTakesEnter) {
    ok->setGeometry(okBox);
    cancel->setGeometry(cancelBox);
    if (okTakesEnter)
        ok->setDefault(true);
    else
        ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

void SetStarEcho(QLineEdit *edit) {
    auto *style = new StarEchoStyle;
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}

void RememberPosition(QDialog *dialog, DesktopServices &services) {
    int left = 10, top = 10;
    LoadWindowPos(dialog->objectName(), left, top);
    dialog->move(SaneDialogPosition(left, top, dialog->size(), CurrentScreenSpace()));
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, &services] {
        Guarded(services, dialog, [dialog] { SaveWindowPos(dialog->objectName(), dialog->x(), dialog->y()); });
    });
}

ScreenSpace CurrentScreenSpace(const QSize &minimum) {
    ScreenSpace space;
    for (const QScreen *s : QGuiApplication::screens())
        space.screens << s->availableGeometry();
    space.minimum = minimum;
    return space;
}

void Guarded(DesktopServices &services, QWidget *owner, const std::function<void()> &command) {
    try {
        command();
    } catch (const std::exception &e) {
        services.ShowError(ErrorText(e), owner);
    }
}

} // namespace kodexa
