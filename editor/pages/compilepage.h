#pragma once
// TCompilePage, page 9 of the main window ("Compile"): the build settings
// of the project (output folder, output type, disk and cluster size,
// compression, archive mode, batch file), the files the output folder
// holds, and the compile itself. A compile hands a scratch copy of the
// project to the compiler library (compilerun.h) and shows its lines and
// progress in the compile window (TCompileForm), which can cancel it. The
// command line's batch compile runs the same B_CompileFileClick, with
// nothing asked and every line printed.
//
// A relative output folder is taken against the project's folder, as the
// compiler takes it, for everything the page does with the folder's files.

#include "compilerun.h"
#include "editorpage.h"

#include <functional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QSlider;
class QSpinBox;
class QToolButton;

namespace wharf {

class TCompileForm;
class TFilenameEdit;
class TFolderBrowse;

class TCompilePage : public TEditorPage {
    Q_OBJECT
public:
    TCompilePage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QLabel *L_OutputDir;
    QLineEdit *E_OutputDir;
    QToolButton *B_ChooseDir;
    QGroupBox *RG_OutputType; // 0 disk-spanning, 1 self-extracting, 2 package
    QLabel *l_PackageName;
    QLineEdit *E_PackageName;
    QLabel *L_MaxDiskSize;
    QComboBox *CB_DiskSize; // 0 "1.44 MB", 1 "650 MB", 2 "Other"
    QSpinBox *SE_DiskSize;
    QLabel *L_DiskBytes;
    QLabel *L_ClusterSize;
    QSpinBox *SE_Cluster;
    QLabel *L_ClusterBytes;
    QLabel *L_CompLevel;
    QSlider *TB_CompLevel; // 0 to 8
    QLabel *L_LowComp;
    QLabel *L_HighComp;
    QGroupBox *RG_ArcMode; // 0 complete files, 1 partial updates
    QLabel *L_RunBatch;
    TFilenameEdit *FE_RunBatch;
    QLabel *L_OutputFiles;
    QListWidget *LV_OutputFiles;
    QLabel *L_LogFile; // where the compile log is kept
    QMenu *PM_OutputFiles;
    QAction *MI_DeleteFile;
    QAction *MI_CopyFile;
    QPushButton *B_CompileFile;
    QPushButton *B_ExecSetup;
    TFolderBrowse *FB_OutputDir;

    // The checked item of a radio group (RG_OutputType, RG_ArcMode); -1
    // when none is. Setting it checks that item, as a click would.
    int itemIndex(const QGroupBox *group) const;
    void setItemIndex(QGroupBox *group, int index);

    // The output folder as the compiler resolves it: E_OutputDir made
    // absolute against the project's folder, as a native path without a
    // trailing separator; empty when the edit is empty.
    QString outputFolder();

    // Every line of kind 0 and 1 of a compile, as it comes (error set for
    // kind 1). The batch compile prints them.
    std::function<void(const QString &line, bool error)> OnCompileLine;
    // How the last compile ended (for the batch compile's exit status).
    const CompileOutcome &lastCompile() const { return m_lastCompile; }
    bool compiling() const { return m_compiling; }

    // Header buttons: 0 "Compile now", 1 "Execute setup".
    void navigationButtonClicked(int buttonIndex) override;

    // Event handlers, named as the page's events.
    void B_CompileFileClick();
    void B_ExecSetupClick();
    void B_ChooseDirClick();
    void E_OutputDirChange();
    void RG_OutputTypeClick();
    void CB_DiskSizeChange();
    void PM_OutputFilesPopup();
    void MI_DeleteFileClick();
    void MI_CopyFileClick();

protected:
    void loadFromDocument(const Project &project) override;

private:
    class CompileMessages;

    void buildControls();
    void connectControls();
    // The enabling that follows the output type and the disk-size choice.
    void updateOutputTypeControls();
    void updateDiskSizeControls();
    void disableWindows();
    void enableWindows();
    void finishCompile(bool wasModified);
    void offerDistributionManager(const QString &outputFolderText);
    QStringList selectedFileNames() const;
    TCompileForm *compileForm();

    CompileOutcome m_lastCompile;
    bool m_compiling = false;
};

} // namespace wharf
