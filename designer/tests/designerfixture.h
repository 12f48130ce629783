#pragma once
// A whole designer over a scratch program folder (with a small
// "default.ctl") and scratch settings, driven through the fake seams.

#include "designer.h"
#include "fakeseams.h"
#include "files.h"
#include "keylist.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <functional>
#include <map>
#include <memory>

namespace wharf::testing {

inline constexpr const char *kFixtureDefaultCtl = "[Edit]\nType=0\nWidth=121\nHeight=21\n"
                                                  "[Button]\nType=1\nWidth=75\nHeight=25\nCaption=Button\n";

class DesignerFixture : public ::testing::Test {
protected:
    ScratchFolder dir;
    FakeSeams fake;
    std::unique_ptr<TDesigner> designer;
    // What each dialog does when it is shown, by object name; a dialog
    // without a handler is cancelled.
    std::map<QString, std::function<int(QDialog &)>> handlers;

    void SetUp() override
    {
        ASSERT_TRUE(createFolder(dir.file("program")));
        ASSERT_TRUE(createFolder(dir.file("config")));
        ASSERT_TRUE(createFolder(dir.file("runtime")));
        ASSERT_TRUE(writeFile(dir.file("program/default.ctl"), kFixtureDefaultCtl));
        fake.modal.handler = [this](QDialog &dialog) {
            dialog.setResult(QDialog::Rejected); // as a modal loop starts
            const auto it = handlers.find(dialog.objectName());
            return it == handlers.end() ? int(QDialog::Rejected) : it->second(dialog);
        };
        makeDesigner();
    }

    virtual void makeDesigner()
    {
        designer = std::make_unique<TDesigner>(fake.seams(), programFolder(), settingsFolder());
        designer->testRun().setRuntimeFolder(runtimeFolder());
    }

    QString programFolder() const { return QString::fromStdString(dir.file("program")) + "/"; }
    QString settingsFolder() const { return QString::fromStdString(dir.file("config")); }
    // Where the test runs make their private folders.
    QString runtimeFolder() const { return QString::fromStdString(dir.file("runtime")); }
    Tfrm_Main &main() { return designer->main(); }

    // Adds a control from key lines (without the "[Controls]" header).
    size_t addControl(const TStringList &lines)
    {
        TStringList keys{std::string(kKeyListHeader)};
        keys.insert(keys.end(), lines.begin(), lines.end());
        return main().BuildControl(std::move(keys));
    }
    const TStringList &keysOf(size_t index) { return main().document().control(index).keys; }
    std::string keyOf(size_t index, const char *key)
    {
        return keyListValue(keysOf(index), key).value_or("<missing>");
    }
    // Clicks a dialog's OK button and returns its result.
    template <typename Dialog> static int ok(Dialog &dialog)
    {
        dialog.B_OK->click();
        return dialog.result();
    }
};

} // namespace wharf::testing
