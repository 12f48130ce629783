#include "dlgprops.h"

#include "designerfixture.h"
#include "scriptmemo.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace wharf;
using wharf::testing::DesignerFixture;

namespace {

class DlgPropsTest : public DesignerFixture {
protected:
    int show(std::function<void(Tfrm_DlgProps &)> change, bool pressOk)
    {
        handlers["frm_DlgProps"] = [change, pressOk](QDialog &d) {
            auto &f = static_cast<Tfrm_DlgProps &>(d);
            change(f);
            if (pressOk)
                return ok(f);
            f.B_Cancel->click();
            return f.result();
        };
        return designer->dlgProps().ShowModal();
    }
};

TEST_F(DlgPropsTest, OkWritesThePage)
{
    TDialogPage page;
    page.title = "Welcome";
    page.initScript = {"a", "b"};
    page.nextEnabled = false;
    main().document().setPage(page);
    EXPECT_EQ(show([](Tfrm_DlgProps &f) {
        EXPECT_EQ(f.E_DlgTitle->text(), "Welcome");
        EXPECT_EQ(f.SM_InitScript->Lines(), (QStringList{"a", "b"}));
        EXPECT_FALSE(f.Ch_NextEnabled->isChecked());
        EXPECT_TRUE(f.Ch_BackEnabled->isChecked());
        f.E_DlgTitle->setText("Your\r\nname");
        f.SM_NextScript->setLines({"Exit;"});
        f.SM_InitScript->setLines({});
        f.Ch_NextEnabled->setChecked(true);
        f.Ch_CancelEnabled->setChecked(false);
    }, true), QDialog::Accepted);

    const TDialogPage &now = main().document().page();
    EXPECT_EQ(now.title, "Your name");
    EXPECT_TRUE(now.initScript.empty());
    EXPECT_EQ(now.nextScript, TStringList{"Exit;"});
    EXPECT_TRUE(now.nextEnabled);
    EXPECT_TRUE(now.backEnabled);
    EXPECT_FALSE(now.cancelEnabled);
    EXPECT_TRUE(main().document().modified());
    EXPECT_EQ(main().windowTitle(), "Brindlewharf Dialog Designer - Your name");
    EXPECT_FALSE(main().findChild<QPushButton *>("B_Cancel")->isEnabled());
    EXPECT_TRUE(main().findChild<QPushButton *>("B_Next")->isEnabled());
}

TEST_F(DlgPropsTest, UntouchedFieldsKeepThePageExactly)
{
    // Scripts the frames can't tell apart from others (one empty line is
    // shown like none, a last empty line like none), and text that does not fit.
    TDialogPage page;
    page.title = std::string(40000, 't');
    page.initScript = {""};
    page.showScript = {"x", ""};
    page.backScript = {"", ""};
    page.nextScript = {"a", "", "b"};
    main().document().setPage(page);
    // Untouched, and with only a check box changed.
    EXPECT_EQ(show([](Tfrm_DlgProps &) {}, true), QDialog::Accepted);
    EXPECT_EQ(main().document().page(), page);
    EXPECT_EQ(show([](Tfrm_DlgProps &f) { f.Ch_BackEnabled->setChecked(false); }, true), QDialog::Accepted);
    page.backEnabled = false;
    EXPECT_EQ(main().document().page(), page);

    // A script that was edited takes what the frame holds; text a dialog file
    // can't store is refused and the page stays.
    EXPECT_EQ(show([](Tfrm_DlgProps &f) { f.SM_ShowScript->setLines({"y"}); }, true), QDialog::Accepted);
    page.showScript = {"y"};
    EXPECT_EQ(main().document().page(), page);
    EXPECT_EQ(show([](Tfrm_DlgProps &f) { f.E_DlgTitle->setText(QString::fromUtf8("\xE5\x90\x8D")); }, true),
              QDialog::Rejected);
    EXPECT_EQ(main().document().page(), page);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(DlgPropsTest, CancelChangesNothing)
{
    const TDialogPage before = main().document().page();
    EXPECT_EQ(show([](Tfrm_DlgProps &f) {
        f.E_DlgTitle->setText("Other");
        f.Ch_BackEnabled->setChecked(false);
        f.SM_ShowScript->setLines({"x"});
    }, false), QDialog::Rejected);
    EXPECT_EQ(main().document().page(), before);
    EXPECT_FALSE(main().document().modified());
}

} // namespace
