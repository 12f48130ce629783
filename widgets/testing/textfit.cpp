#include "textfit.h"

#include "drawutils.h"
#include "glyphctrls.h"
#include "headersettings.h"
#include "imagelist.h"
#include "navbar.h"
#include "navbarheader.h"
#include "navbutton.h"
#include "panelstatusbar.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>

namespace wharf::testing {
namespace {

// Rows of an item view looked at: enough for any fixture, bounded for big
// models.
constexpr int kMaxRows = 200;

QString withoutMnemonic(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('&'))
            text.remove(i, 1); // "&&" keeps one ampersand, as it is drawn
    return text;
}

class Finder {
public:
    explicit Finder(const QWidget &window) : m_window(window) {}

    void visit(QWidget &widget)
    {
        if (&widget != &m_window && (!widget.isVisibleTo(&m_window) || clippedAway(widget)))
            return;
        check(widget);
        if (auto *tabs = qobject_cast<QTabWidget *>(&widget)) {
            // Every page of a tab widget, not only the current one.
            const int current = tabs->currentIndex();
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QApplication::sendPostedEvents();
                visitChildren(widget);
            }
            tabs->setCurrentIndex(current);
            return;
        }
        visitChildren(widget);
    }

    std::vector<CutText> cuts;

private:
    void visitChildren(QWidget &widget)
    {
        // A page shown for the first time may build or drop widgets: walk a
        // guarded copy of the list.
        QList<QPointer<QWidget>> children;
        for (QObject *child : widget.children())
            if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
                children.push_back(w);
        for (const QPointer<QWidget> &child : children)
            if (child)
                visit(*child);
    }

    void report(const QWidget &widget, const QString &kind, const QString &text, int needed, int given)
    {
        if (needed <= given)
            return;
        // A tab widget visits its pages once per tab: report each cut once.
        const QString where = widgetPath(widget, m_window) + (kind.isEmpty() ? QString() : QLatin1Char(' ') + kind);
        for (const CutText &cut : cuts)
            if (cut.where == where && cut.text == text)
                return;
        cuts.push_back({where, text, needed, given});
    }

    // Whether the ancestors of widget leave nothing of it to see (the
    // buttons of a closed navigation header, say).
    bool clippedAway(const QWidget &widget) const
    {
        QRect shown(widget.mapTo(&m_window, QPoint(0, 0)), widget.size());
        for (const QWidget *a = widget.parentWidget(); a; a = a->parentWidget()) {
            shown &= QRect(a->mapTo(&m_window, QPoint(0, 0)), a->size());
            if (a == &m_window)
                break;
        }
        return shown.isEmpty();
    }

    // The part of widget's rectangle that its ancestors clip away (the
    // viewport of a scroll area scrolls, so it clips nothing).
    void checkClipped(const QWidget &widget, const QString &text)
    {
        QRect inWindow(widget.mapTo(&m_window, QPoint(0, 0)), widget.size());
        for (const QWidget *a = widget.parentWidget(); a && a != &m_window; a = a->parentWidget()) {
            if (qobject_cast<const QAbstractScrollArea *>(a->parentWidget()))
                return;
            const QRect ancestor(a->mapTo(&m_window, QPoint(0, 0)), a->size());
            if (!ancestor.contains(inWindow)) {
                const QRect shown = ancestor.intersected(inWindow);
                report(widget, QStringLiteral("clipped by ") + widgetPath(*a, m_window), text,
                       inWindow.width() * inWindow.height(), shown.width() * shown.height());
                return;
            }
        }
        const QRect window = m_window.rect();
        if (!window.contains(inWindow))
            report(widget, QStringLiteral("outside the window"), text, inWindow.right(), window.right());
    }

    void check(QWidget &widget)
    {
        if (auto *label = qobject_cast<QLabel *>(&widget))
            checkLabel(*label);
        else if (auto *button = qobject_cast<QAbstractButton *>(&widget))
            checkButton(*button);
        else if (auto *group = qobject_cast<QGroupBox *>(&widget))
            checkGroup(*group);
        else if (auto *tabs = qobject_cast<QTabBar *>(&widget))
            checkTabs(*tabs);
        else if (auto *header = qobject_cast<QHeaderView *>(&widget))
            checkHeader(*header);
        else if (auto *bar = qobject_cast<TPanelStatusBar *>(&widget))
            checkPanels(*bar);
        else if (auto *nav = qobject_cast<TNavButton *>(&widget))
            checkCaption(widget, nav->Caption(), 4);
        else if (auto *speed = qobject_cast<TGlyphSpeedButton *>(&widget))
            checkCaption(widget, speed->Caption(), 4);
        else if (auto *navHeader = qobject_cast<TNavBarHeader *>(&widget))
            checkNavHeader(*navHeader);
        else if (auto *combo = qobject_cast<QComboBox *>(&widget))
            checkCombo(*combo);
        if (auto *view = qobject_cast<QAbstractItemView *>(&widget); view && !qobject_cast<QHeaderView *>(&widget))
            checkCells(*view);
    }

    void checkLabel(const QLabel &label)
    {
        QString text = label.text();
        if (text.isEmpty() || !label.pixmap().isNull())
            return;
        if (label.textFormat() == Qt::RichText ||
            (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            text = document.toPlainText();
        } else if (label.buddy()) {
            text = withoutMnemonic(text);
        }
        const QFontMetrics metrics(label.font());
        QRect room = label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
        if (label.indent() > 0)
            room.setLeft(room.left() + label.indent());
        const int flags = label.wordWrap() ? Qt::TextWordWrap : 0;
        const QRect needed = metrics.boundingRect(QRect(0, 0, label.wordWrap() ? room.width() : 10000, 10000),
                                                  flags, text);
        report(label, QStringLiteral("width"), text, needed.width(), room.width());
        report(label, QStringLiteral("height"), text, needed.height(), room.height());
        checkClipped(label, text);
    }

    void checkButton(const QAbstractButton &button)
    {
        const QString text = withoutMnemonic(button.text());
        if (text.isEmpty())
            return;
        if (auto *tool = qobject_cast<const QToolButton *>(&button);
            tool && (tool->toolButtonStyle() == Qt::ToolButtonIconOnly || !tool->icon().isNull()))
            return;
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        option.icon = button.icon();
        option.iconSize = button.iconSize();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QCheckBox *>(&button))
            element = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<const QRadioButton *>(&button))
            element = QStyle::SE_RadioButtonContents;
        const QRect room = button.style()->subElementRect(element, &option, &button);
        const QFontMetrics metrics(button.font());
        int needed = TextWidth(button.font(), text);
        if (!button.icon().isNull())
            needed += button.iconSize().width() + 4;
        report(button, QStringLiteral("width"), text, needed, room.width());
        report(button, QStringLiteral("height"), text, metrics.height(), std::max(room.height(), button.height()));
        checkClipped(button, text);
    }

    void checkCaption(const QWidget &widget, const QString &caption, int padding)
    {
        const QString text = withoutMnemonic(caption);
        if (text.isEmpty())
            return;
        report(widget, QStringLiteral("caption"), text, TextWidth(widget.font(), text),
               widget.width() - padding);
        checkClipped(widget, text);
    }

    void checkNavHeader(const TNavBarHeader &header)
    {
        const QString text = withoutMnemonic(header.Caption());
        if (text.isEmpty())
            return;
        const THeaderSettings &settings = header.EffectiveSettings();
        int needed = TextWidth(settings.HeaderFont().font, text);
        const auto *bar = qobject_cast<const TNavBar *>(header.parentWidget());
        if (bar && bar->Images() && header.ImageIndex() >= 0) {
            // A centred caption must stay clear of the picture on both sides.
            const int picture = bar->Images()->Width() + 3;
            needed += settings.Alignment() == navbar::taCenter ? 2 * picture : picture;
        }
        report(header, QStringLiteral("caption"), text, needed, header.CaptionRect().width());
    }

    void checkCombo(const QComboBox &combo)
    {
        const QString text = combo.currentText();
        if (text.isEmpty() || combo.isEditable())
            return;
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        option.editable = false;
        option.frame = combo.hasFrame();
        option.currentText = text;
        option.currentIcon = combo.itemIcon(combo.currentIndex());
        option.iconSize = combo.iconSize();
        const QRect room =
            combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
        int needed = TextWidth(combo.font(), text);
        if (!option.currentIcon.isNull())
            needed += combo.iconSize().width() + 4;
        report(combo, QStringLiteral("current text"), text, needed, room.width());
    }

    void checkGroup(const QGroupBox &group)
    {
        const QString text = withoutMnemonic(group.title());
        if (text.isEmpty())
            return;
        int needed = TextWidth(group.font(), text) + 2 * 8;
        if (group.isCheckable())
            needed += group.style()->pixelMetric(QStyle::PM_IndicatorWidth) + 4;
        report(group, QStringLiteral("title"), text, needed, group.width());
        checkClipped(group, text);
    }

    void checkTabs(const QTabBar &tabs)
    {
        const int space = tabs.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, &tabs);
        int right = tabs.width();
        for (const QToolButton *arrow : tabs.findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
            if (arrow->isVisibleTo(&tabs))
                right = std::min(right, arrow->x());
        for (int i = 0; i < tabs.count(); ++i) {
            if (!tabs.isTabVisible(i))
                continue;
            const QString text = withoutMnemonic(tabs.tabText(i));
            const QRect r = tabs.tabRect(i);
            int needed = TextWidth(tabs.font(), text) + space;
            if (!tabs.tabIcon(i).isNull())
                needed += tabs.iconSize().width() + 4;
            report(tabs, QStringLiteral("tab %1").arg(i), text, needed, r.width());
            report(tabs, QStringLiteral("tab %1 shown").arg(i), text, r.right() + 1, right);
            if (r.left() < 0)
                report(tabs, QStringLiteral("tab %1 scrolled").arg(i), text, -r.left(), 0);
        }
        checkClipped(tabs, QString());
    }

    void checkHeader(const QHeaderView &header)
    {
        const QAbstractItemModel *model = header.model();
        if (!model || header.orientation() != Qt::Horizontal)
            return;
        const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
        for (int section = 0; section < header.count(); ++section) {
            if (header.isSectionHidden(section))
                continue;
            const QString text = model->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            const QVariant font = model->headerData(section, Qt::Horizontal, Qt::FontRole);
            int needed = TextWidth(font.isValid() ? font.value<QFont>() : header.font(), text) + 2 * margin;
            if (header.isSortIndicatorShown() && header.sortIndicatorSection() == section)
                needed += header.style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &header) + margin;
            report(header, QStringLiteral("section %1").arg(section), text, needed, header.sectionSize(section));
        }
    }

    void checkCells(const QAbstractItemView &view)
    {
        const QAbstractItemModel *model = view.model();
        if (!model)
            return;
        const int margin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
        const int rows = std::min(model->rowCount(view.rootIndex()), kMaxRows);
        const int columns = model->columnCount(view.rootIndex());
        if (columns < 2)
            return; // a single column scrolls sideways to long items
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                const QModelIndex index = model->index(row, column, view.rootIndex());
                const QString text = index.data(Qt::DisplayRole).toString();
                const QRect r = view.visualRect(index);
                if (text.isEmpty() || r.isEmpty())
                    continue;
                const QVariant font = index.data(Qt::FontRole);
                int needed = TextWidth(font.isValid() ? font.value<QFont>() : view.font(), text) + margin;
                if (!index.data(Qt::DecorationRole).isNull())
                    needed += view.iconSize().isValid() ? view.iconSize().width() + 4
                                                        : view.style()->pixelMetric(QStyle::PM_SmallIconSize) + 4;
                report(view, QStringLiteral("cell %1,%2").arg(row).arg(column), text, needed, r.width());
            }
    }

    void checkPanels(const TPanelStatusBar &bar)
    {
        for (int i = 0; i < bar.panelCount(); ++i) {
            const QString text = bar.panelText(i);
            if (text.isEmpty())
                continue;
            report(bar, QStringLiteral("panel %1").arg(i), text, TextWidth(bar.font(), text) + 6,
                   bar.panelRect(i).width());
            report(bar, QStringLiteral("panel %1 shown").arg(i), text, bar.panelRect(i).right() + 1, bar.width());
        }
    }

    const QWidget &m_window;
};

} // namespace

QString widgetPath(const QWidget &widget, const QWidget &window)
{
    QStringList names;
    for (const QWidget *w = &widget; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        names.prepend(name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name);
        if (w == &window)
            break;
    }
    return names.join(QLatin1Char('/'));
}

std::vector<CutText> findCutText(QWidget &window)
{
    Finder finder(window);
    finder.visit(window);
    return std::move(finder.cuts);
}

bool fitsScreen(const QWidget &window)
{
    const QScreen *screen = window.screen();
    return screen && screen->availableGeometry().size().expandedTo(window.frameGeometry().size()) ==
                         screen->availableGeometry().size();
}

QString describeCutText(const std::vector<CutText> &cuts)
{
    QStringList lines;
    for (const CutText &cut : cuts)
        lines << QStringLiteral("%1: \"%2\" needs %3, has %4").arg(cut.where, cut.text).arg(cut.needed).arg(cut.given);
    return lines.join(QLatin1Char('\n'));
}

bool saveWindowPicture(QWidget &window, const QString &folder, const QString &name)
{
    return QDir().mkpath(folder) && window.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")), "PNG");
}

void forEachWindowShown(const std::vector<WindowCase> &windows,
                        const std::function<void(const WindowCase &, QWidget &)> &check)
{
    for (const WindowCase &window : windows) {
        SCOPED_TRACE(window.name);
        QWidget &widget = window.open();
        const bool wasShown = widget.isVisible();
        widget.show();
        QApplication::processEvents();
        check(window, widget);
        if (!wasShown)
            widget.hide();
    }
}

void expectWindowsFit(const std::vector<WindowCase> &windows, const QString &pictureFolder)
{
    forEachWindowShown(windows, [&](const WindowCase &window, QWidget &widget) {
        const std::vector<CutText> cuts = findCutText(widget);
        EXPECT_TRUE(cuts.empty()) << describeCutText(cuts).toStdString();
        EXPECT_TRUE(fitsScreen(widget)) << "window of " << widget.frameGeometry().width() << " x "
                                        << widget.frameGeometry().height();
        EXPECT_TRUE(saveWindowPicture(widget, pictureFolder, QString::fromLatin1(window.name).replace(' ', '-')));
    });
}

} // namespace wharf::testing
