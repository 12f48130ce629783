#include "generalpage.h"

#include "buttonedits.h"
#include "colorcombo.h"
#include "editorfixture.h"
#include "files.h"
#include "gradientfill.h"
#include "mainform.h"
#include "pagetable.h"
#include "previewform.h"
#include "radiogroup.h"
#include "systemform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

namespace wharf {
namespace {

TEST(DeriveAppFieldsTest, BuildsFolderGroupAndTitle)
{
    struct Case {
        const char *name, *version, *company;
        const char *folder, *group, *title;
    };
    const Case cases[] = {
        {"Tool", "2", "Acme", "{pro}\\Acme\\Tool 2", "Acme Tool 2", "Tool Setup"},
        {"Tool", "2", "", "{pro}\\Tool 2", "Tool 2", "Tool Setup"},
        // Without a name the inner blank stays and the title is left alone.
        {"", "2", "Acme", "{pro}\\Acme\\ 2", "Acme  2", ""},
        {"Tool", "", "", "{pro}\\Tool", "Tool", "Tool Setup"},
        {" Tool", "", "", "{pro}\\ Tool", "Tool", " Tool Setup"},
    };
    for (const Case &c : cases) {
        const DerivedAppFields f = deriveAppFields(QString::fromUtf8(c.name), QString::fromUtf8(c.version),
                                                   QString::fromUtf8(c.company));
        EXPECT_EQ(f.appFolder, QString::fromUtf8(c.folder)) << c.name << "|" << c.company;
        EXPECT_EQ(f.progGroup, QString::fromUtf8(c.group)) << c.name << "|" << c.company;
        EXPECT_EQ(f.setupTitle, QString::fromUtf8(c.title)) << c.name << "|" << c.company;
    }
}

// The editor started with the template as a new project.
class GeneralPageTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override
    {
        start();
        windows.MainForm->FormShow();
        ASSERT_FALSE(project().ProjectModified());
    }
    TGeneralPage &page() { return *qobject_cast<TGeneralPage *>(windows.MainForm->page(kGeneralPage)); }
    ProjectController &project() { return windows.MainForm->controller(); }
    GeneralSettings &general() { return project().document().General; }
    // Clears the modified mark, as a save does.
    void unmark() { project().SetModified(false); }
};

TEST_F(GeneralPageTest, IsTheStartPageAndShowsTheTemplate)
{
    ASSERT_NE(qobject_cast<TGeneralPage *>(windows.MainForm->page(kGeneralPage)), nullptr);
    EXPECT_EQ(page().E_AppName->text(), QStringLiteral("My Application"));
    EXPECT_EQ(page().E_AppFolder->text(), QStringLiteral("{pro}\\My Application"));
    EXPECT_EQ(page().E_SetupTitle->text(), QStringLiteral("My Application Setup"));
    EXPECT_TRUE(page().Ch_ShowBackground->isChecked());
    EXPECT_EQ(page().CE_StartColor->SelectedColor(), clNavy);
    EXPECT_EQ(page().G_PrevGrad->BeginColor(), clNavy);
    EXPECT_EQ(page().G_PrevGrad->EndColor(), clBlack);
    EXPECT_EQ(page().G_PrevGrad->size(), QSize(181, 121));
    EXPECT_FALSE(page().B_DeleteLangFile->isEnabled());
    EXPECT_FALSE(page().B_EditLangFile->isEnabled());
}

TEST_F(GeneralPageTest, TypingNameCompanyAndVersionDerivesTheFields)
{
    page().E_Company->setText(QStringLiteral("Acme"));
    page().E_VerInfo->setText(QStringLiteral("2"));
    page().E_AppName->setText(QStringLiteral("Tool"));
    EXPECT_EQ(page().E_AppFolder->text(), QStringLiteral("{pro}\\Acme\\Tool 2"));
    EXPECT_EQ(general().DestDir, "{pro}\\Acme\\Tool 2");
    EXPECT_EQ(general().ProgMenuFolder, "Acme Tool 2");
    EXPECT_EQ(general().Caption, "Tool Setup");
    EXPECT_EQ(general().AppName, "Tool");
    EXPECT_TRUE(project().ProjectModified());

    // Clearing the name keeps the title; an edited folder is overwritten by
    // the next change.
    page().E_AppFolder->setText(QStringLiteral("{pro}\\Mine"));
    EXPECT_EQ(general().DestDir, "{pro}\\Mine");
    page().E_AppName->clear();
    EXPECT_EQ(general().DestDir, "{pro}\\Acme\\ 2");
    EXPECT_EQ(general().Caption, "Tool Setup");
}

TEST_F(GeneralPageTest, LeavingTheMajorVersionFillsOnlyAnEmptyDetailedVersion)
{
    page().E_DetailedVersion->clear();
    page().E_VerInfo->setText(QStringLiteral("3"));
    // The edit's context menu, or another window, takes the focus only for a
    // while: the author has not left the edit.
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent away(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(page().E_VerInfo, &away);
        EXPECT_TRUE(page().E_DetailedVersion->text().isEmpty()) << reason;
    }
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(page().E_VerInfo, &leave);
    EXPECT_EQ(page().E_DetailedVersion->text(), QStringLiteral("3"));
    EXPECT_EQ(general().DetailedVersion, "3");
    page().E_VerInfo->setText(QStringLiteral("4"));
    page().E_VerInfoExit();
    EXPECT_EQ(general().DetailedVersion, "3");
}

TEST_F(GeneralPageTest, EveryFieldWritesTheDocumentAndMarksTheProjectHoweverItChanged)
{
    struct Case {
        QLineEdit *edit;
        std::string GeneralSettings::*field;
    };
    const Case cases[] = {
        {page().E_ProgGroup, &GeneralSettings::ProgMenuFolder},
        {page().E_Password, &GeneralSettings::Password},
        {page().E_InstallLog, &GeneralSettings::InstallLogFile},
        {page().E_SetupTitle, &GeneralSettings::Caption},
        {page().E_CopyRght, &GeneralSettings::Copyright},
        {page().FE_WizardImg, &GeneralSettings::WzrdImg},
        {page().FE_MainIcon, &GeneralSettings::MainIcon},
        {page().FE_BackImg, &GeneralSettings::BackImage},
    };
    for (const Case &c : cases) {
        unmark();
        // Text set without any click, as a paste or a drop does.
        c.edit->setText(QStringLiteral("value.bmp"));
        EXPECT_EQ(general().*c.field, "value.bmp") << c.edit->objectName().toStdString();
        EXPECT_TRUE(project().ProjectModified()) << c.edit->objectName().toStdString();
    }
    struct Check {
        QCheckBox *box;
        bool GeneralSettings::*field;
    };
    for (const Check &c : {Check{page().Ch_AlwaysReboot, &GeneralSettings::AlwaysReboot},
                           Check{page().Ch_AdminWarning, &GeneralSettings::AdminWarning},
                           Check{page().Ch_64bitFolders, &GeneralSettings::Use64bitFolders},
                           Check{page().Ch_Transparent, &GeneralSettings::Transparent}}) {
        unmark();
        const bool before = general().*c.field;
        c.box->click();
        EXPECT_EQ(general().*c.field, !before) << c.box->objectName().toStdString();
        EXPECT_TRUE(project().ProjectModified());
    }
    unmark();
    page().RG_PicAlign->button(2)->click();
    EXPECT_EQ(general().BackAlign, 2);
    EXPECT_TRUE(project().ProjectModified());
}

TEST_F(GeneralPageTest, ReloadingShowsTheDocumentWithoutMarkingIt)
{
    general().Company = "Acme";
    general().DestDir = "{pro}\\Custom";
    general().Caption = "Own title";
    general().RequirePassword = true;
    general().UseGradient = false;
    general().EndColor = clRed;
    page().load();
    EXPECT_EQ(page().E_Company->text(), QStringLiteral("Acme"));
    // The derived fields keep what the document holds.
    EXPECT_EQ(page().E_AppFolder->text(), QStringLiteral("{pro}\\Custom"));
    EXPECT_EQ(page().E_SetupTitle->text(), QStringLiteral("Own title"));
    EXPECT_TRUE(page().E_Password->isEnabled());
    EXPECT_FALSE(page().GB_BackWindow->isEnabled());
    EXPECT_EQ(page().G_PrevGrad->EndColor(), clRed);
    EXPECT_FALSE(project().ProjectModified());
}

TEST_F(GeneralPageTest, EnablingRulesAndTheMaskedPassword)
{
    EXPECT_EQ(page().E_Password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(page().E_Password->maxLength(), 56);
    EXPECT_EQ(page().E_InstallLog->maxLength(), 56);
    EXPECT_FALSE(page().L_Password->isEnabled());
    EXPECT_FALSE(page().E_Password->isEnabled());
    page().Ch_Encrypt->click();
    EXPECT_TRUE(page().E_Password->isEnabled());
    EXPECT_TRUE(general().RequirePassword);
    EXPECT_FALSE(page().E_InstallLog->isEnabled());
    page().Ch_InstallLog->click();
    EXPECT_TRUE(page().L_InstallLog->isEnabled());
    EXPECT_TRUE(page().E_InstallLog->isEnabled());

    // Unchecking "Show background window" disables the group and the preview.
    EXPECT_TRUE(page().B_Preview->isEnabled());
    page().Ch_ShowBackground->click();
    EXPECT_FALSE(general().UseGradient);
    EXPECT_FALSE(page().B_Preview->isEnabled());
    for (QWidget *w : std::initializer_list<QWidget *>{page().GB_BackWindow, page().CE_StartColor, page().FE_BackImg,
                                                       page().E_SetupTitle, page().B_TitleFont, page().RG_PicAlign})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(GeneralPageTest, ColoursFollowIntoThePreviewAndTheDocument)
{
    page().CE_EndColor->SetSelectedColor(clYellow);
    EXPECT_EQ(page().G_PrevGrad->EndColor(), clYellow);
    EXPECT_EQ(general().EndColor, clYellow);
    EXPECT_TRUE(project().ProjectModified());

    // Black is named as such, not as the start colour's "Default" entry;
    // the start colour's default stays blue.
    page().CE_EndColor->SetSelectedColor(clBlack);
    EXPECT_EQ(page().CE_EndColor->currentText(), QStringLiteral("Black"));
    EXPECT_EQ(general().EndColor, clBlack);
    page().CE_StartColor->SetSelectedColor(clBlue);
    EXPECT_EQ(page().CE_StartColor->currentText(), QStringLiteral("Default"));
}

TEST_F(GeneralPageTest, TargetSystemsMarkOnlyAChange)
{
    fake.modal.handler = [](QDialog &) { return int(QDialog::Rejected); };
    page().B_TargetSys->click();
    EXPECT_FALSE(project().ProjectModified());
    fake.modal.handler = [](QDialog &dialog) {
        static_cast<TSystemForm &>(dialog).setChecked(0, false);
        return int(QDialog::Accepted);
    };
    page().B_TargetSys->click();
    EXPECT_NE(general().System, kAllTargetSystems);
    EXPECT_TRUE(project().ProjectModified());
}

TEST_F(GeneralPageTest, TheFontDialogChangesTheButtonsFont)
{
    fake.modal.handler = [](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("FontDlg"));
        QFont chosen(QStringLiteral("DejaVu Sans"), 14);
        chosen.setBold(true);
        static_cast<QFontDialog &>(dialog).setCurrentFont(chosen);
        return int(QDialog::Accepted);
    };
    general().CopyrightFont.Color = clRed;
    page().B_CopyrightFont->click();
    EXPECT_EQ(general().CopyrightFont.Name, "DejaVu Sans");
    EXPECT_EQ(general().CopyrightFont.Size, 14);
    EXPECT_EQ(general().CopyrightFont.Style, 1);
    EXPECT_EQ(general().CopyrightFont.Color, clRed);
    EXPECT_EQ(general().CaptionFont, ProjectFont{});

    // OK with the face the dialog showed keeps the stored face name.
    fake.modal.handler = [](QDialog &dialog) {
        auto &fonts = static_cast<QFontDialog &>(dialog);
        QFont bigger = fonts.currentFont();
        bigger.setPointSize(12);
        fonts.setCurrentFont(bigger);
        return int(QDialog::Accepted);
    };
    page().B_TitleFont->click();
    EXPECT_EQ(general().CaptionFont.Name, "MS Sans Serif");
    EXPECT_EQ(general().CaptionFont.Size, 12);

    // The colour is chosen among the effects, starting with the stored one.
    fake.modal.handler = [](QDialog &dialog) {
        auto *color = dialog.findChild<TColorComboBox *>(QStringLiteral("CB_FontColor"));
        EXPECT_NE(color, nullptr);
        if (!color)
            return int(QDialog::Rejected);
        EXPECT_NE(qobject_cast<QGroupBox *>(color->parentWidget()), nullptr);
        EXPECT_EQ(color->SelectedColor(), clRed);
        color->SetSelectedColor(clWhite);
        return int(QDialog::Accepted);
    };
    page().B_CopyrightFont->click();
    EXPECT_EQ(general().CopyrightFont.Color, clWhite);
    EXPECT_EQ(general().CopyrightFont.Size, 14);

    // Cancel keeps the font, its colour too.
    general().CaptionFont = ProjectFont{};
    unmark();
    fake.modal.handler = [](QDialog &dialog) {
        if (auto *color = dialog.findChild<TColorComboBox *>(QStringLiteral("CB_FontColor")))
            color->SetSelectedColor(clYellow);
        return int(QDialog::Rejected);
    };
    page().B_TitleFont->click();
    EXPECT_EQ(general().CaptionFont, ProjectFont{});
}

TEST_F(GeneralPageTest, LanguageFilesAddDeleteAndTheLastOneStays)
{
    // A new project starts with the template's language file.
    const std::string shipped = programFolder + "default.wfl";
    ASSERT_EQ(project().document().LanguageFiles, std::vector<std::string>{shipped});
    const std::string first = scratch.file("english.wfl");
    const std::string second = scratch.file("german.wfl");
    fake.fileDialogs.results.push_back({true, {QString::fromStdString(first), QString::fromStdString(second)}, 0});
    page().B_AddLangFile->click();
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].kind, FileDialogRequest::Kind::OpenMany);
    EXPECT_EQ(fake.fileDialogs.requests[0].defaultExt, QStringLiteral("wfl"));
    ASSERT_EQ(project().document().LanguageFiles, (std::vector<std::string>{shipped, first, second}));
    EXPECT_EQ(page().LB_Languages->count(), 3);
    EXPECT_TRUE(project().ProjectModified());

    page().LB_Languages->setCurrentRow(0);
    page().B_DeleteLangFile->click();
    ASSERT_EQ(project().document().LanguageFiles, (std::vector<std::string>{first, second}));
    page().LB_Languages->setCurrentRow(0);
    EXPECT_TRUE(page().B_DeleteLangFile->isEnabled());
    EXPECT_TRUE(page().B_EditLangFile->isEnabled());
    page().B_DeleteLangFile->click();
    EXPECT_EQ(project().document().LanguageFiles, std::vector<std::string>{second});
    EXPECT_FALSE(page().B_DeleteLangFile->isEnabled());
    EXPECT_TRUE(fake.messages.shown.empty());

    unmark();
    page().LB_Languages->setCurrentRow(0);
    page().B_DeleteLangFileClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("You must include at least one language file!"));
    EXPECT_EQ(project().document().LanguageFiles, std::vector<std::string>{second});
    EXPECT_FALSE(project().ProjectModified());
}

TEST_F(GeneralPageTest, TheLanguageEditorStartsThroughWineOrIsReported)
{
    project().document().LanguageFiles = {"lang\\german.wfl"};
    page().load();
    page().LB_Languages->setCurrentRow(0);

    // Neither the language editor nor wine: the missing program is named;
    // with the program but no wine, the missing runner.
    const std::string program = programFolder + "Wharfspeak.Exe";
    page().B_EditLangFile->click();
    writeFile(program, "MZ");
    page().B_EditLangFile->click();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Could not execute Language Editor!\n\n%1\nNo such file or directory")
                                               .arg(QString::fromStdString(program)));
    EXPECT_TRUE(fake.messages.shown[1].text.startsWith(QStringLiteral("Could not execute Language Editor!\n\n")));
    EXPECT_TRUE(fake.messages.shown[1].text.endsWith(QStringLiteral("\nWindows programs cannot run here: no runner for them (wine) is installed.")));

    environment.winePath = QStringLiteral("/opt/wine");
    page().B_EditLangFile->click();
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, QStringLiteral("/opt/wine"));
    ASSERT_EQ(fake.processes.started[0].arguments.size(), 2);
    EXPECT_EQ(fake.processes.started[0].arguments[0], QString::fromStdString(program));
    // Relative to the project's folder (the program folder for the template),
    // in the form wine gives this file system.
    QString expected = QStringLiteral("Z:") + QString::fromStdString(programFolder) + QStringLiteral("lang/german.wfl");
    expected.replace(u'/', u'\\');
    EXPECT_EQ(fake.processes.started[0].arguments[1], expected);
    EXPECT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_FALSE(project().ProjectModified());
}

TEST(LanguageEditorPathTest, FindsTheProgramInAnyCase)
{
    ScratchFolder scratch;
    const QString folder = QString::fromStdString(scratch.path()) + u'/';
    EXPECT_EQ(languageEditorPath(folder), folder + QStringLiteral("Wharfspeak.Exe"));
    writeFile(scratch.file("wharfspeak.exe"), "MZ");
    EXPECT_EQ(languageEditorPath(folder), folder + QStringLiteral("wharfspeak.exe"));
}

class PreviewFormTest : public GeneralPageTest {
protected:
    TPreviewForm &preview() { return *windows.PreviewForm; }
    std::string picture(const char *name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, size.height() - 1, qRgb(255, 0, 255));
        const std::string path = scratch.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
        return path;
    }
};

TEST_F(PreviewFormTest, FillsTheScreenWithTheLabelsInTheirCorners)
{
    general().Caption = "Tool Setup";
    general().CaptionFont.Size = 20;
    general().Copyright = "(c) Acme";
    general().StartColor = clRed;
    general().EndColor = clBlue;
    preview().FormActivate();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(preview().geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_EQ(preview().HG_Background->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_EQ(preview().HG_Background->BeginColor(), clRed);
    EXPECT_EQ(preview().HG_Background->EndColor(), clBlue);
    EXPECT_EQ(preview().L_Caption->pos(), QPoint(5, 10));
    EXPECT_EQ(preview().L_Caption->text(), QStringLiteral("Tool Setup"));
    EXPECT_EQ(preview().L_Caption->font().pointSize(), 20);
    const QLabel *copyright = preview().L_Copyright;
    EXPECT_EQ(copyright->text(), QStringLiteral("(c) Acme"));
    EXPECT_EQ(copyright->x(), screen.width() - copyright->width() - 20);
    EXPECT_EQ(copyright->y(), screen.height() - copyright->height() - 20);
    EXPECT_EQ(preview().B_Close->pos(), QPoint(20, 50));
    EXPECT_TRUE(preview().I_Background->picture().isNull());
}

TEST_F(PreviewFormTest, ThePicturePlacementFollowsTheAlignment)
{
    general().BackImage = picture("back.bmp", {40, 30});
    general().BackAlign = 0;
    preview().FormActivate();
    const QSize screen = preview().size();
    EXPECT_EQ(preview().I_Background->pictureRect(),
              QRect(QPoint((screen.width() - 40) / 2, (screen.height() - 30) / 2), QSize(40, 30)));
    general().BackAlign = 1;
    preview().FormActivate();
    EXPECT_EQ(preview().I_Background->pictureRect(), QRect(QPoint(0, 0), screen));
    general().BackAlign = 2;
    general().Transparent = true;
    preview().FormActivate();
    EXPECT_EQ(preview().I_Background->pictureRect(), QRect(0, 0, 40, 30));
    // The bottom-left colour is left out; the rest stays.
    EXPECT_EQ(qAlpha(preview().I_Background->picture().pixel(0, 29)), 0);
    EXPECT_EQ(qAlpha(preview().I_Background->picture().pixel(1, 1)), 255);

    // A missing picture, or a metafile, leaves the gradient alone.
    general().BackImage = scratch.file("missing.bmp");
    preview().FormActivate();
    EXPECT_TRUE(preview().I_Background->picture().isNull());
    general().BackImage = scratch.file("drawing.wmf");
    writeFile(general().BackImage, "not drawable here");
    preview().FormActivate();
    EXPECT_TRUE(preview().I_Background->picture().isNull());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(PreviewFormTest, APictureThatCannotBeReadIsReported)
{
    general().BackImage = scratch.file("broken.bmp");
    writeFile(general().BackImage, "BM garbage");
    page().B_PreviewClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("broken.bmp")));
    EXPECT_TRUE(preview().I_Background->picture().isNull());
    ASSERT_EQ(fake.modal.shown.size(), 1u);
    EXPECT_EQ(fake.modal.shown[0], QStringLiteral("PreviewForm"));
    EXPECT_FALSE(project().ProjectModified());
}

} // namespace
} // namespace wharf
