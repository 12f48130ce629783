#include "mrufilelist.h"

#include "files.h"
#include "pathlabel.h"
#include "profile.h"
#include "settings.h"

#include <QApplication>
#include <QDebug>

#include <algorithm>
#include <stdexcept>

namespace wharf {
namespace {

const QString kDefaultSubmenuName = QStringLiteral("Reopen");
const QString kDefaultClearItemName = QStringLiteral("&Clear MRU List");
const QString kDefaultRemoveObsoleteName = QStringLiteral("&Remove Obsolete");
const QString kNumberChars = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");

// "&1 " for index 0, "&0 " for 9, "&A " for 10; empty from 36 on.
QString numberPrefix(int index)
{
    if (index < 0 || index >= kNumberChars.size())
        return {};
    return u'&' + kNumberChars.at(index) + u' ';
}

// A file name as menu text: its "&" shows as itself, not as a mnemonic.
QString menuText(const QString &text)
{
    QString out = text;
    out.replace(u'&', QStringLiteral("&&"));
    return out;
}

qsizetype lastSeparator(const QString &path)
{
    for (qsizetype i = path.size(); i > 0; --i) {
        const QChar c = path.at(i - 1);
        if (c == u'\\' || c == u'/' || c == u':')
            return i - 1;
    }
    return -1;
}

QString fileNamePart(const QString &path) { return path.mid(lastSeparator(path) + 1); }

QString withoutExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : (dot == 0 ? QString() : name);
}

QMenu *menuContaining(QAction *action)
{
    for (QObject *object : action->associatedObjects())
        if (auto *menu = qobject_cast<QMenu *>(object))
            return menu;
    return nullptr;
}

void insertAt(QMenu *menu, int position, QAction *action)
{
    const QList<QAction *> actions = menu->actions();
    menu->insertAction(position < actions.size() ? actions.at(position) : nullptr, action);
}

// Value names in the order they were written: the settings layer lists
// them sorted as text, which would put "F10" before "F2".
bool numberedNameLess(const QString &a, const QString &b)
{
    auto split = [](const QString &s) {
        qsizetype digits = s.size();
        while (digits > 0 && s.at(digits - 1).isDigit())
            --digits;
        return std::pair<QString, QString>(s.left(digits), s.mid(digits));
    };
    const auto [stemA, numberA] = split(a);
    const auto [stemB, numberB] = split(b);
    const int byStem = stemA.compare(stemB, Qt::CaseInsensitive);
    if (byStem != 0)
        return byStem < 0;
    if (numberA.size() != numberB.size())
        return numberA.size() < numberB.size();
    return numberA < numberB;
}

// Counts the clicks being handled while it lives.
class ClickScope {
public:
    explicit ClickScope(int &depth) : m_depth(depth) { ++m_depth; }
    ~ClickScope() { --m_depth; }
    ClickScope(const ClickScope &) = delete;
    ClickScope &operator=(const ClickScope &) = delete;

private:
    int &m_depth;
};

} // namespace

TMRUMenuItem::TMRUMenuItem(TMRUFileList *list, QObject *parent) : QAction(parent), m_list(list) {}

TMRUMenuItem::~TMRUMenuItem()
{
    if (m_list)
        m_list->DoDestroyMRUItem(this);
}

QMenu *TMRUMenuItem::createSubmenu()
{
    if (!m_submenu) {
        m_submenu = std::make_unique<QMenu>();
        setMenu(m_submenu.get());
    }
    return m_submenu.get();
}

TMRUFileList::TMRUFileList(QObject *owner)
    : QObject(owner), m_submenuName(kDefaultSubmenuName), m_clearItemName(kDefaultClearItemName),
      m_removeObsoleteName(kDefaultRemoveObsoleteName)
{
}

TMRUFileList::~TMRUFileList()
{
    // Every change was stored when it was made; storing the list again
    // here would undo what another running program stored since.
    m_clickDepth = 0;
    removeMenuItems();
    for (const auto &item : m_pending)
        delete item.data();
}

void TMRUFileList::Loaded()
{
    m_loading = false;
    if (m_autoSave)
        Load();
}

std::vector<TMRUMenuItem *> TMRUFileList::menuItems() const
{
    std::vector<TMRUMenuItem *> items;
    for (const auto &item : m_items)
        if (item)
            items.push_back(item);
    return items;
}

bool TMRUFileList::storesChanges() const
{
    return m_autoSave && !m_loading && !m_autoSaveName.isEmpty() && !m_autoSaveKey.isEmpty();
}

void TMRUFileList::takeStored()
{
    if (!storesChanges())
        return;
    try {
        QStringList values;
        if (m_useRegistry)
            loadFromRegistry(values);
        else
            loadFromIni(values);
        m_names.clear();
        for (const QString &value : values)
            if (!value.isEmpty())
                m_names << value;
        trimToMaximum();
    } catch (const std::exception &e) {
        qWarning("Could not read the recent-files list: %s", e.what());
    }
}

void TMRUFileList::storeChange()
{
    if (!storesChanges())
        return;
    try {
        Save();
    } catch (const std::exception &e) {
        qWarning("Could not save the recent-files list: %s", e.what());
    }
}

void TMRUFileList::AddRecentFile(const QString &fileName)
{
    takeStored();
    qsizetype found = -1;
    for (qsizetype i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(fileName, Qt::CaseInsensitive) == 0) {
            found = i;
            break;
        }
    if (found >= 0) {
        const QString stored = m_names.takeAt(found);
        if (m_addToTop)
            m_names.prepend(stored);
        else
            m_names.append(stored);
    } else {
        if (m_addToTop)
            m_names.prepend(fileName);
        else
            m_names.append(fileName);
        trimToMaximum();
    }
    RebuildMenu();
    storeChange();
}

void TMRUFileList::trimToMaximum()
{
    while (m_names.size() > m_maximum) {
        if (m_addToTop)
            m_names.removeLast();
        else
            m_names.removeFirst();
    }
}

void TMRUFileList::Clear()
{
    removeMenuItems();
    m_names.clear();
    storeChange();
}

void TMRUFileList::RemoveObsolete()
{
    const QStringList before = m_names;
    takeStored();
    bool removed = false;
    for (qsizetype i = m_names.size() - 1; i >= 0; --i) {
        bool remove = false;
        if (OnRemoveObsolete)
            DoRemoveObsolete(m_names.at(i), remove);
        else
            remove = !fileExists(m_names.at(i).toStdString());
        if (remove) {
            m_names.removeAt(i);
            removed = true;
        }
    }
    if (removed || m_names != before)
        RebuildMenu();
    if (removed)
        storeChange();
}

void TMRUFileList::ItemClick(TMRUMenuItem *item)
{
    if (!item || item->m_list != this || item->m_itemNumber <= 0)
        return;
    const ClickScope scope(m_clickDepth);
    const qsizetype index = item->m_itemNumber - 1;
    QString fileName;
    if (OnMRUItemClick && index < m_names.size())
        fileName = m_names.at(index);
    if (m_removeOnClick && index < m_names.size()) {
        const QString clicked = m_names.at(index);
        takeStored();
        m_names.removeIf([&](const QString &name) { return name.compare(clicked, Qt::CaseInsensitive) == 0; });
        RebuildMenu();
        storeChange();
    }
    DoMRUItemClick(fileName);
}

void TMRUFileList::DoGetDisplayName(const QString &fileName, QString &displayName)
{
    if (OnGetDisplayName)
        OnGetDisplayName(this, fileName, displayName);
}

void TMRUFileList::DoRemoveObsolete(const QString &fileName, bool &remove)
{
    if (OnRemoveObsolete)
        OnRemoveObsolete(this, fileName, remove);
}

void TMRUFileList::DoMRUItemClick(const QString &fileName)
{
    if (OnMRUItemClick)
        OnMRUItemClick(this, fileName);
}

void TMRUFileList::DoCreateMRUItem(TMRUMenuItem *item)
{
    if (OnCreateMRUItem)
        OnCreateMRUItem(this, item);
}

void TMRUFileList::DoDestroyMRUItem(TMRUMenuItem *item)
{
    if (OnDestroyMRUItem)
        OnDestroyMRUItem(this, item);
}

TMRUMenuItem *TMRUFileList::newItem(int number)
{
    auto *item = new TMRUMenuItem(this, this);
    item->m_itemNumber = number;
    m_items.emplace_back(item);
    return item;
}

TMRUMenuItem *TMRUFileList::makeNumberedItem(int index)
{
    const QString &name = m_names.at(index);
    const QString prefix = numberPrefix(index);
    TMRUMenuItem *item = newItem(index + 1);
    item->m_fullCaption = prefix + name;
    QString caption;
    switch (m_display) {
    case TMRUDisplay::mdFullPath:
        if (m_maxCaptionWidth > 0)
            caption = prefix + menuText(ShortenPath(name, QFontMetrics(QApplication::font("QMenu")),
                                                    m_maxCaptionWidth));
        else
            caption = prefix + menuText(name);
        break;
    case TMRUDisplay::mdFileNameExt:
        caption = menuText(fileNamePart(name));
        break;
    case TMRUDisplay::mdFileNameOnly:
        caption = menuText(withoutExtension(fileNamePart(name)));
        break;
    case TMRUDisplay::mdCustom:
        caption = prefix + menuText(name);
        DoGetDisplayName(name, caption);
        break;
    }
    item->setText(caption);
    QPointer<TMRUMenuItem> guarded(item);
    connect(item, &QAction::triggered, this, [this, guarded] {
        if (guarded)
            ItemClick(guarded);
    });
    return item;
}

void TMRUFileList::removeMenuItems()
{
    std::erase_if(m_pending, [](const QPointer<TMRUMenuItem> &item) { return item.isNull(); });
    std::vector<QPointer<TMRUMenuItem>> items;
    items.swap(m_items);
    for (const auto &item : items) {
        if (!item)
            continue;
        if (m_clickDepth > 0) {
            // The clicked item may be among these: take them out of the menus
            // now and delete them once the click has been handled.
            for (QObject *object : item->associatedObjects())
                if (auto *widget = qobject_cast<QWidget *>(object))
                    widget->removeAction(item);
            item->deleteLater();
            m_pending.push_back(item);
        } else {
            delete item.data();
        }
    }
}

void TMRUFileList::RebuildMenu()
{
    if (!m_fileMenu && !m_popupMenu)
        return;
    removeMenuItems();
    if (m_names.isEmpty())
        return;

    if (m_fileMenu) {
        QMenu *place = nullptr;
        int position = 0;
        QMenu *own = m_fileMenu->menu();
        if (own && !own->actions().isEmpty()) {
            place = own;
            position = static_cast<int>(own->actions().size());
        } else if ((place = menuContaining(m_fileMenu)) != nullptr) {
            position = static_cast<int>(place->actions().indexOf(m_fileMenu));
        }
        if (place) {
            if (m_insertSeparator) {
                TMRUMenuItem *separator = newItem(0);
                separator->setSeparator(true);
                DoCreateMRUItem(separator);
                insertAt(place, position++, separator);
            }
            if (m_useSubmenu) {
                TMRUMenuItem *submenu = newItem(0);
                submenu->setText(m_submenuName);
                QMenu *inner = submenu->createSubmenu();
                DoCreateMRUItem(submenu);
                insertAt(place, position, submenu);
                place = inner;
                position = 0;
            }
            for (int i = 0; i < m_names.size(); ++i) {
                TMRUMenuItem *item = makeNumberedItem(i);
                DoCreateMRUItem(item);
                insertAt(place, position++, item);
            }
            if (m_showClearItem || m_showRemoveObsolete) {
                TMRUMenuItem *separator = newItem(0);
                separator->setSeparator(true);
                DoCreateMRUItem(separator);
                insertAt(place, position++, separator);
            }
            if (m_showClearItem) {
                TMRUMenuItem *clear = newItem(0);
                clear->setText(m_clearItemName.isEmpty() ? kDefaultClearItemName : m_clearItemName);
                connect(clear, &QAction::triggered, this, [this] {
                    const ClickScope scope(m_clickDepth);
                    Clear();
                });
                DoCreateMRUItem(clear);
                insertAt(place, position++, clear);
            }
            if (m_showRemoveObsolete) {
                TMRUMenuItem *obsolete = newItem(0);
                obsolete->setText(m_removeObsoleteName.isEmpty() ? kDefaultRemoveObsoleteName
                                                                 : m_removeObsoleteName);
                connect(obsolete, &QAction::triggered, this, [this] {
                    const ClickScope scope(m_clickDepth);
                    RemoveObsolete();
                });
                DoCreateMRUItem(obsolete);
                insertAt(place, position++, obsolete);
            }
        }
    }

    if (m_popupMenu)
        for (int i = 0; i < m_names.size(); ++i) {
            TMRUMenuItem *item = makeNumberedItem(i);
            DoCreateMRUItem(item);
            insertAt(m_popupMenu, i, item);
        }
}

void TMRUFileList::setMaximum(int value)
{
    value = std::clamp(value, 0, 255);
    if (value == m_maximum)
        return;
    const bool smaller = value < m_maximum;
    m_maximum = value;
    if (smaller && m_names.size() > m_maximum) {
        trimToMaximum();
        RebuildMenu();
    }
}

void TMRUFileList::setUseSubmenu(bool value)
{
    if (value == m_useSubmenu)
        return;
    m_useSubmenu = value;
    RebuildMenu();
}

void TMRUFileList::setInsertSeparator(bool value)
{
    if (value == m_insertSeparator)
        return;
    m_insertSeparator = value;
    RebuildMenu();
}

void TMRUFileList::setSubmenuName(const QString &value)
{
    if (value == m_submenuName)
        return;
    m_submenuName = value;
    if (m_useSubmenu)
        RebuildMenu();
}

void TMRUFileList::setFileMenu(QAction *item)
{
    removeMenuItems();
    m_fileMenu = item;
    RebuildMenu();
}

void TMRUFileList::setPopupMenu(QMenu *menu)
{
    removeMenuItems();
    m_popupMenu = menu;
    RebuildMenu();
}

void TMRUFileList::reloadIfActive()
{
    if (m_autoSave && !m_loading)
        Load();
}

void TMRUFileList::setAutoSaveName(const QString &value)
{
    QString name = value;
    if (m_useRegistry && !name.isEmpty() && !name.startsWith(u'\\'))
        name.prepend(u'\\');
    if (name == m_autoSaveName)
        return;
    m_autoSaveName = name;
    reloadIfActive();
}

void TMRUFileList::setAutoSaveKey(const QString &value)
{
    if (value == m_autoSaveKey)
        return;
    m_autoSaveKey = value;
    reloadIfActive();
}

void TMRUFileList::setAutoSaveRootKey(TRootKey value)
{
    m_rootKey = value;
    reloadIfActive();
}

void TMRUFileList::setMaxCaptionWidth(int value)
{
    if (value == m_maxCaptionWidth)
        return;
    m_maxCaptionWidth = value;
    RebuildMenu();
}

void TMRUFileList::setMRUDisplay(TMRUDisplay value)
{
    m_display = value;
    if (m_autoSave && !m_loading)
        Load();
    else
        RebuildMenu(); // the captions change even when nothing is reloaded
}

void TMRUFileList::loadFromRegistry(QStringList &values) const
{
    Settings settings(m_settingsFolder);
    if (!settings.openKey(m_autoSaveName, true))
        throw ERegistryException("Unable to open key " + m_autoSaveName.toStdString());
    if (!settings.openKey(m_autoSaveKey, false))
        return; // no names stored yet
    QStringList names = settings.getValueNames();
    std::stable_sort(names.begin(), names.end(), numberedNameLess);
    for (const QString &name : names) {
        try {
            values << settings.readString(name);
        } catch (const ERegistryException &) {
            // Not a string value: no file name of ours.
        }
    }
}

void TMRUFileList::loadFromIni(QStringList &values) const
{
    const std::string file = m_autoSaveName.toStdString();
    const std::string section = m_autoSaveKey.toStdString();
    for (const std::string &key : profileKeys(file, section))
        if (auto value = profileReadString(file, section, key))
            values << QString::fromStdString(*value);
}

bool TMRUFileList::Load()
{
    removeMenuItems();
    m_names.clear();
    if (m_autoSaveName.isEmpty() || m_autoSaveKey.isEmpty())
        return false;
    QStringList values;
    if (m_useRegistry)
        loadFromRegistry(values);
    else
        loadFromIni(values);
    for (const QString &value : values)
        if (!value.isEmpty())
            m_names << value;
    trimToMaximum();
    RebuildMenu();
    return true;
}

void TMRUFileList::Save()
{
    if (m_autoSaveName.isEmpty() || m_autoSaveKey.isEmpty())
        return;
    if (m_useRegistry) {
        Settings settings(m_settingsFolder);
        if (!settings.openKey(m_autoSaveName, true))
            throw ERegistryException("Unable to open key " + m_autoSaveName.toStdString());
        settings.deleteKey(m_autoSaveKey);
        if (m_names.isEmpty())
            return;
        if (!settings.openKey(m_autoSaveKey, true))
            throw ERegistryException("Unable to create key " + m_autoSaveKey.toStdString());
        for (qsizetype i = 0; i < m_names.size(); ++i)
            settings.writeString(QStringLiteral("F%1").arg(i), m_names.at(i));
        if (!settings.closeKey())
            throw ERegistryException("Unable to write key " + m_autoSaveName.toStdString() + "\\" +
                                     m_autoSaveKey.toStdString());
        return;
    }
    const std::string file = m_autoSaveName.toStdString();
    const std::string section = m_autoSaveKey.toStdString();
    const auto failed = [&file] { return std::runtime_error("Unable to write to " + file); };
    if (!profileEraseSection(file, section))
        throw failed();
    for (qsizetype i = 0; i < m_names.size(); ++i)
        if (!profileWriteString(file, section, "F" + std::to_string(i), m_names.at(i).toStdString()))
            throw failed();
}

} // namespace wharf
