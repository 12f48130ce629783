#pragma once
// TMRUFileList: the recently used file names, shown as numbered items
// ("&1 ", "&2 ", ...) in a menu (directly, or in a submenu with a separator,
// a clear item and a remove-obsolete item after the names) and in an
// optional pop-up menu; loaded from and saved to the settings layer
// (settings.h, standing in for the registry) or an INI file (profile.h).
//
// Use: create it, set the properties, then call Loaded() (it loads the list
// when AutoSave is on, as a form does once its properties are read). Call
// AddRecentFile after every open and save; OnMRUItemClick reports the name
// of a chosen item. With AutoSave every change is stored at once, made to
// the list as it is stored then: what another running program stored in
// between is kept, and a crash loses nothing.
//
// Menu places are Qt actions: FileMenu is either the action of a submenu
// that has entries (the items go after its last entry) or an action inside
// a menu (the items go just before it, in that menu).

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace wharf {

// The registry roots the list may be kept under. The settings layer has a
// single store (the current user's), so every root is kept there.
enum class TRootKey { rkClassesRoot, rkCurrentUser, rkLocalMachine, rkUsers, rkCurrentConfig, rkDynData };

// How a numbered item's caption is formed.
enum class TMRUDisplay { mdFullPath, mdFileNameExt, mdFileNameOnly, mdCustom };

class TMRUFileList;

// A menu entry made by a TMRUFileList: a numbered file item, or one of the
// separators, the submenu, the clear item or the remove-obsolete item.
class TMRUMenuItem : public QAction {
    Q_OBJECT
public:
    TMRUMenuItem(TMRUFileList *list, QObject *parent);
    ~TMRUMenuItem() override;

    // The numbered text before any shortening: prefix + file name
    // ("&1 /home/ann/a.wfp"); empty for the other items.
    const QString &FullCaption() const { return m_fullCaption; }
    // The list that made the item; null once that list is gone.
    TMRUFileList *MRUList() const { return m_list; }
    // Position in the list plus 1; 0 for separators, the submenu and the
    // two commands.
    int ItemNumber() const { return m_itemNumber; }

    // Gives the item a submenu of its own (owned by the item).
    QMenu *createSubmenu();

private:
    friend class TMRUFileList;
    QPointer<TMRUFileList> m_list;
    QString m_fullCaption;
    int m_itemNumber = 0;
    std::unique_ptr<QMenu> m_submenu;
};

class TMRUFileList : public QObject {
    Q_OBJECT
public:
    using TMRUClick = std::function<void(TMRUFileList *sender, const QString &fileName)>;
    using TMRURemoveObsolete = std::function<void(TMRUFileList *sender, const QString &fileName, bool &remove)>;
    using TMRUGetDisplayName =
        std::function<void(TMRUFileList *sender, const QString &fileName, QString &displayName)>;
    using TMRUOnCreateDestroyMRUItem = std::function<void(TMRUFileList *sender, TMRUMenuItem *item)>;

    // Defaults as listed with each property; nothing is read.
    explicit TMRUFileList(QObject *owner = nullptr);
    // Removes its menu items; the list was stored with each change.
    ~TMRUFileList() override;

    // Ends the set-up phase: from now on property changes reload, and with
    // AutoSave the list is loaded (and the menu built) now.
    void Loaded();

    // The names, top first.
    const QStringList &Items() const { return m_names; }

    // Puts fileName at the top (AddToTop) or bottom of the list. A name
    // already there (compared ignoring case) moves, keeping its stored
    // letter case; a new one is added and the list trimmed to Maximum from
    // the other end. The menu is rebuilt.
    void AddRecentFile(const QString &fileName);

    // Removes the menu items and empties the list (the clear item).
    virtual void Clear();
    // Removes, from the last to the first, every name that OnRemoveObsolete
    // marks or, without that event, that names no existing file; rebuilds
    // the menu when any went (the remove-obsolete item).
    virtual void RemoveObsolete();

    // Replaces the list with the stored one and rebuilds the menu. False
    // when AutoSaveName or AutoSaveKey is empty. Empty values are skipped
    // (so are registry values that are not strings) and at most Maximum
    // names are taken. Throws ERegistryException when the key can't be
    // opened.
    bool Load();
    // Stores the list: the key (or INI section) AutoSaveKey is emptied and
    // each name written as "F0", "F1", ... in list order. Nothing when
    // AutoSaveName or AutoSaveKey is empty. Throws ERegistryException (or,
    // for an INI file, std::runtime_error "Unable to write to <file>").
    void Save();

    // Where the settings layer keeps its files; empty (the default) for the
    // user's configuration folder.
    void setSettingsFolder(const QString &folder) { m_settingsFolder = folder; }

    // Properties (defaults in brackets).
    bool UseRegistry() const { return m_useRegistry; } // [true] else an INI file
    void setUseRegistry(bool value) { m_useRegistry = value; }
    QString Version() const { return QStringLiteral("TMRUFileList v2.65"); }
    bool AddToTop() const { return m_addToTop; } // [true]
    void setAddToTop(bool value) { m_addToTop = value; }
    int Maximum() const { return m_maximum; } // [5], 0..255
    void setMaximum(int value);
    bool RemoveOnClick() const { return m_removeOnClick; } // [true]
    void setRemoveOnClick(bool value) { m_removeOnClick = value; }
    bool UseSubmenu() const { return m_useSubmenu; } // [false]
    void setUseSubmenu(bool value);
    bool InsertSeparator() const { return m_insertSeparator; } // [true]
    void setInsertSeparator(bool value);
    QString SubmenuName() const { return m_submenuName; } // ["Reopen"]
    void setSubmenuName(const QString &value);
    QString ClearItemName() const { return m_clearItemName; } // ["&Clear MRU List"]
    void setClearItemName(const QString &value) { m_clearItemName = value; }
    bool ShowClearItem() const { return m_showClearItem; } // [true]
    void setShowClearItem(bool value) { m_showClearItem = value; }
    bool ShowRemoveObsolete() const { return m_showRemoveObsolete; } // [true]
    void setShowRemoveObsolete(bool value) { m_showRemoveObsolete = value; }
    QString RemoveObsoleteName() const { return m_removeObsoleteName; } // ["&Remove Obsolete"]
    void setRemoveObsoleteName(const QString &value) { m_removeObsoleteName = value; }
    QAction *FileMenu() const { return m_fileMenu; } // [none]; cleared when the action goes
    void setFileMenu(QAction *item);
    void setFileMenu(QMenu *menu) { setFileMenu(menu ? menu->menuAction() : nullptr); }
    QMenu *PopupMenu() const { return m_popupMenu; } // [none]; cleared when the menu goes
    void setPopupMenu(QMenu *menu);
    bool AutoSave() const { return m_autoSave; } // [true]
    void setAutoSave(bool value) { m_autoSave = value; }
    // Registry key path ["\Software\My Application"] or INI file name. With
    // UseRegistry a name without a leading "\" gets one.
    QString AutoSaveName() const { return m_autoSaveName; }
    void setAutoSaveName(const QString &value);
    QString AutoSaveKey() const { return m_autoSaveKey; } // ["MRU Items"] subkey or INI section
    void setAutoSaveKey(const QString &value);
    TRootKey AutoSaveRootKey() const { return m_rootKey; } // [rkCurrentUser]
    void setAutoSaveRootKey(TRootKey value);
    int MaxCaptionWidth() const { return m_maxCaptionWidth; } // [200] pixels; 0 = no shortening
    void setMaxCaptionWidth(int value);
    TMRUDisplay MRUDisplay() const { return m_display; } // [mdFullPath]
    void setMRUDisplay(TMRUDisplay value);

    // Events.
    TMRUClick OnMRUItemClick;
    // remove starts false; set it to drop the name.
    TMRURemoveObsolete OnRemoveObsolete;
    // For mdCustom: displayName starts as the full caption in menu-text form
    // (the file name's "&" doubled); whatever it is left as becomes the
    // item's menu text, where "&" marks the mnemonic.
    TMRUGetDisplayName OnGetDisplayName;
    // Every item the list creates (before it is inserted) or destroys.
    TMRUOnCreateDestroyMRUItem OnCreateMRUItem;
    TMRUOnCreateDestroyMRUItem OnDestroyMRUItem;

    // Runs the click of a numbered item, as choosing it in the menu does.
    void ItemClick(TMRUMenuItem *item);

    // The menu items the list has made and not yet destroyed.
    std::vector<TMRUMenuItem *> menuItems() const;

protected:
    virtual void RebuildMenu();
    virtual void DoGetDisplayName(const QString &fileName, QString &displayName);
    virtual void DoRemoveObsolete(const QString &fileName, bool &remove);
    virtual void DoMRUItemClick(const QString &fileName);
    virtual void DoCreateMRUItem(TMRUMenuItem *item);
    virtual void DoDestroyMRUItem(TMRUMenuItem *item);

private:
    friend class TMRUMenuItem;
    TMRUMenuItem *newItem(int number);
    TMRUMenuItem *makeNumberedItem(int index);
    void removeMenuItems();
    void trimToMaximum();
    // With AutoSave after Loaded: the names as stored now replace the list
    // (a failed read keeps it), and the list is stored (a failure is a
    // warning, never thrown).
    bool storesChanges() const;
    void takeStored();
    void storeChange();
    void reloadIfActive();
    void loadFromRegistry(QStringList &values) const;
    void loadFromIni(QStringList &values) const;

    QStringList m_names;
    bool m_useRegistry = true;
    bool m_addToTop = true;
    int m_maximum = 5;
    bool m_removeOnClick = true;
    bool m_useSubmenu = false;
    bool m_insertSeparator = true;
    QString m_submenuName;
    QString m_clearItemName;
    bool m_showClearItem = true;
    bool m_showRemoveObsolete = true;
    QString m_removeObsoleteName;
    QPointer<QAction> m_fileMenu;
    QPointer<QMenu> m_popupMenu;
    bool m_autoSave = true;
    QString m_autoSaveName = QStringLiteral("\\Software\\My Application");
    QString m_autoSaveKey = QStringLiteral("MRU Items");
    TRootKey m_rootKey = TRootKey::rkCurrentUser;
    int m_maxCaptionWidth = 200;
    TMRUDisplay m_display = TMRUDisplay::mdFullPath;
    QString m_settingsFolder;
    bool m_loading = true;

    std::vector<QPointer<TMRUMenuItem>> m_items;
    std::vector<QPointer<TMRUMenuItem>> m_pending; // taken out of the menus, deleted later
    int m_clickDepth = 0; // items removed while a click runs are deleted later
};

} // namespace wharf
