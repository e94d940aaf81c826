#include "tools/demoprefix/PrefixBuilder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/RegistryValue.h"
#include "platform/Text.h"
#include "tools/pe/PeWriter.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

constexpr char kVelmora[] = "Software\\VELMORA\\";

std::string LocaleNameOf(uint16_t lcid) {
  switch (lcid) {
    case 0x0409:
      return "en-US";
    case 0x0415:
      return "pl-PL";
    default:
      return "";
  }
}

std::string OemCodePageOf(const std::string& ansiCodePage) {
  if (ansiCodePage == "1250") return "852";
  if (ansiCodePage == "1251") return "866";
  return "437";
}

RegValue DoubleValue(double number) {
  RegValue value{kRegBinary, std::vector<uint8_t>(sizeof number)};
  std::memcpy(value.data.data(), &number, sizeof number);
  return value;
}

void SetTexts(RegFileBuilder& hive, std::string_view path,
              std::initializer_list<std::pair<std::string_view, std::string>> values) {
  for (const auto& [name, text] : values) hive.SetValue(path, name, MakeRegText(text));
}

bool CreateFolder(const fs::path& path, std::string& error) {
  std::error_code failure;
  fs::create_directories(path, failure);
  if (failure) error = "cannot create " + path.string() + ": " + failure.message();
  return !failure;
}

bool CreateLink(const fs::path& link, const fs::path& target, std::string& error) {
  std::error_code failure;
  fs::remove(link, failure);
  fs::create_directory_symlink(target, link, failure);
  if (failure) error = "cannot link " + link.string() + ": " + failure.message();
  return !failure;
}

}  // namespace

PrefixBuilder::PrefixBuilder(std::string hostFolder) : hostFolder_(std::move(hostFolder)) {}

PrefixBuilder& PrefixBuilder::UserName(std::string name) {
  user_ = std::move(name);
  return *this;
}

PrefixBuilder& PrefixBuilder::Language(uint16_t lcid, std::string decimal, std::string thousand,
                                       std::string ansiCodePage) {
  lcid_ = lcid;
  decimal_ = std::move(decimal);
  thousand_ = std::move(thousand);
  ansiCodePage_ = std::move(ansiCodePage);
  return *this;
}

PrefixBuilder& PrefixBuilder::Polish() { return Language(0x0415, ",", "\u00A0", "1250"); }

FamilyProgram& PrefixBuilder::AddProgram(std::string code, std::string folder) {
  programs_.push_back(std::make_unique<FamilyProgram>(std::move(code), std::move(folder)));
  return *programs_.back();
}

PrefixBuilder& PrefixBuilder::AddPreviousInstallation(std::string_view key, std::string_view folder,
                                                      double number) {
  return SetValue(RegRoot::CurrentUser, kVelmora + std::string(key), folder, DoubleValue(number));
}

PrefixBuilder& PrefixBuilder::SetRunFrom(std::string_view key, std::string_view folder) {
  return SetValue(RegRoot::CurrentUser, kVelmora + std::string(key), "runfrom",
                  MakeRegText(folder));
}

PrefixBuilder& PrefixBuilder::SetValue(RegRoot root, std::string_view path, std::string_view name,
                                       RegValue value, RegView view) {
  values_.push_back(Pending(root, path, name, std::move(value), view));
  return *this;
}

PrefixBuilder::PendingValue PrefixBuilder::Pending(RegRoot root, std::string_view path,
                                                   std::string_view name, RegValue value,
                                                   RegView view) {
  std::string where(path);
  if (root == RegRoot::LocalMachine && view == RegView::Wow32 &&
      StartsWithNoCase(where, "Software\\") && !StartsWithNoCase(where, "Software\\Wow6432Node"))
    where = "Software\\Wow6432Node\\" + where.substr(9);
  return {root, where, std::string(name), std::move(value)};
}

std::string PrefixBuilder::HostPath(std::string_view windowsPath) const {
  if (windowsPath.size() < 2 || !EqualsNoCase(windowsPath.substr(0, 2), "C:")) return {};
  fs::path host = fs::path(hostFolder_) / "drive_c";
  std::string_view rest = windowsPath.substr(2);
  while (!rest.empty()) {
    const size_t separator = rest.find('\\');
    const std::string_view part = rest.substr(0, separator);
    rest = separator == std::string_view::npos ? std::string_view{} : rest.substr(separator + 1);
    if (part == ".." || part.find('/') != std::string_view::npos) return {};
    if (!part.empty() && part != ".") host /= std::string(part);
  }
  return host.string();
}

void PrefixBuilder::AddMachineKeys(RegFileBuilder& machine) const {
  const std::string ntVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  SetTexts(machine, ntVersion,
           {{"CSDVersion", "Service Pack 1"},
            {"CurrentBuild", "7601"},
            {"CurrentBuildNumber", "7601"},
            {"CurrentType", "Uniprocessor Free"},
            {"CurrentVersion", "6.1"},
            {"ProductName", "Microsoft Windows 7"},
            {"RegisteredOrganization", ""},
            {"RegisteredOwner", ""},
            {"SystemRoot", "C:\\windows"}});
  const std::string version = "Software\\Microsoft\\Windows\\CurrentVersion";
  SetTexts(machine, version,
           {{"CommonFilesDir", "C:\\Program Files\\Common Files"},
            {"CommonFilesDir (x86)", "C:\\Program Files (x86)\\Common Files"},
            {"ProgramFilesDir", "C:\\Program Files"},
            {"ProgramFilesDir (x86)", "C:\\Program Files (x86)"}});
  machine.SetValue(version, "ProgramFilesPath", MakeRegText("%ProgramFiles%", kRegExpandSz));
  // As in Wine, the 32-bit view holds links to shared subkeys, not copies of the version values.
  for (const char* shared : {"Console", "Fonts", "FontSubstitutes"}) {
    machine.AddKey(ntVersion + "\\" + shared);
    machine.AddLink(
        "Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\" + std::string(shared),
        ntVersion + "\\" + shared);
  }
  machine.AddKey(version + "\\App Paths");
  machine.AddLink("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths",
                  version + "\\App Paths");
  machine.AddKey("Software\\Classes\\Wow6432Node");
  machine.AddLink("Software\\Wow6432Node\\Classes", "Software\\Classes\\Wow6432Node");
  SetTexts(machine, "System\\CurrentControlSet\\Control\\Nls\\Codepage",
           {{"ACP", ansiCodePage_}, {"MACCP", "10000"}, {"OEMCP", OemCodePageOf(ansiCodePage_)}});
}

void PrefixBuilder::AddUserKeys(RegFileBuilder& user, RegFileBuilder& userDefault) const {
  const std::string profile = "C:\\users\\" + user_;
  char locale[16];
  std::snprintf(locale, sizeof locale, "%08X", unsigned{lcid_});
  SetTexts(user, "Control Panel\\International",
           {{"Locale", locale},
            {"LocaleName", LocaleNameOf(lcid_)},
            {"sDecimal", decimal_},
            {"sThousand", thousand_},
            {"sList", decimal_ == "," ? ";" : ","}});
  SetTexts(user, "Control Panel\\Desktop", {{"ScreenSaveActive", "1"}});
  SetTexts(user, "Environment", {{"TEMP", profile + "\\Temp"}, {"TMP", profile + "\\Temp"}});
  SetTexts(user, "Volatile Environment",
           {{"APPDATA", profile + "\\AppData\\Roaming"},
            {"HOMEDRIVE", "C:"},
            {"HOMEPATH", "\\users\\" + user_},
            {"LOCALAPPDATA", profile + "\\AppData\\Local"},
            {"USERNAME", user_},
            {"USERPROFILE", profile}});
  const std::string folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  SetTexts(userDefault, folders + "Shell Folders",
           {{"AppData", profile + "\\AppData\\Roaming"}, {"Desktop", profile + "\\Desktop"}});
  userDefault.SetValue(folders + "User Shell Folders", "AppData",
                       MakeRegText("%USERPROFILE%\\AppData\\Roaming", kRegExpandSz));
  userDefault.SetValue(folders + "User Shell Folders", "Desktop",
                       MakeRegText("%USERPROFILE%\\Desktop", kRegExpandSz));
}

bool PrefixBuilder::WriteFolders(std::string& error) const {
  const fs::path root(hostFolder_);
  const std::string profile = "C:\\users\\" + user_;
  for (const std::string& folder :
       {std::string("C:\\windows\\system32"), std::string("C:\\windows\\syswow64"),
        std::string("C:\\windows\\temp"), profile + "\\Temp", profile + "\\Desktop",
        profile + "\\AppData\\Roaming", profile + "\\AppData\\Local",
        std::string("C:\\users\\Public"), std::string("C:\\Program Files"),
        std::string("C:\\Program Files (x86)"), std::string("C:\\ProgramData")}) {
    if (!CreateFolder(HostPath(folder), error)) return false;
  }
  return CreateFolder(root / "dosdevices", error) &&
         CreateLink(root / "dosdevices" / "c:", "../drive_c", error) &&
         CreateLink(root / "dosdevices" / "z:", "/", error);
}

bool PrefixBuilder::WriteProgram(const FamilyProgram& program, std::string& error) const {
  const std::string folder = HostPath(program.Folder());
  if (folder.empty()) {
    error = "not a folder on drive C: " + program.Folder();
    return false;
  }
  if (!CreateFolder(folder, error)) return false;
  for (const auto& file : program.Files()) {
    PeImage image;
    image.isDll = EqualsNoCase(file.name.substr(file.name.size() - 4), ".dll");
    if (file.hasVersion)
      image.version = MakeVersionResource(FixedVersionOf(file.versionText), file.versionText);
    if (!WritePeFile((fs::path(folder) / file.name).string(), image, error)) return false;
  }
  for (const auto& name : program.DatabaseFolderNames())
    if (!CreateFolder(fs::path(folder) / name, error)) return false;
  return true;
}

bool PrefixBuilder::Build(std::string& error) {
  RegFileBuilder machine(RegRoot::LocalMachine, true);
  RegFileBuilder user(RegRoot::CurrentUser, true);
  RegFileBuilder userDefault(RegRoot::CurrentUser, true);
  userDefault.SetUserSid(".Default");
  AddMachineKeys(machine);
  AddUserKeys(user, userDefault);

  if (!WriteFolders(error)) return false;
  std::vector<PendingValue> values;
  for (const auto& program : programs_) {
    if (!WriteProgram(*program, error)) return false;
    if (const auto& root = program->RegistrationRoot()) {
      const std::string installations = std::string(kVelmora) + "INSTALLATIONS";
      values.push_back(
          Pending(*root, installations, program->Code(), MakeRegText(program->InstallationKey())));
      values.push_back(Pending(*root, installations + "\\" + program->InstallationKey(), "PATH",
                               MakeRegText(program->Folder())));
    }
    if (program->HasRunFrom()) {
      values.push_back(Pending(RegRoot::CurrentUser, kVelmora + program->ProgramKey(), "runfrom",
                               MakeRegText(program->Folder())));
    }
  }
  values.insert(values.end(), values_.begin(), values_.end());
  for (const auto& value : values)
    (value.root == RegRoot::LocalMachine ? machine : user)
        .SetValue(value.path, value.name, value.value);

  const fs::path root(hostFolder_);
  for (const auto& [hive, name] :
       {std::pair<const RegFileBuilder*, const char*>{&machine, "system.reg"},
        {&user, "user.reg"},
        {&userDefault, "userdef.reg"}}) {
    if (!hive->WriteTo((root / name).string())) {
      error = "cannot write " + (root / name).string();
      return false;
    }
  }
  return true;
}

}  // namespace dbinst
