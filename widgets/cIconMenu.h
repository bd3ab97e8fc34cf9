// Icons on the items of a window's menus. Every item of the menu bar and its
// drop-downs is recorded once, depth-first, keyed by its caption at that
// time; an item whose key is the tag of a picture in the image list shows
// that picture. Qt's own menus do the drawing (selection look, shortcuts,
// disabled and checked items follow the style), so Style and the measuring
// of the original are kept as settings only.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVector>
#include <memory>

class QAction;
class QWidget;
class QMenu;

// A list of pictures of one size, each with a text tag.
class ImageList {
public:
    ImageList(int width, int height) : width_(width), height_(height) {}
    int ImageWidth() const { return width_; }
    int ImageHeight() const { return height_; }
    void Add(const QString& tag, const QPixmap& picture) { items_.push_back({tag, picture}); }
    int Count() const { return items_.size(); }
    QString Tag(int index) const { return items_.value(index).tag; }
    QPixmap Picture(int index) const { return items_.value(index).picture; }

private:
    struct Item {
        QString tag;
        QPixmap picture;
    };
    int width_, height_;
    QVector<Item> items_;
};

// The pictures of the main window's menus (16 x 16), tagged with the string
// identifiers of their items.
std::shared_ptr<ImageList> MakeMenuImages();

class cIconMenuItem {
public:
    QString Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    long Index() const { return index_; }
    void setIndex(long v) { index_ = v; }
    QWidget* hMenu() const { return hMenu_; }
    void sethMenu(QWidget* v) { hMenu_ = v; }
    QMenu* hSubMenu() const { return hSubMenu_; }
    void sethSubMenu(QMenu* v) { hSubMenu_ = v; }
    long ID() const { return id_; }
    void setID(long v) { id_ = v; }
    QString Caption() const { return caption_; }
    // Also changes the text the item shows.
    void setCaption(const QString& v);
    QString ShortCut() const { return shortCut_; }
    void setShortCut(const QString& v);
    QString AccKey() const { return accKey_; }
    void setAccKey(const QString& v) { accKey_ = v; }
    long Position() const { return position_; }
    void setPosition(long v) { position_ = v; }
    bool FontBold() const { return bold_; }
    void setFontBold(bool v);
    bool FontItalic() const { return italic_; }
    void setFontItalic(bool v);
    bool FontUnderline() const { return underline_; }
    void setFontUnderline(bool v);

    QAction* action() const { return action_; }
    void setAction(QAction* a) { action_ = a; }

private:
    void applyText();
    void applyFont();

    QString key_;
    long index_ = 0;
    QPointer<QWidget> hMenu_;
    QPointer<QMenu> hSubMenu_;
    long id_ = 0;
    QString caption_;
    QString shortCut_;
    QString accKey_;
    long position_ = 0;
    bool bold_ = false, italic_ = false, underline_ = false;
    QPointer<QAction> action_;
};

// Records in recording order, looked up by key.
class IconMenuItemCollection {
public:
    int Count() const { return items_.size(); }
    // 1-based, like the collection it stands for.
    std::shared_ptr<cIconMenuItem> Item(int index) const { return items_.value(index - 1); }
    std::shared_ptr<cIconMenuItem> Item(const QString& key) const;
    bool Contains(const QString& key) const { return Item(key) != nullptr; }
    bool Add(std::shared_ptr<cIconMenuItem> item, const QString& key);
    // Drops the records whose menu no longer exists.
    void RemoveGone();
    const QVector<std::shared_ptr<cIconMenuItem>>& all() const { return items_; }

private:
    QVector<std::shared_ptr<cIconMenuItem>> items_;
    QVector<QString> keys_;
};

class cIconMenu {
public:
    void SetIconMenu();
    void UnSetIconMenu();
    QString GetIDtoKey(long index) const;
    int GetImageIndex(const QString& key) const;
    // Menu-character look-up: Position | 0x20000 of the last item of `menu`
    // whose recorded access letter is `ch` (case-insensitive), else 0.
    long MatchMenuAccelerator(QChar ch, const QWidget* menu) const;

    QWidget* hTargetWnd() const { return target_; }
    void sethTargetWnd(QWidget* window);
    QWidget* hMenu() const { return menu_; }
    IconMenuItemCollection& IconMenuItems();
    void setIconMenuItems(std::shared_ptr<IconMenuItemCollection> items) { items_ = std::move(items); }
    std::shared_ptr<ImageList> MenuDefaultImage() const { return images_; }
    void setMenuDefaultImage(std::shared_ptr<ImageList> images);
    int IconWidth() const { return iconWidth_; }
    void setIconWidth(int v);
    int IconHeight() const { return iconHeight_; }
    void setIconHeight(int v);
    long Style() const { return style_; }
    void setStyle(long v) { style_ = v; }

private:
    void EnumMenuItems(QWidget* menu);
    void SetItemOwnerDraw(QWidget* menu, QAction* action, long position);

    QPointer<QWidget> target_;
    QPointer<QWidget> menu_;
    std::shared_ptr<IconMenuItemCollection> items_;
    std::shared_ptr<ImageList> images_;
    long serial_ = 0;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    long style_ = 0;
};

// The one icon-menu object of the main window, made on first use.
cIconMenu& gIconMenu();
