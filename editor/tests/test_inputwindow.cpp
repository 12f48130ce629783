#include "inputwindow.h"

#include "fakeseams.h"
#include "shellstate.h"
#include "varform.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

namespace wharf {
namespace {

TEST(QueryTextTest, OkReturnsTheEditedTextAndCancelKeepsTheValue)
{
    testing::FakeSeams fake;
    ShellState shell;
    TVarForm palette(shell);
    fake.modal.handler = [](QDialog &dialog) {
        auto &window = static_cast<TInputWindow &>(dialog);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("New key"));
        EXPECT_EQ(window.L_Caption->text(), QStringLiteral("Name:"));
        EXPECT_EQ(window.E_Input->text(), QStringLiteral("{emp}"));
        window.E_Input->setText(QStringLiteral("Software\\Maker"));
        return int(QDialog::Accepted);
    };
    QString value = QStringLiteral("{emp}");
    EXPECT_TRUE(QueryText(fake.seams(), &palette, nullptr, QStringLiteral("New key"), QStringLiteral("Name:"), value));
    EXPECT_EQ(value, QStringLiteral("Software\\Maker"));

    fake.modal.handler = [](QDialog &dialog) {
        static_cast<TInputWindow &>(dialog).E_Input->setText(QStringLiteral("changed"));
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(QueryText(fake.seams(), nullptr, nullptr, QStringLiteral("c"), QStringLiteral("p"), value));
    EXPECT_EQ(value, QStringLiteral("Software\\Maker"));
}

} // namespace
} // namespace wharf
