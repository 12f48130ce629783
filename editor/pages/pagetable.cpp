#include "pagetable.h"

#include <cstddef>

namespace wharf {

const std::array<PageInfo, kPageCount> &editorPages()
{
    static const std::array<PageInfo, kPageCount> pages{{
        {"H_General", "General information", "MI_GenInfo", "&General information", "PC_GenInfoTabs",
         {{"TS_AppInfo", "Application information", 10}, {"TS_Layout", "Layout", 11}, {"TS_LangFiles", "Languages", 12}},
         10,
         {{"OB_AppInfo", "Application information"}, {"OB_Layout", "Layout"}, {"OB_Languages", "Languages"}}},
        {"H_Components", "Components", "MI_Components", "&Components", nullptr, {}, 13,
         {{"OB_AddComponent", "Add/Edit component"}}},
        {"H_Dialogs", "Dialogs/Scripting", "MI_Dialogs", "&Dialogs/Scripting", "PC_Dialogs",
         {{"TS_Dialogs", "Dialogs", 14}, {"TS_Scripting", "Scripting", 15}},
         14,
         {{"OB_Dialogs", "Dialogs"}, {"OB_Scripting", "Scripting"}}},
        {"H_Files", "Files/Installation types", "MI_Files", "&Files/Installation types", "PC_FilePages",
         {{"TS_FilesGroups", "Files/Groups", 16},
          {"TS_InstTypes", "Installation types", 17},
          {"TS_AdditionalFiles", "Additional files", 18}},
         16,
         {{"OB_Files", "Files/Groups"}, {"OB_InstTypes", "Installation types"}, {"OB_AdditionalFiles", "Additional files"}}},
        {"H_Icons", "Icons", "MI_Icons", "&Icons", nullptr, {}, 19, {{"OB_AddIcon", "Add icon"}}},
        {"H_Registry", "Registry entries", "MI_Registry", "&Registry entries", nullptr, {}, 20,
         {{"OB_AddRegKey", "Add Registry key"},
          {"OB_AddRegValue", "Add Registry value"},
          {"OB_ImportRegFile", "Import Registry file"}}},
        {"H_Ini", "INI entries", "MI_INI", "I&NI entries", nullptr, {}, 21, {{"OB_AddINI", "Add INI entry"}}},
        {"H_Uninstall", "Uninstaller/Autorun", "MI_Uninstall", "&Uninstaller/Autorun", "PC_UninstallPages",
         {{"TS_Uninstall", "Uninstaller", 22}, {"TS_Autorun", "Autorun", 23}},
         22,
         {{"OB_Uninstaller", "Uninstaller"}, {"OB_Autorun", "Autorun"}}},
        {"H_Extensions", "Extensions", "MI_Extensions", "&Extensions", "PC_ExtensionSheets",
         {{"TS_ExExtensions", "Executable extensions", 24}, {"TS_DllExtensions", "DLL extensions", 25}},
         24,
         {{"OB_ExExtensions", "Executable extensions"}, {"OB_DllExtensions", "DLL Extensions"}}},
        {"H_Compile", "Compile", "MI_Compile", "C&ompile", nullptr, {}, 26,
         {{"OB_CompileNow", "Compile now"}, {"OB_ExecSetup", "Execute setup"}}},
    }};
    return pages;
}

int navButtonImageIndex(int page, int button)
{
    int index = 0;
    for (int p = 0; p < page && p < kPageCount; ++p)
        index += static_cast<int>(editorPages()[static_cast<std::size_t>(p)].buttons.size());
    return index + button;
}

} // namespace wharf
