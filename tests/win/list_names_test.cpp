#include "win/list_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using win::CheckListName;
using win::ListNameReach;

struct Case {
  const char* name;
  ListNameReach reach;
};

void ExpectAll(const std::string& listFolder, const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(CheckListName(listFolder, c.name), c.reach) << listFolder << " | " << c.name;
}

TEST(CheckListName, ListOnALocalDrive) {
  ExpectAll("C:\\data\\",
            {
                {"a.txt", ListNameReach::Allowed},
                {"sub\\a.txt", ListNameReach::Allowed},
                {"sub/a.txt", ListNameReach::Allowed},
                {"..\\x\\a.txt", ListNameReach::Allowed},  // local: allowed, though never listed as unlisted
                {"D:\\other\\a.txt", ListNameReach::Allowed},
                {"\\root.txt", ListNameReach::Allowed},
                {"\\\\host\\share\\x", ListNameReach::Network},
                {"//host/share/x", ListNameReach::Network},
                {"\\/host\\share\\x", ListNameReach::Network},
                {"\\\\host", ListNameReach::Network},
                {"\\\\\\host\\share\\x", ListNameReach::Network},  // no server at all
                {"\\\\?\\UNC\\host\\share\\y", ListNameReach::Network},
                {"\\\\?\\unc\\host\\share\\y", ListNameReach::Network},
                {"//?/UNC/host/share/y", ListNameReach::Network},
                {"\\\\.\\pipe\\x", ListNameReach::BadName},
                {"//./pipe/x", ListNameReach::BadName},
                {"\\\\.\\PhysicalDrive0", ListNameReach::BadName},
                {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x", ListNameReach::BadName},
                {"\\\\?\\C:\\data\\a.txt", ListNameReach::BadName},
                {"\\??\\C:\\data\\a.txt", ListNameReach::BadName},
                {"/?\?/C:/data/a.txt", ListNameReach::BadName},  // "??/" would be a trigraph
                {"*.txt", ListNameReach::BadName},
                {"a?.txt", ListNameReach::BadName},
                {"a.txt:secret", ListNameReach::BadName},
                {"a.txt::$DATA", ListNameReach::BadName},
                {"CON", ListNameReach::BadName},
                {"sub\\com1.txt", ListNameReach::BadName},
                {"a\tb.txt", ListNameReach::BadName},
                {"\xFF.txt", ListNameReach::BadName},  // a byte that was no character
                {"", ListNameReach::BadName},
            });
}

TEST(CheckListName, ListOnAShareReachesOnlyThatShare) {
  for (const std::string folder : {"\\\\srv\\share\\dir\\", "\\\\?\\UNC\\srv\\share\\dir\\", "//srv/share/dir/"}) {
    ExpectAll(folder, {
                          {"a.txt", ListNameReach::Allowed},
                          {"sub\\a.txt", ListNameReach::Allowed},
                          {"..\\a.txt", ListNameReach::Allowed},
                          {"\\\\srv\\share\\other\\a.txt", ListNameReach::Allowed},
                          {"\\\\SRV\\Share\\a.txt", ListNameReach::Allowed},  // names compare ignoring case
                          {"//srv/share/a.txt", ListNameReach::Allowed},
                          {"\\\\srv\\share\\..\\..\\a.txt", ListNameReach::Allowed},  // ".." stops at the share
                          {"C:\\local.txt", ListNameReach::Allowed},
                          {"\\\\srv\\other\\a.txt", ListNameReach::Network},
                          {"\\\\srv2\\share\\a.txt", ListNameReach::Network},
                          {"\\\\srv\\sharex\\a.txt", ListNameReach::Network},
                          {"\\\\?\\UNC\\srv\\share\\a.txt", ListNameReach::Network},  // every "\\?\" form
                          {"\\\\.\\pipe\\srv", ListNameReach::BadName},
                          {"a.txt:s", ListNameReach::BadName},
                      });
  }
}

}  // namespace
