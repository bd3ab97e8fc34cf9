#include "widgets/cIconMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QtDebug>

// ---------------------------------------------------------------- records

void cIconMenuItem::applyText()
{
    if (!action_) return;
    // A shortcut given in the text after a tab stays there; one set on the
    // action is shown by the menu itself.
    if (action_->text().contains(u'\t') || (!shortCut_.isEmpty() && action_->shortcut().isEmpty()))
        action_->setText(shortCut_.isEmpty() ? caption_ : caption_ + u'\t' + shortCut_);
    else
        action_->setText(caption_);
}

void cIconMenuItem::setCaption(const QString& v)
{
    caption_ = v;
    applyText();
}

void cIconMenuItem::setShortCut(const QString& v)
{
    shortCut_ = v;
    applyText();
}

void cIconMenuItem::applyFont()
{
    if (!action_) return;
    QFont f = action_->font();
    f.setBold(bold_);
    f.setItalic(italic_);
    f.setUnderline(underline_);
    action_->setFont(f);
}

void cIconMenuItem::setFontBold(bool v)
{
    bold_ = v;
    applyFont();
}

void cIconMenuItem::setFontItalic(bool v)
{
    italic_ = v;
    applyFont();
}

void cIconMenuItem::setFontUnderline(bool v)
{
    underline_ = v;
    applyFont();
}

std::shared_ptr<cIconMenuItem> IconMenuItemCollection::Item(const QString& key) const
{
    const int i = keys_.indexOf(key);
    return i >= 0 ? items_[i] : nullptr;
}

bool IconMenuItemCollection::Add(std::shared_ptr<cIconMenuItem> item, const QString& key)
{
    if (keys_.contains(key)) return false;
    items_.push_back(std::move(item));
    keys_.push_back(key);
    return true;
}

void IconMenuItemCollection::RemoveGone()
{
    for (int i = items_.size() - 1; i >= 0; --i) {
        if (items_[i]->hMenu()) continue;
        items_.remove(i);
        keys_.remove(i);
    }
}

// ---------------------------------------------------------------- set-up

IconMenuItemCollection& cIconMenu::IconMenuItems()
{
    if (!items_) items_ = std::make_shared<IconMenuItemCollection>();
    return *items_;
}

void cIconMenu::sethTargetWnd(QWidget* window)
{
    target_ = window;
    menu_ = nullptr;
    if (auto* mw = qobject_cast<QMainWindow*>(window))
        menu_ = mw->menuWidget();
    else if (window)
        menu_ = window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

void cIconMenu::setMenuDefaultImage(std::shared_ptr<ImageList> images)
{
    images_ = std::move(images);
    iconWidth_ = images_ ? images_->ImageWidth() : 0;
    iconHeight_ = images_ ? images_->ImageHeight() : 0;
}

// The picture cell may grow past the pictures, never shrink below them.
void cIconMenu::setIconWidth(int v)
{
    if (images_ && v > images_->ImageWidth()) iconWidth_ = v;
}

void cIconMenu::setIconHeight(int v)
{
    if (images_ && v > images_->ImageHeight()) iconHeight_ = v;
}

void cIconMenu::SetIconMenu()
{
    if (!menu_) return;
    // The records of a window destroyed before this one would keep their
    // keys, and this window's items of the same captions would get none.
    if (items_) items_->RemoveGone();
    EnumMenuItems(menu_);
    menu_->update();
}

void cIconMenu::UnSetIconMenu()
{
    // Nothing was hooked: Qt draws the menus itself.
}

void cIconMenu::EnumMenuItems(QWidget* menu)
{
    if (!menu) return;
    const QList<QAction*> actions = menu->actions();
    for (int pos = 0; pos < actions.size(); ++pos) {
        QAction* a = actions[pos];
        SetItemOwnerDraw(menu, a, pos);
        if (a->menu()) EnumMenuItems(a->menu());
    }
}

void cIconMenu::SetItemOwnerDraw(QWidget* menu, QAction* action, long position)
{
    if (action->isSeparator()) return;
    const QString text = action->text();
    const int tab = text.indexOf(u'\t');
    const QString caption = tab >= 0 ? text.left(tab) : text;
    const QString shortcut = tab >= 0 ? text.mid(tab + 1) : action->shortcut().toString(QKeySequence::NativeText);

    auto item = std::make_shared<cIconMenuItem>();
    item->setKey(caption);
    item->setIndex(serial_);
    item->sethMenu(menu);
    item->sethSubMenu(action->menu());
    // Qt items have no command identifiers: the position addresses them.
    item->setID(position);
    item->setPosition(position);
    const int amp = caption.indexOf(u'&');
    item->setAccKey(amp >= 0 && amp + 1 < caption.size() ? caption.mid(amp + 1, 1) : QString());
    // Recorded before the action is tied to it: the texts are the action's own.
    item->setCaption(caption);
    item->setShortCut(shortcut);
    item->setAction(action);

    // A second item with the same caption cannot be told apart by key: it is
    // left out, the others are still set up.
    if (!IconMenuItems().Add(item, caption)) {
        qWarning("cIconMenu: menu caption \"%s\" occurs twice; the second item is left without a record",
                 qPrintable(caption));
        return;
    }
    const int img = GetImageIndex(caption);
    if (img >= 0) action->setIcon(QIcon(images_->Picture(img)));
    ++serial_;
}

QString cIconMenu::GetIDtoKey(long index) const
{
    QString key;
    if (!items_) return key;
    for (const auto& it : items_->all())
        if (it->Index() == index) key = it->Key();
    return key;
}

int cIconMenu::GetImageIndex(const QString& key) const
{
    if (!images_) return -1;
    for (int i = 0; i < images_->Count(); ++i)
        if (images_->Tag(i) == key) return i;
    return -1;
}

long cIconMenu::MatchMenuAccelerator(QChar ch, const QWidget* menu) const
{
    long result = 0;
    if (!items_) return 0;
    for (const auto& it : items_->all())
        if (it->hMenu() == menu && !it->AccKey().isEmpty() && it->AccKey().toUpper() == QString(ch).toUpper())
            result = it->Position() | 0x20000;
    return result;
}

cIconMenu& gIconMenu()
{
    static cIconMenu menu;
    return menu;
}

// ---------------------------------------------------------------- pictures

namespace {

QPixmap Blank()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    return pm;
}

void Page(QPainter& p, const QRect& r)
{
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

QPixmap ColumnPicture(const QColor& mark, int kind)
{
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(150, 160, 175));
    p.drawRect(3, 1, 5, 12);   // column
    p.drawRect(1, 13, 9, 2);   // base plate
    p.setPen(QPen(mark, 2));
    switch (kind) {
    case 0:  // add
        p.drawLine(12, 4, 12, 10);
        p.drawLine(9, 7, 15, 7);
        break;
    case 1:  // copy
        p.setBrush(Qt::NoBrush);
        p.drawRect(10, 3, 4, 5);
        p.drawRect(11, 8, 4, 5);
        break;
    case 2:  // delete
        p.drawLine(10, 4, 15, 10);
        p.drawLine(15, 4, 10, 10);
        break;
    case 3:  // down
        p.drawLine(12, 3, 12, 12);
        p.drawLine(12, 12, 9, 9);
        p.drawLine(12, 12, 15, 9);
        break;
    default:  // up
        p.drawLine(12, 3, 12, 12);
        p.drawLine(12, 3, 9, 6);
        p.drawLine(12, 3, 15, 6);
        break;
    }
    return pm;
}

}  // namespace

std::shared_ptr<ImageList> MakeMenuImages()
{
    auto list = std::make_shared<ImageList>(16, 16);
    {  // open: a folder
        QPixmap pm = Blank();
        QPainter p(&pm);
        p.setPen(QColor(120, 90, 20));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(1, 4, 13, 9);
        p.drawRect(1, 2, 5, 2);
        list->Add(QStringLiteral("1002"), pm);
    }
    {  // save: a disk
        QPixmap pm = Blank();
        QPainter p(&pm);
        p.setPen(QColor(20, 30, 80));
        p.setBrush(QColor(60, 80, 170));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.drawRect(4, 9, 7, 5);
        list->Add(QStringLiteral("1004"), pm);
    }
    {  // new: a page
        QPixmap pm = Blank();
        QPainter p(&pm);
        Page(p, QRect(3, 1, 10, 13));
        p.drawLine(5, 5, 10, 5);
        p.drawLine(5, 8, 10, 8);
        list->Add(QStringLiteral("1001"), pm);
    }
    {  // print: a printer
        QPixmap pm = Blank();
        QPainter p(&pm);
        Page(p, QRect(4, 1, 7, 5));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(1, 6, 13, 6);
        Page(p, QRect(4, 10, 7, 4));
        list->Add(QStringLiteral("1010"), pm);
    }
    list->Add(QStringLiteral("1151"), ColumnPicture(QColor(0, 140, 0), 0));
    list->Add(QStringLiteral("1152"), ColumnPicture(QColor(0, 70, 160), 1));
    list->Add(QStringLiteral("1153"), ColumnPicture(QColor(190, 0, 0), 2));
    {  // exit: a door
        QPixmap pm = Blank();
        QPainter p(&pm);
        p.setPen(QColor(80, 40, 10));
        p.setBrush(QColor(170, 110, 50));
        p.drawRect(3, 1, 9, 14);
        p.setBrush(QColor(240, 220, 80));
        p.drawEllipse(9, 7, 2, 2);
        list->Add(QStringLiteral("1012"), pm);
    }
    list->Add(QStringLiteral("1155"), ColumnPicture(QColor(0, 70, 160), 3));
    list->Add(QStringLiteral("1154"), ColumnPicture(QColor(0, 70, 160), 4));
    return list;
}
