#pragma once

#include <string>
#include <vector>

namespace dbinst {

// Names the family's installers share; only the CAD host's executable matters to this program.
struct TFixedNames {
  std::string cadHostExecutable = "icad.exe";
  std::string installerLogName = "installation.log";
  std::string uninstallerLogName = "uinst.log";
  std::string setupIni = "Setup.ini";
  std::string showProgram = "Pokaz\\pokaz1.exe";
  std::string languageIni = "jezyk.ini";
  std::string manualsFolder = "Manuals";
  std::string mainFilesFolder = "MainFiles";
  std::string icadConfigFolder = "IcadConf";
  std::string databasesFolder = "Databases";
  std::vector<std::string> databaseSubfolders = {"Tiles", "Interior",  "Cabinets",  "Household",
                                                 "Walls", "Materials", "Additional"};
  std::string archiveTest = "7zTesting\\7zTesting.7z";
  std::string acrobatReaderFolder = "AcrobatReader";
  std::vector<std::string> mdacInstallers = {"MDAC\\MDAC_TYP20.EXE", "MDAC\\MDAC_TYP25.EXE",
                                             "MDAC\\MDAC_TYP27.EXE"};
  std::string vcRedist2005 = "VcRedist2005\\vcredist.msi";
  std::string vcRedist2008 = "VcRedist2008\\install.exe";
  std::string firebirdFolder = "Firebird";
  std::string testFilesFolder = "TestFiles";
  std::vector<std::string> userDatabaseNames = {"baza_uzytkownika", "B_USER", "BNS_User", "uklady",
                                                "Orvane_zlecenia.mdb"};
  std::string systemFolder = "System";
  std::string familyFolder = "Velmora";
  std::vector<std::string> databaseServerServices = {"FirebirdServerDefaultInstance",
                                                     "FirebirdGuardianDefaultInstance",
                                                     "InterBase Server", "InterBase Guardian"};
  std::vector<std::string> databaseServerProcesses = {"fbserver.exe",        "fb_inet_server.exe",
                                                      "fbguard.exe",         "ibserver.exe",
                                                      "gds_inet_server.exe", "ibguard.exe"};
};

}  // namespace dbinst
