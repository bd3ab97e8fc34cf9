#include "mainwin/load_res_strings.h"

#include "resources/strings/res_strings.h"
#include "widgets/cIconMenu.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVariant>
#include <cmath>
#include <optional>

namespace {

// Menu items that take their text directly even with icon menus: the
// top-level menus, the pop-up menu and the display items that stand twice.
constexpr int kAlwaysCaption[] = {1000, 1013, 1019, 1025, 1033, 1156, 1157, 1158, 1159, 1301};

// The id of a tag or tip: a number rounded to a whole one; nothing for an
// empty, non-numeric or non-positive value.
std::optional<int> IdOf(const QVariant& v)
{
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    const double r = std::nearbyint(d);
    if (r <= 0 || r > 1e9) return std::nullopt;
    return static_cast<int>(r);
}

std::optional<QString> TextOf(const QVariant& tag)
{
    const auto id = IdOf(tag);
    if (!id) return std::nullopt;
    return FindResString(*id);
}

void ApplyTip(QWidget* w)
{
    if (const auto t = TextOf(w->property("resTip"))) w->setToolTip(*t);
}

void ApplyFont(QWidget* w, const std::optional<QString>& face, const std::optional<int>& size)
{
    if (!face && !size) return;
    QFont f = w->font();
    if (face) f.setFamily(*face);
    if (size && *size > 0) f.setPointSize(*size);
    w->setFont(f);
}

QStringList ListOf(const QWidget* w, const char* name) { return w->property(name).toStringList(); }

void ApplyMenuAction(QAction* a)
{
    if (a->isSeparator()) return;
    QVariant tag = a->property("resTag");
    if (!tag.isValid() && a->menu()) tag = a->menu()->property("resTag");
    if (!tag.isValid()) tag = a->text();
    const auto id = IdOf(tag);
    if (!id) return;
    const auto text = FindResString(*id);
    if (!text) return;
    bool always = false;
    for (int k : kAlwaysCaption) always = always || k == *id;
    cIconMenu& icons = gIconMenu();
    if (always || !icons.MenuDefaultImage()) {
        a->setText(*text);
        return;
    }
    // Owner-drawn menus: the item recorded under the id shows the text.
    if (auto item = icons.IconMenuItems().Item(QString::number(*id))) item->setCaption(*text);
}

// Every action reachable from the window's menus, once, menus before their items.
void CollectMenuActions(QWidget* menu, QList<QAction*>& out, QSet<QAction*>& seen)
{
    for (QAction* a : menu->actions()) {
        if (seen.contains(a)) continue;
        seen.insert(a);
        out << a;
        if (a->menu()) CollectMenuActions(a->menu(), out, seen);
    }
}

void ApplyControl(QWidget* w)
{
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (const auto t = TextOf(l->property("resTag"))) l->setText(*t);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (const auto t = TextOf(g->property("resTag"))) g->setTitle(*t);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        const QStringList tags = ListOf(w, "resTags");
        const QStringList tips = ListOf(w, "resTips");
        for (int i = 0; i < tabs->count(); ++i) {
            if (const auto t = TextOf(tags.value(i))) tabs->setTabText(i, *t);
            if (const auto t = TextOf(tips.value(i))) tabs->setTabToolTip(i, *t);
        }
        return;
    } else if (auto* bar = qobject_cast<QToolBar*>(w)) {
        for (QAction* a : bar->actions())
            if (const auto t = TextOf(a->property("resTip"))) a->setToolTip(*t);
        return;
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        const QStringList tags = ListOf(w, "resTags");
        QTreeWidgetItem* header = tree->headerItem();
        for (int i = 0; header && i < tree->columnCount(); ++i)
            if (const auto t = TextOf(tags.value(i))) header->setText(i, *t);
        return;
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (const auto t = TextOf(b->property("resTag"))) b->setText(*t);
    }
    // Text and combo boxes, pictures and grids have no caption; all have a tip.
    ApplyTip(w);
}

}  // namespace

void LoadResStrings(QWidget* frm)
{
    if (!frm) return;
    std::optional<QString> face = FindResString(20);
    std::optional<int> size;
    if (const auto s = FindResString(21)) {
        bool ok = false;
        const int n = s->toInt(&ok);
        if (ok) size = n;
    }

    if (const auto t = TextOf(frm->property("resTag"))) frm->setWindowTitle(*t);
    ApplyFont(frm, face, size);

    // Qt builds some controls of its own (tab bars, scroll bars, viewports):
    // they carry no ids, so they pass through unchanged.
    for (QWidget* w : frm->findChildren<QWidget*>()) {
        // Menus go below; another window (and everything on it) loads its own texts.
        if (w->window() != frm) continue;
        ApplyFont(w, face, size);
        ApplyControl(w);
    }

    QList<QAction*> menuActions;
    QSet<QAction*> seen;
    const auto ours = [frm](const QWidget* w) { return w->parentWidget() && w->parentWidget()->window() == frm; };
    for (QMenuBar* bar : frm->findChildren<QMenuBar*>())
        if (ours(bar)) CollectMenuActions(bar, menuActions, seen);
    // Pop-up menus that hang from no menu bar.
    for (QMenu* m : frm->findChildren<QMenu*>()) {
        if (ours(m) && !seen.contains(m->menuAction())) {
            seen.insert(m->menuAction());
            menuActions << m->menuAction();
            CollectMenuActions(m, menuActions, seen);
        }
    }
    for (QAction* a : menuActions) ApplyMenuAction(a);
}
