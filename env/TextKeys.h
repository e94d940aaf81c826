#pragma once

#include <array>

namespace dbinst {

// The keys of the translation table that this program reads, named by what their texts say.
// The Polish text of each is in resources/make_txttransl.py.
namespace TextKey {

// A language whose table gives this key a text is one the family's Setup.ini may offer.
inline constexpr int LanguageProbe = 0;
// Product names, keyed by their product line.
inline constexpr int ProductOrvane = 1;
inline constexpr int ProductOrvaneSelka = 2;
inline constexpr int ProductOrvaneDemo = 3;
inline constexpr int ProductKestrio = 4;
inline constexpr int ProductOrvanePro = 5;
inline constexpr int ProductOrvaneProDemo = 6;
// The line above the databases that were not installed, each with its reason.
inline constexpr int DatabasesNotInstalled = 15;
inline constexpr int ReasonInUse = 9;
inline constexpr int ReasonNoSpace = 26;
inline constexpr int ReasonWriteProtected = 27;
inline constexpr int ReasonDamagedArchive = 28;
inline constexpr int ReasonWrongPassword = 29;
inline constexpr int RequiredDiskSpace = 60;
inline constexpr int AvailableDiskSpace = 61;
inline constexpr int NotEnoughDiskSpace = 62;
inline constexpr int InstallationNotCompleted = 78;
inline constexpr int QuestionCaption = 19;
inline constexpr int NoticeCaption = 20;
inline constexpr int Cancel = 22;
inline constexpr int Next = 23;
inline constexpr int NewFolder = 24;
inline constexpr int Finish = 25;
inline constexpr int CannotCreateFolder = 30;
inline constexpr int ChoosePathTitle = 59;
inline constexpr int Browse = 74;
inline constexpr int InstallationCompleted = 77;
inline constexpr int FreeDiskSpace = 125;
inline constexpr int DriveMegabytes = 126;
// Names of the database kinds, in the order of their kinds.
inline constexpr int TilesDatabaseName = 144;
inline constexpr int InteriorsDatabaseName = 145;
inline constexpr int CabinetsDatabaseName = 146;
inline constexpr int AppliancesDatabaseName = 147;
inline constexpr int WallsDatabaseName = 148;
inline constexpr int MaterialsDatabaseName = 149;
inline constexpr int OtherDatabaseName = 150;
inline constexpr int InstallingDatabase = 152;
inline constexpr int Yes = 153;
inline constexpr int No = 154;
inline constexpr int Ok = 155;
inline constexpr int TitleOneDatabase = 207;
inline constexpr int TitleSeveralDatabases = 208;
inline constexpr int TilesLine = 209;
inline constexpr int InteriorsLine = 210;
inline constexpr int CabinetsLine = 211;
inline constexpr int AppliancesLine = 212;
inline constexpr int WallsLine = 213;
inline constexpr int MaterialsLine = 214;
inline constexpr int WelcomeSeveralHead = 215;
inline constexpr int TilesGreeting = 216;
inline constexpr int InteriorsGreeting = 217;
inline constexpr int CabinetsGreeting = 218;
inline constexpr int AppliancesGreeting = 219;
inline constexpr int WallsGreeting = 220;
inline constexpr int MaterialsGreeting = 221;
inline constexpr int WelcomeSeveralFoot = 222;
inline constexpr int CloseProgramsWarning = 223;
inline constexpr int NoDatabases = 224;
inline constexpr int OtherDatabases = 225;
inline constexpr int Install = 226;
inline constexpr int MainProgramChoice = 227;
inline constexpr int OtherProgramChoice = 228;
inline constexpr int ProgramTreeItem = 229;
inline constexpr int ManualChoice = 230;
inline constexpr int ManualFolderWarning = 231;
inline constexpr int ManualFolderWarningNewFormat = 232;
inline constexpr int BrowseCaptionOneDatabase = 233;
inline constexpr int BrowseCaptionSeveralDatabases = 234;
inline constexpr int PathPlaceholder = 235;
inline constexpr int VerifyTitle = 236;
inline constexpr int VerifyHeaderOne = 237;
inline constexpr int VerifyHeaderSeveral = 238;
inline constexpr int VerifyDates = 239;
inline constexpr int VerifyFootOne = 240;
inline constexpr int VerifyFootSeveral = 241;
inline constexpr int ExitQuestion = 242;
inline constexpr int WelcomeTitle = 243;
inline constexpr int CopyingArchive = 244;
inline constexpr int FinalTitleSeveralDatabases = 245;
inline constexpr int InstallProgressTitle = 246;
inline constexpr int WelcomeOneFoot = 247;
inline constexpr int FinalTitleOneDatabase = 248;
inline constexpr int NamedWallsGreeting = 249;
inline constexpr int NamedMaterialsGreeting = 250;
inline constexpr int NamedWallsLine = 251;
inline constexpr int NamedMaterialsLine = 252;

}  // namespace TextKey

// Every key above, for the checks of the translation table.
inline constexpr std::array kTextKeysRead = {TextKey::LanguageProbe,
                                             TextKey::ProductOrvane,
                                             TextKey::ProductOrvaneSelka,
                                             TextKey::ProductOrvaneDemo,
                                             TextKey::ProductKestrio,
                                             TextKey::ProductOrvanePro,
                                             TextKey::ProductOrvaneProDemo,
                                             TextKey::DatabasesNotInstalled,
                                             TextKey::ReasonInUse,
                                             TextKey::ReasonNoSpace,
                                             TextKey::ReasonWriteProtected,
                                             TextKey::ReasonDamagedArchive,
                                             TextKey::ReasonWrongPassword,
                                             TextKey::RequiredDiskSpace,
                                             TextKey::AvailableDiskSpace,
                                             TextKey::NotEnoughDiskSpace,
                                             TextKey::InstallationNotCompleted,
                                             TextKey::QuestionCaption,
                                             TextKey::NoticeCaption,
                                             TextKey::Cancel,
                                             TextKey::Next,
                                             TextKey::NewFolder,
                                             TextKey::Finish,
                                             TextKey::CannotCreateFolder,
                                             TextKey::ChoosePathTitle,
                                             TextKey::Browse,
                                             TextKey::InstallationCompleted,
                                             TextKey::FreeDiskSpace,
                                             TextKey::DriveMegabytes,
                                             TextKey::TilesDatabaseName,
                                             TextKey::InteriorsDatabaseName,
                                             TextKey::CabinetsDatabaseName,
                                             TextKey::AppliancesDatabaseName,
                                             TextKey::WallsDatabaseName,
                                             TextKey::MaterialsDatabaseName,
                                             TextKey::OtherDatabaseName,
                                             TextKey::InstallingDatabase,
                                             TextKey::Yes,
                                             TextKey::No,
                                             TextKey::Ok,
                                             TextKey::TitleOneDatabase,
                                             TextKey::TitleSeveralDatabases,
                                             TextKey::TilesLine,
                                             TextKey::InteriorsLine,
                                             TextKey::CabinetsLine,
                                             TextKey::AppliancesLine,
                                             TextKey::WallsLine,
                                             TextKey::MaterialsLine,
                                             TextKey::WelcomeSeveralHead,
                                             TextKey::TilesGreeting,
                                             TextKey::InteriorsGreeting,
                                             TextKey::CabinetsGreeting,
                                             TextKey::AppliancesGreeting,
                                             TextKey::WallsGreeting,
                                             TextKey::MaterialsGreeting,
                                             TextKey::WelcomeSeveralFoot,
                                             TextKey::CloseProgramsWarning,
                                             TextKey::NoDatabases,
                                             TextKey::OtherDatabases,
                                             TextKey::Install,
                                             TextKey::MainProgramChoice,
                                             TextKey::OtherProgramChoice,
                                             TextKey::ProgramTreeItem,
                                             TextKey::ManualChoice,
                                             TextKey::ManualFolderWarning,
                                             TextKey::ManualFolderWarningNewFormat,
                                             TextKey::BrowseCaptionOneDatabase,
                                             TextKey::BrowseCaptionSeveralDatabases,
                                             TextKey::PathPlaceholder,
                                             TextKey::VerifyTitle,
                                             TextKey::VerifyHeaderOne,
                                             TextKey::VerifyHeaderSeveral,
                                             TextKey::VerifyDates,
                                             TextKey::VerifyFootOne,
                                             TextKey::VerifyFootSeveral,
                                             TextKey::ExitQuestion,
                                             TextKey::WelcomeTitle,
                                             TextKey::CopyingArchive,
                                             TextKey::FinalTitleSeveralDatabases,
                                             TextKey::InstallProgressTitle,
                                             TextKey::WelcomeOneFoot,
                                             TextKey::FinalTitleOneDatabase,
                                             TextKey::NamedWallsGreeting,
                                             TextKey::NamedMaterialsGreeting,
                                             TextKey::NamedWallsLine,
                                             TextKey::NamedMaterialsLine};

}  // namespace dbinst
