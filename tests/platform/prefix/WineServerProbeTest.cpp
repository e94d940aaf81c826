#include "platform/prefix/WineServerProbe.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tests/platform/prefix/ScratchFolder.h"
#include "tests/platform/prefix/SocketFile.h"

namespace dbinst {
namespace {

std::string WineServerFolder(const std::string& prefix) {
  struct stat info {};
  ::stat(prefix.c_str(), &info);
  char name[96];
  std::snprintf(name, sizeof name, "/tmp/.wine-%u/server-%llx-%llx", ::getuid(),
                static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  return name;
}

TEST(WineServerProbe, FindsNoServerForAFreshPrefix) {
  test::ScratchFolder prefix;
  EXPECT_FALSE(IsWineServerRunning(prefix.Path()));
  EXPECT_FALSE(IsWineServerRunning(prefix / "missing"));
}

TEST(WineServerProbe, FindsTheSocketWhereWinePutsIt) {
  test::ScratchFolder prefix;
  const std::string folder = WineServerFolder(prefix.Path());
  std::filesystem::create_directories(folder);
  std::filesystem::permissions(std::filesystem::path(folder).parent_path(),
                               std::filesystem::perms::owner_all);
  {
    test::SocketFile socket(folder + "/socket");
    ASSERT_TRUE(socket.Bound());
    EXPECT_TRUE(IsWineServerRunning(prefix.Path()));
  }
  EXPECT_FALSE(IsWineServerRunning(prefix.Path()));
  std::filesystem::remove_all(folder);
}

TEST(WineServerProbe, FollowsAWineserverEntryNamingAFolderUnderTmp) {
  test::ScratchFolder prefix;
  test::ScratchFolder server;
  ASSERT_EQ(server.Path().rfind("/tmp/", 0), 0u) << "the temporary folder is not /tmp";
  test::SocketFile socket(server / "socket");
  ASSERT_TRUE(socket.Bound());
  test::WriteFile(prefix / "wineserver", server.Path() + "\n");
  EXPECT_TRUE(IsWineServerRunning(prefix.Path()));

  std::filesystem::remove(prefix / "wineserver");
  std::filesystem::create_symlink(server.Path(), prefix / "wineserver");
  EXPECT_TRUE(IsWineServerRunning(prefix.Path()));

  // A name outside /tmp is not Wine's and is not trusted.
  std::filesystem::create_directory(prefix / "srv");
  test::SocketFile elsewhere(prefix / "srv/socket");
  ASSERT_TRUE(elsewhere.Bound());
  std::filesystem::remove(prefix / "wineserver");
  test::WriteFile(prefix / "wineserver", "srv\n");
  EXPECT_FALSE(IsWineServerRunning(prefix.Path()));
}

}  // namespace
}  // namespace dbinst
