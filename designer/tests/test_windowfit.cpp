// Every window of the designer, opened offscreen: no label, button, tab,
// header section or table cell cuts its text in the font it is drawn in,
// no window is larger than the screen, and the control's property window
// is no larger than the designer. A picture of each window goes to the
// build folder for review.

#include "designerfixture.h"

#include "fontdialog.h"
#include "tabchain.h"
#include "textfit.h"

#include <QApplication>
#include <QStackedWidget>

namespace wharf {
namespace {

class WindowFitTest : public testing::DesignerFixture {
protected:
    // Every window of the designer with a dialog of several controls drawn,
    // the control window once for each control type.
    std::vector<testing::WindowCase> designerWindows();
};

std::vector<testing::WindowCase> WindowFitTest::designerWindows()
{
    designer->start({});
    for (const TStringList &control :
         {TStringList{"Type=0", "Name=E_Name", "Left=16", "Top=16", "Width=121", "Height=21"},
          TStringList{"Type=1", "Name=B_Go", "Caption=&Go", "Left=16", "Top=48", "Width=75", "Height=25"},
          TStringList{"Type=2", "Name=L_Text", "Caption=Label", "Left=16", "Top=80", "Width=100", "Height=17"},
          TStringList{"Type=3", "Name=C_Check", "Caption=Check", "Left=16", "Top=104", "Width=100", "Height=17"}})
        addControl(control);
    // The item grid with captions longer than its room and a short one.
    const size_t checkList = addControl({"Type=8", "Name=CLB_Tasks", "Left=16", "Top=128", "Width=150", "Height=60",
                                         "ItemsCount=3", "ItemsLine0=Create a shortcut on the desktop for every user",
                                         "ItemsLine1=Start the program when the setup has finished", "ItemsLine2=Go",
                                         "Items0Checked=1",
                                         "Hint=Tick what the setup is to do once it has copied the files"});
    QApplication::processEvents();

    std::vector<testing::WindowCase> windows{
        {"designer", [this]() -> QWidget & { return main(); }},
        {"DrawObject", [this]() -> QWidget & { return designer->drawObject(); }},
        {"Preferences", [this]() -> QWidget & { return designer->preferences(); }},
        {"DlgProps", [this]() -> QWidget & { return designer->dlgProps(); }},
        {"EditCLB", [this]() -> QWidget & { return designer->editCLB(); }},
        {"DebugResults", [this]() -> QWidget & { return designer->debugResults(); }},
        {"FontDialog", [this]() -> QWidget & { return *designer->ctlProperties().FontDialog; }},
    };
    Tfrm_CtlProperties &properties = designer->ctlProperties();
    static const char *const kPages[] = {"CtlProperties-0", "CtlProperties-1", "CtlProperties-2", "CtlProperties-3",
                                         "CtlProperties-4", "CtlProperties-5", "CtlProperties-6", "CtlProperties-7",
                                         "CtlProperties-8", "CtlProperties-9", "CtlProperties-10",
                                         "CtlProperties-11"};
    for (int type = 0; type < std::min<int>(properties.CtlBook->count(), std::size(kPages)); ++type)
        windows.push_back({kPages[type], [this, &properties, type, checkList]() -> QWidget & {
                               if (type == ctChkListBox) {
                                   // Shown for a control, so the grid holds its items.
                                   main().CtlClick(static_cast<long>(checkList));
                                   properties.FormShow();
                               } else {
                                   properties.CtlBook->setCurrentIndex(type);
                               }
                               return properties;
                           }});
    return windows;
}

TEST_F(WindowFitTest, EveryDesignerWindowFitsItsTexts)
{
    testing::expectWindowsFit(designerWindows(), QStringLiteral(WHARF_WINDOW_PICTURES));
    Tfrm_CtlProperties &properties = designer->ctlProperties();

    // The control's property window opens over the designer: it is no
    // larger, whatever page it shows.
    for (int type = 0; type < properties.CtlBook->count(); ++type) {
        properties.CtlBook->setCurrentIndex(type);
        properties.show();
        EXPECT_LE(properties.width(), main().width()) << type;
        EXPECT_LE(properties.height(), main().height()) << type;
        properties.hide();
    }
}

TEST_F(WindowFitTest, EveryDesignerWindowTabsInLayoutOrder)
{
    testing::expectTabOrderFollowsLayout(designerWindows());
}

} // namespace
} // namespace wharf
