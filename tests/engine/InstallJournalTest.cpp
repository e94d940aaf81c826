#include "engine/InstallJournal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "tests/support/SevenZipArchives.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

const TInstallJournal kJournal{"Płytki Opoczno",
                               "C:\\Program Files\\Orvane 2\\Plytki\\",
                               ETransactionPhase::Swapping,
                               {"C:\\Program Files\\Orvane 2\\Plytki\\Opoczno\\"},
                               {"Opoczno.ini", "Opoczno\\a b.jpg"}};

TEST(InstallJournalTest, ATextReadsBackAsTheJournalItWasWrittenFrom) {
  EXPECT_EQ(ParseJournal(JournalText(kJournal)), kJournal);
  TInstallJournal committed = kJournal;
  committed.Phase = ETransactionPhase::Committed;
  committed.Files.clear();
  EXPECT_EQ(ParseJournal(JournalText(committed)), committed);
}

TEST(InstallJournalTest, AnyCutOrForeignTextIsNoJournal) {
  const std::string text = JournalText(kJournal);
  // Without its last line a journal was cut short, wherever the cut fell.
  for (size_t keep = 0; keep + 1 < text.size(); ++keep) {
    EXPECT_FALSE(ParseJournal(text.substr(0, keep)).has_value()) << keep;
  }
  std::string unknownPhase = text;
  unknownPhase.replace(unknownPhase.find("swapping"), 8, "dreaming");
  EXPECT_FALSE(ParseJournal(unknownPhase).has_value());
  std::string unknownTag = text;
  unknownTag.replace(unknownTag.find("file "), 4, "data");
  EXPECT_FALSE(ParseJournal(unknownTag).has_value());
}

TEST(InstallJournalTest, WritingReplacesTheJournalWholeAndLeavesNoTemporaryFile) {
  test::TempPrefix prefix;
  auto machine = prefix.OpenMachine();
  FileSystem& files = machine->files();
  ASSERT_TRUE(files.CreateFolders("C:\\work"));
  ASSERT_TRUE(WriteJournal(files, "C:\\work\\journal.txt", kJournal));
  TInstallJournal later = kJournal;
  later.Phase = ETransactionPhase::Committed;
  ASSERT_TRUE(WriteJournal(files, "C:\\work\\journal.txt", later));
  bool damaged = true;
  EXPECT_EQ(ReadJournal(files, "C:\\work\\journal.txt", damaged), later);
  EXPECT_FALSE(damaged);
  EXPECT_FALSE(files.FileExists("C:\\work\\journal.txt.new"));
  EXPECT_FALSE(ReadJournal(files, "C:\\work\\none.txt", damaged).has_value());
  EXPECT_FALSE(damaged);
  EXPECT_FALSE(WriteJournal(files, "C:\\no such folder\\journal.txt", kJournal));
}

}  // namespace
}  // namespace dbinst
