#include "sampleproject.h"

#include "files.h"

#include <stdexcept>

namespace wharf::testing {

RegistryNode &addKey(std::vector<RegistryNode> &children, const std::string &name)
{
    RegistryNode node;
    node.Text = name;
    node.Entry.IsKey = true;
    node.Entry.Overwrite = false;
    children.push_back(node);
    return children.back();
}

RegistryNode &addValue(std::vector<RegistryNode> &children, const std::string &name, const std::string &type,
                       const std::string &data)
{
    RegistryNode node;
    node.Text = name;
    node.Entry.ValueType = type;
    node.Entry.Data = data;
    children.push_back(node);
    return children.back();
}

Project richSample()
{
    Project p;
    GeneralSettings &g = p.General;
    g.AppName = "Harbour Tool";
    g.Caption = "Harbour Tool Setup";
    g.CaptionFont = {"Arial", 24, 16777215, 3};
    g.VerInfo = "2";
    g.DetailedVersion = "2.1.0";
    g.Copyright = "\xC2\xA9 Harbour W\xC3\xB6rks";  // (c) and o-umlaut: two Windows-1252 bytes
    g.UseGradient = true;
    g.Company = "Harbour Works";
    g.DestDir = "{pro}\\Harbour Works\\Harbour Tool 2";
    g.ProgMenuFolder = "Harbour Works Harbour Tool 2";
    g.RequirePassword = true;
    g.Password = "s3cret pass";
    g.InstallLog = true;
    g.InstallLogFile = "install.log";
    g.AdminWarning = false;
    g.System = 63;
    g.Use64bitFolders = true;
    g.MainIcon = "C:\\Art\\main.ico";
    g.BackImage = "C:\\Art\\back.bmp";
    g.WzrdImg = "C:\\Art\\wizard.bmp";
    g.Transparent = true;
    g.BackAlign = 2;
    g.StartColor = 255;
    g.EndColor = 65280;
    g.AutomaticUninstDir = false;
    g.UninstallDir = "{app}\\Remove";
    g.IconTitle = "Remove Harbour Tool";
    g.UninstReportLevel = 1;
    g.CreateAutorun = true;
    g.AutorunIcon = "C:\\Art\\cd.ico";
    g.CustomSetup = true;
    g.ArchiveMode = 1;
    g.ReadmeFile = "C:\\Docs\\readme.rtf";
    g.LicenseFile = "C:\\Docs\\license.rtf";
    g.OutputDir = "C:\\Setups\\Out\\";
    g.PackageName = "harbour.zlb";
    g.RunBatch = "C:\\Setups\\after.bat";
    g.FloppySize = 2;
    g.MaxDiskSize = 2000000;
    g.ClusterSize = 4096;
    g.CompressionLevel = 7;
    g.OutputType = 1;
    g.BillboardLoop = false;
    g.BillboardDelay = 2500;

    p.Dialogs = {"C:\\Dialogs\\welcome.ddf", "C:\\Dialogs\\select destination.ddf"};
    p.UninstallDialogs = {"C:\\Dialogs\\uninstaller.ddf"};
    p.InitScript = {"// start", "SetVar(\"x\", \"1\")"};
    p.InstallScript = {"Install"};
    p.BillboardPics = {"C:\\Art\\bill1.bmp"};
    p.LanguageFiles = {"C:\\Lang\\english.wfl"};

    GroupEntry main;
    main.Name = "Main";
    main.Required = true;
    FileEntry tool;  // every flag at its default
    tool.Source = "bin\\tool.exe";
    tool.Destination = "{app}\\tool.exe";
    tool.Description = "tool.exe";
    main.Files.push_back(tool);
    FileEntry lib;  // every flag away from its default
    lib.Source = "C:\\Shared\\lib.dll";
    lib.Relative = false;
    lib.Destination = "{sys}\\lib.dll";
    lib.PatchedFile = "C:\\Old\\lib.dll";
    lib.Description = "Harbour library";
    lib.CompareVersions = true;
    lib.CompareTimeStamps = true;
    lib.Shared = true;
    lib.RegOCX = true;
    lib.Pending = true;
    lib.Overwrite = false;
    lib.Uninstall = false;
    lib.InstallFont = true;
    lib.TargetSystems = 4194241;
    main.Files.push_back(lib);
    p.Groups.push_back(main);

    GroupEntry docs;
    docs.Name = "Docs";
    FileEntry readme;  // lies beside the setup
    readme.Source = "C:\\Docs\\readme.txt";
    readme.External = true;
    readme.Relative = false;
    readme.Destination = "{app}\\readme.txt";
    readme.Description = "readme.txt";
    docs.Files.push_back(readme);
    FileEntry manual;  // two folders above the project
    manual.Source = "..\\..\\manual.pdf";
    manual.Destination = "{app}\\doc\\manual.pdf";
    manual.Description = "manual.pdf";
    docs.Files.push_back(manual);
    FileEntry font;  // fetched by the runtime
    font.Source = "{win}\\fonts\\harbour.ttf";
    font.Relative = false;
    font.Destination = "{fonts}\\harbour.ttf";
    font.Description = "harbour.ttf";
    docs.Files.push_back(font);
    p.Groups.push_back(docs);

    p.AdditionalFiles = {"C:\\Extras\\vcredist.exe"};
    p.InstallTypes = {{"Full", "|0||1|"}, {"Minimal", "|0|"}};

    ShortcutEntry plain;
    plain.Title = "Harbour Tool";
    plain.Target = "{app}\\tool.exe";
    plain.Location = "{app}\\tool.exe";
    p.Shortcuts.push_back(plain);
    ShortcutEntry manualLink;
    manualLink.Title = "Manual";
    manualLink.Path = "{desktop}";
    manualLink.Params = "/manual";
    manualLink.Target = "{app}\\tool.exe";
    manualLink.WorkDir = "{app}\\doc";
    manualLink.Location = "{app}\\doc\\manual.pdf";
    manualLink.ShowMode = 1;
    manualLink.HotKey = 587;
    manualLink.IconIndex = 2;
    manualLink.TargetSystems = 63;
    p.Shortcuts.push_back(manualLink);

    auto &roots = p.Registry.roots();
    RegistryNode &ext = addKey(roots[0].Children, ".hbr");  // key-only, flagged
    ext.Entry.Create = false;
    ext.Entry.TargetSystems = 4194241;
    addValue(roots[1].Children, "RootValue", "String", "at the root");
    RegistryNode &software = addKey(roots[2].Children, "Software");  // only subkeys, plain
    RegistryNode &harbour = addKey(software.Children, "Harbour");
    harbour.Entry.Uninstall = true;
    addValue(harbour.Children, "Path", "String", "{app}");
    RegistryNode &count = addValue(harbour.Children, "Count", "DWORD", "$0000000A");
    count.Entry.Overwrite = false;
    count.Entry.Uninstall = true;
    count.Entry.TargetSystems = 63;
    addValue(harbour.Children, kEmpty.data(), "String", "default data");
    addKey(harbour.Children, "Empty");  // key-only with default flags

    IniEntry iniPlain{"{win}\\harbour.ini", "Settings", "Path", "{app}"};
    IniEntry iniFlags{"{app}\\tool.ini", "Run", "Once", ""};
    iniFlags.Uninstall = true;
    iniFlags.Overwrite = false;
    iniFlags.Create = false;
    iniFlags.TargetSystems = 63;
    p.IniEntries = {iniPlain, iniFlags};

    ExternalProgram install{"\"{app}\\post setup.exe\" /quiet", false, true, kAllTargetSystems};
    ExternalProgram uninstall{"{app}\\cleanup.exe", true, false, 63};
    p.ExternalPrograms = {install, uninstall};
    p.DllCalls = {{"C:\\Dlls\\step.dll", "DoStep", 2}, {"C:\\Dlls\\undo.dll", "Undo", -1}};
    p.UninstExpressions = {"{app}\\logs\\*.log"};
    p.DataFiles = {"C:\\Data\\table.dat"};
    return p;
}

std::string fixture(const std::string &name)
{
    const std::string path = std::string(WHARF_PROJECT_FIXTURES) + "/" + name;
    const std::optional<std::string> bytes = readFile(path);
    if (!bytes)
        throw std::runtime_error("missing fixture " + path);
    return *bytes;
}

} // namespace wharf::testing
