#include "systemform.h"

#include "fakeseams.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace wharf {
namespace {

class TSystemFormTest : public ::testing::Test {
protected:
    testing::FakeSeams m_fake;
    TSystemForm m_form{nullptr, m_fake.seams()};

    // Checked items as the dialog showed them.
    std::vector<bool> m_shown;
    void answer(int result, std::function<void(TSystemForm &)> change = {})
    {
        m_fake.modal.handler = [this, result, change](QDialog &dialog) {
            auto &form = static_cast<TSystemForm &>(dialog);
            m_shown.clear();
            for (int i = 0; i < form.CLB_System->count(); ++i)
                m_shown.push_back(form.Checked(i));
            if (change)
                change(form);
            return result;
        };
    }
    int shownCount() const { return static_cast<int>(std::count(m_shown.begin(), m_shown.end(), true)); }
};

TEST_F(TSystemFormTest, HasTheCaptionListAndButtons)
{
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Target systems"));
    EXPECT_EQ(m_form.findChild<QLabel *>(QStringLiteral("L_Caption"))->text(),
              QStringLiteral("Install on the following systems:"));
    EXPECT_TRUE(m_form.L_Caption->font().bold());
    auto *list = m_form.findChild<QListWidget *>(QStringLiteral("CLB_System"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 22);
    EXPECT_EQ(list->item(21)->text(), QStringLiteral("Windows 7 64-bit"));
    EXPECT_TRUE(m_form.findChild<QPushButton *>(QStringLiteral("B_OK"))->isDefault());
    EXPECT_EQ(m_form.findChild<QPushButton *>(QStringLiteral("B_Cancel"))->text(), QStringLiteral("&Cancel"));
}

TEST_F(TSystemFormTest, ShowsTheStoredMask)
{
    answer(QDialog::Rejected);
    EditTargetSystems(m_form, 4194304);
    EXPECT_EQ(shownCount(), 22);
    EditTargetSystems(m_form, 0);
    EXPECT_EQ(shownCount(), 22);
    EditTargetSystems(m_form, 1);
    EXPECT_EQ(shownCount(), 0);
    EditTargetSystems(m_form, 63);
    EXPECT_EQ(shownCount(), 5);
    EXPECT_FALSE(m_shown[0]);
    EXPECT_TRUE(m_shown[5]);
    EXPECT_FALSE(m_shown[6]);
}

TEST_F(TSystemFormTest, CancelReturnsTheGivenValue)
{
    answer(QDialog::Rejected, [](TSystemForm &form) { form.setChecked(3, false); });
    EXPECT_EQ(EditTargetSystems(m_form, 0), 0);
    EXPECT_EQ(EditTargetSystems(m_form, 63), 63);
    EXPECT_EQ(m_fake.modal.shown.size(), 2u);
}

TEST_F(TSystemFormTest, OkReturnsTheCheckedMask)
{
    answer(QDialog::Accepted);
    EXPECT_EQ(EditTargetSystems(m_form, 0), 4194304); // every item checked
    answer(QDialog::Accepted, [](TSystemForm &form) {
        for (int i = 0; i < 22; ++i)
            form.setChecked(i, false);
    });
    EXPECT_EQ(EditTargetSystems(m_form, 4194304), 1);
    answer(QDialog::Accepted, [](TSystemForm &form) {
        for (int i = 0; i <= 5; ++i)
            form.setChecked(i, false);
    });
    EXPECT_EQ(EditTargetSystems(m_form, 4194304), 4194241);
    // The buttons close the dialog with their results.
    m_form.B_OK->click();
    EXPECT_EQ(m_form.result(), QDialog::Accepted);
    m_form.B_Cancel->click();
    EXPECT_EQ(m_form.result(), QDialog::Rejected);
}

} // namespace
} // namespace wharf
