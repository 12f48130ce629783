#include "preferences.h"

#include "designerfixture.h"
#include "designsurface.h"
#include "scriptmemo.h"
#include "settings.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>

using namespace wharf;
using wharf::testing::DesignerFixture;

namespace {

const QString kKey = QStringLiteral("Software\\Kelvra\\Brindlewharf 2.0\\Dialog Designer");

class PreferencesTest : public DesignerFixture {
protected:
    void makeDesigner() override
    {
        TScriptMemo::setHighlightSyntax(false);
        DesignerFixture::makeDesigner();
    }

    // Stores values (name, integer) and starts the designer anew.
    void restartWith(const std::vector<std::pair<QString, QString>> &values)
    {
        designer.reset();
        Settings settings(settingsFolder());
        settings.deleteKey(kKey);
        ASSERT_TRUE(settings.openKey(kKey, true));
        for (const auto &[name, value] : values) {
            bool number = false;
            const int n = value.toInt(&number);
            if (number)
                settings.writeInteger(name, n);
            else
                settings.writeString(name, value);
        }
        ASSERT_TRUE(settings.closeKey());
        makeDesigner();
    }

    Tfrm_Preferences &prefs() { return designer->preferences(); }
    bool gridDot(int x, int y) { return main().surface()->picture().toImage().pixelColor(x, y) == QColor(Qt::black); }
};

TEST_F(PreferencesTest, FirstStartWithoutSettings)
{
    EXPECT_EQ(prefs().SE_XGrid->value(), 5);
    EXPECT_EQ(prefs().SE_YGrid->value(), 5);
    EXPECT_TRUE(prefs().Ch_ClickPlace->isChecked());
    EXPECT_TRUE(prefs().Ch_SyntaxHighlight->isChecked());
    // Highlighting follows the box from the first start on.
    EXPECT_TRUE(TScriptMemo::HighlightSyntax());
    EXPECT_EQ(main().surfaceModel().gridPrefs().xGrid, 5);
    EXPECT_TRUE(main().surfaceModel().gridPrefs().clickIntoPlace);
}

TEST_F(PreferencesTest, ReadsTheStoredValues)
{
    struct Case {
        const char *what;
        std::vector<std::pair<QString, QString>> values;
        int x, y;
        bool click, highlight;
    };
    const Case cases[] = {
        {"all", {{"XGrid", "7"}, {"YGrid", "9"}, {"Click", "0"}, {"SyntaxHighlight", "0"}}, 7, 9, false, false},
        {"sizes held to 2..20", {{"XGrid", "1"}, {"YGrid", "400"}, {"Click", "1"}}, 2, 20, true, true},
        {"reading ends at a missing value", {{"XGrid", "8"}, {"Click", "0"}, {"SyntaxHighlight", "0"}}, 8, 5, true, true},
        {"reading ends at a value of another type", {{"XGrid", "x"}, {"YGrid", "9"}}, 5, 5, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        restartWith(c.values);
        EXPECT_EQ(prefs().SE_XGrid->value(), c.x);
        EXPECT_EQ(prefs().SE_YGrid->value(), c.y);
        EXPECT_EQ(prefs().Ch_ClickPlace->isChecked(), c.click);
        EXPECT_EQ(prefs().Ch_SyntaxHighlight->isChecked(), c.highlight);
        EXPECT_EQ(TScriptMemo::HighlightSyntax(), c.highlight);
        const TGridPrefs &grid = main().surfaceModel().gridPrefs();
        EXPECT_EQ(grid.xGrid, c.x);
        EXPECT_EQ(grid.yGrid, c.y);
        EXPECT_EQ(grid.clickIntoPlace, c.click);
        EXPECT_TRUE(gridDot(c.x, c.y));
    }
}

TEST_F(PreferencesTest, OkStoresAndRepaints)
{
    handlers["frm_Preferences"] = [](QDialog &d) {
        auto &f = static_cast<Tfrm_Preferences &>(d);
        f.SE_XGrid->setValue(7);
        f.SE_YGrid->setValue(4);
        f.Ch_ClickPlace->setChecked(false);
        f.Ch_SyntaxHighlight->setChecked(false);
        return ok(f);
    };
    EXPECT_TRUE(gridDot(5, 5));
    main().findChild<QAction *>("MI_Preferences")->trigger();
    EXPECT_FALSE(gridDot(5, 5));
    EXPECT_TRUE(gridDot(7, 4));
    EXPECT_FALSE(TScriptMemo::HighlightSyntax());
    EXPECT_FALSE(main().surfaceModel().gridPrefs().clickIntoPlace);

    Settings settings(settingsFolder());
    ASSERT_TRUE(settings.openKeyReadOnly(kKey));
    EXPECT_EQ(settings.readInteger("XGrid"), 7);
    EXPECT_EQ(settings.readInteger("YGrid"), 4);
    EXPECT_FALSE(settings.readBool("Click"));
    EXPECT_FALSE(settings.readBool("SyntaxHighlight"));

    // The next start reads them back.
    designer.reset();
    makeDesigner();
    EXPECT_EQ(prefs().SE_XGrid->value(), 7);
    EXPECT_FALSE(prefs().Ch_SyntaxHighlight->isChecked());
}

TEST_F(PreferencesTest, CancelRestoresTheValuesItStartedWith)
{
    handlers["frm_Preferences"] = [](QDialog &d) {
        auto &f = static_cast<Tfrm_Preferences &>(d);
        f.SE_XGrid->setValue(11);
        f.Ch_ClickPlace->setChecked(false);
        f.Ch_SyntaxHighlight->setChecked(false);
        f.B_Cancel->click();
        return f.result();
    };
    EXPECT_EQ(prefs().ShowModal(), QDialog::Rejected);
    EXPECT_EQ(prefs().SE_XGrid->value(), 5);
    EXPECT_TRUE(prefs().Ch_ClickPlace->isChecked());
    EXPECT_TRUE(prefs().Ch_SyntaxHighlight->isChecked());
    EXPECT_EQ(main().surfaceModel().gridPrefs().xGrid, 5);
    EXPECT_TRUE(main().surfaceModel().gridPrefs().clickIntoPlace);
    EXPECT_TRUE(TScriptMemo::HighlightSyntax());
    EXPECT_FALSE(Settings(settingsFolder()).keyExists(kKey));
}

} // namespace
