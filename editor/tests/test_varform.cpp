#include "varform.h"

#include "qtprinters.h"
#include "shellstate.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

#include <memory>

namespace wharf {
namespace {

class TVarFormTest : public ::testing::Test {
protected:
    ShellState m_shell;
    TVarForm m_palette{m_shell};

    int row(const QString &token) const
    {
        for (int i = 0; i < m_palette.LB_Variables->count(); ++i)
            if (m_palette.LB_Variables->item(i)->text().startsWith(token + u' '))
                return i;
        return -1;
    }

    // Drags data onto box: enter, move, drop. True when the box took it.
    static bool dragOnto(QWidget *box, const QMimeData *data)
    {
        const QPoint at(2, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &drop);
        return drop.isAccepted();
    }

    std::unique_ptr<QMimeData> paletteDrag(const QString &token)
    {
        return std::unique_ptr<QMimeData>(m_palette.LB_Variables->createDragData(row(token)));
    }
};

TEST_F(TVarFormTest, ListsTheVariablesWithTheirTexts)
{
    EXPECT_EQ(m_palette.windowTitle(), QStringLiteral("Variables"));
    EXPECT_EQ(m_palette.helpContext(), 8);
    EXPECT_EQ(m_palette.L_Caption->text(),
              QStringLiteral("You can use these variables in file paths, Registry and INI entries and so on.\n"
                             "Use Drag&Drop to place the variables in the edit boxes."));
    ASSERT_EQ(m_palette.LB_Variables->count(), 28);
    EXPECT_EQ(m_palette.LB_Variables->item(0)->text(), QStringLiteral("{win} - Windows directory"));
    EXPECT_EQ(m_palette.LB_Variables->item(27)->text(), QStringLiteral("{per} - Personal folder"));
    for (const QString &entry : variableEntries()) {
        const QString token = VariableToken(entry);
        EXPECT_TRUE(token.startsWith(u'{') && token.endsWith(u'}')) << entry.toStdString();
        EXPECT_EQ(entry, token + QStringLiteral(" - ") + entry.mid(token.size() + 3));
    }
}

// The list shows whole rows: the last one shown is not cut in half.
TEST_F(TVarFormTest, TheListShowsWholeRowsOnly)
{
    m_palette.show();
    QCoreApplication::processEvents();
    QListWidget *list = m_palette.LB_Variables;
    const int row = list->sizeHintForRow(0);
    ASSERT_GT(row, 0);
    EXPECT_EQ(list->viewport()->height() % row, 0) << list->viewport()->height() << " for rows of " << row;
    EXPECT_GE(list->viewport()->height() / row, 10);
    m_palette.hide();
}

TEST_F(TVarFormTest, TheTokenRunsToTheFirstClosingBrace)
{
    EXPECT_EQ(VariableToken(QStringLiteral("{sys32} - System directory (32-bit)")), QStringLiteral("{sys32}"));
    EXPECT_EQ(VariableToken(QStringLiteral("{pro64} - Program folder (64-bit)")), QStringLiteral("{pro64}"));
    EXPECT_EQ(VariableToken(QStringLiteral("{a}{b} - two")), QStringLiteral("{a}"));
    EXPECT_EQ(VariableToken(QStringLiteral("no brace")), QStringLiteral("no brace"));
}

TEST_F(TVarFormTest, ADropReplacesTheSelectionOrInsertsAtTheCaret)
{
    QLineEdit location;
    m_palette.registerDropTarget(&location);

    const auto app = paletteDrag(QStringLiteral("{app}"));
    EXPECT_TRUE(dragOnto(&location, app.get()));
    EXPECT_EQ(location.text(), QStringLiteral("{app}"));

    location.setText(QStringLiteral("C:\\old\\path"));
    location.selectAll();
    EXPECT_TRUE(dragOnto(&location, app.get()));
    EXPECT_EQ(location.text(), QStringLiteral("{app}"));

    location.setText(QStringLiteral("\\bin"));
    location.setCursorPosition(0);
    const auto pro64 = paletteDrag(QStringLiteral("{pro64}"));
    EXPECT_TRUE(dragOnto(&location, pro64.get()));
    EXPECT_EQ(location.text(), QStringLiteral("{pro64}\\bin"));
}

TEST_F(TVarFormTest, DragsFromElsewhereAreRefused)
{
    QLineEdit box;
    m_palette.registerDropTarget(&box);
    QMimeData text;
    text.setText(QStringLiteral("{app}"));
    EXPECT_FALSE(dragOnto(&box, &text));

    // The palette's own format, but not from a drag the palette started.
    QMimeData forged;
    const auto real = paletteDrag(QStringLiteral("{app}"));
    for (const QString &format : real->formats())
        forged.setData(format, real->data(format));
    EXPECT_FALSE(dragOnto(&box, &forged));

    box.setReadOnly(true);
    EXPECT_FALSE(dragOnto(&box, real.get()));
    EXPECT_TRUE(box.text().isEmpty());
}

TEST_F(TVarFormTest, ComboBoxesTakeTheTokenInTheirEditPart)
{
    QComboBox editable;
    editable.setEditable(true);
    editable.addItems({QStringLiteral("{sys}\\x.dll")});
    m_palette.registerDropTarget(&editable);
    editable.lineEdit()->selectAll();
    const auto win = paletteDrag(QStringLiteral("{win}"));
    EXPECT_TRUE(dragOnto(editable.lineEdit(), win.get()));
    EXPECT_EQ(editable.currentText(), QStringLiteral("{win}"));

    QComboBox list;
    list.addItems({QStringLiteral("one")});
    m_palette.registerDropTarget(&list);
    EXPECT_FALSE(dragOnto(&list, win.get()));
}

TEST_F(TVarFormTest, FollowsADialogWhileItIsShown)
{
    m_shell.VariablesShown = true;
    QDialog dialog;
    m_palette.attachToDialog(&dialog);
    m_palette.move(40, 50);
    dialog.show();
    EXPECT_EQ(m_palette.parentWidget(), &dialog);
    EXPECT_EQ(m_palette.hostDialog(), &dialog);
    EXPECT_TRUE(m_palette.isVisible());
    EXPECT_TRUE(m_palette.isWindow());
    dialog.hide();
    EXPECT_EQ(m_palette.parentWidget(), nullptr);
    EXPECT_EQ(m_palette.hostDialog(), nullptr);
    EXPECT_TRUE(m_palette.isVisible());
    m_palette.hide();

    // Switched off: the palette stays away from the dialog.
    m_shell.VariablesShown = false;
    dialog.show();
    EXPECT_EQ(m_palette.parentWidget(), nullptr);
    EXPECT_FALSE(m_palette.isVisible());
    dialog.hide();
}

TEST_F(TVarFormTest, OutlivesADialogDestroyedWhileItFollowsIt)
{
    m_shell.VariablesShown = true;
    {
        QDialog dialog;
        m_palette.attachToDialog(&dialog);
        dialog.show();
        ASSERT_EQ(m_palette.parentWidget(), &dialog);
    }
    EXPECT_EQ(m_palette.parentWidget(), nullptr);
    EXPECT_EQ(m_palette.LB_Variables->count(), 28);
    m_palette.hide();
}

} // namespace
} // namespace wharf
