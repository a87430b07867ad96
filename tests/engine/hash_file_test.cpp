#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/hash_file.h"
#include "support/scratch_folder.h"
#include "support/wide_path.h"
#include "win/handle.h"

namespace {

class RecordingPanel final : public TextPanel {
 public:
  void SetText(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

class FakePump final : public MessagePump {
 public:
  void ProcessMessages() override {
    ++calls;
    if (onPump) onPump(calls);
  }
  int calls = 0;
  std::function<void(int call)> onPump;
};

struct Result {
  bool ok;
  std::string hash;
  std::int64_t size;
};

Result Hash(THashType kind, const std::string& path, MessagePump* pump = nullptr, TextPanel* panel = nullptr) {
  Result result{false, "untouched", -1};
  result.ok = HashFile(kind, path, result.hash, result.size, pump, panel);
  return result;
}

class HashFileTest : public testing::Test {
 protected:
  void SetUp() override { CancelFlag = false; }
  void TearDown() override { CancelFlag = false; }

  void ExpectFailure(const Result& result) {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.hash, "");
    EXPECT_EQ(result.size, 0);
  }

  ScratchFolder folder_;
};

// Checksums of the repeating 0..250 pattern, computed outside the program (Python's zlib.crc32
// and hashlib.md5, and a bitwise CRC-16/MCRF4XX).
struct KnownFile {
  std::size_t length;
  const char* crc16;
  const char* crc32;
  const char* md5;
};
const KnownFile kKnownFiles[] = {
    {0, "FFFF", "00000000", "D41D8CD98F00B204E9800998ECF8427E"},
    {65535, "FDE7", "CF371872", "89378BE93D51BBD3A9AA65E920103692"},
    {65536, "0F85", "7FAA50D3", "9CC60713923528A1DD94E1C1AB0EBC9E"},
    {65537, "5EEA", "A9CC6E73", "4C2641C7FE5C93D3AED7C406629FF0AB"},
    {131072, "D8A1", "73EDB138", "D02199A197FB4B1777525FE375F9F5F1"},
};

TEST_F(HashFileTest, KnownChecksumsAcrossBlockBoundaries) {
  for (const auto& known : kKnownFiles) {
    const std::string path = folder_.AddFile(std::to_string(known.length) + ".bin", PatternBytes(known.length));
    const std::pair<THashType, const char*> kinds[] = {
        {THashType::CRC16, known.crc16}, {THashType::CRC32, known.crc32}, {THashType::MD5, known.md5}};
    for (const auto& [kind, expected] : kinds) {
      const Result result = Hash(kind, path);
      EXPECT_TRUE(result.ok) << known.length;
      EXPECT_EQ(result.hash, expected) << known.length << " kind " << static_cast<int>(kind);
      EXPECT_EQ(result.size, static_cast<std::int64_t>(known.length));
    }
  }
}

TEST_F(HashFileTest, CheckString) {
  const std::string path = folder_.AddFile("check.txt", "123456789");
  EXPECT_EQ(Hash(THashType::CRC16, path).hash, "6F91");
  EXPECT_EQ(Hash(THashType::CRC32, path).hash, "CBF43926");
  EXPECT_EQ(Hash(THashType::MD5, path).hash, "25F9E794323B453885F5181F1B624D0B");
}

TEST_F(HashFileTest, ProgressAfterEveryBlockIncludingTheFinalEmptyRead) {
  struct Case {
    std::size_t length;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {0, {"f.bin (0/0)"}},
      {65535, {"f.bin (65535/65535)"}},
      {65536, {"f.bin (65536/65536)", "f.bin (65536/65536)"}},
      {65537, {"f.bin (65536/65537)", "f.bin (65537/65537)"}},
      {131072, {"f.bin (65536/131072)", "f.bin (131072/131072)", "f.bin (131072/131072)"}},
  };
  for (const auto& c : cases) {
    const std::string path = folder_.AddFile("f.bin", PatternBytes(c.length));
    RecordingPanel panel;
    FakePump pump;
    EXPECT_TRUE(Hash(THashType::CRC32, path, &pump, &panel).ok);
    EXPECT_EQ(panel.texts, c.texts) << c.length;
    EXPECT_EQ(pump.calls, static_cast<int>(c.texts.size())) << c.length;
  }
}

TEST_F(HashFileTest, NameInProgressIsTakenLiterally) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"100% %s %d {0}.txt", "100% %s %d {0}.txt (9/9)"},
      {"\xE8\xA1\xA8.txt", "\xE8\xA1\xA8.txt (9/9)"},  // 表.txt, trail byte 0x5C
      {"\xE3\x82\xBD", "\xE3\x82\xBD (9/9)"},          // ソ, trail byte 0x5C
  };
  for (const auto& c : cases) {
    const std::string path = folder_.AddFile(c.name, "123456789");
    RecordingPanel panel;
    const Result result = Hash(THashType::CRC32, path, nullptr, &panel);
    EXPECT_TRUE(result.ok) << c.name;
    EXPECT_EQ(result.hash, "CBF43926") << c.name;
    EXPECT_EQ(panel.texts, std::vector<std::string>{c.text});
  }
}

TEST_F(HashFileTest, CancelOnEntryReadsNothing) {
  const std::string path = folder_.AddFile("a.bin", PatternBytes(100));
  CancelFlag = true;
  RecordingPanel panel;
  FakePump pump;
  ExpectFailure(Hash(THashType::MD5, path, &pump, &panel));
  EXPECT_TRUE(panel.texts.empty());
  EXPECT_EQ(pump.calls, 0);
}

TEST_F(HashFileTest, CancelWhileMessagesRunStopsBeforeTheNextBlock) {
  const std::string path = folder_.AddFile("big.bin", PatternBytes(131072));
  RecordingPanel panel;
  FakePump pump;
  pump.onPump = [](int) { CancelFlag = true; };
  ExpectFailure(Hash(THashType::CRC16, path, &pump, &panel));
  EXPECT_EQ(panel.texts, std::vector<std::string>{"big.bin (65536/131072)"});
  EXPECT_EQ(pump.calls, 1);
}

TEST_F(HashFileTest, CancelAfterTheLastBlockStillCompletes) {
  const std::string path = folder_.AddFile("small.bin", PatternBytes(65535));
  FakePump pump;
  pump.onPump = [](int) { CancelFlag = true; };
  const Result result = Hash(THashType::CRC16, path, &pump);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.hash, "FDE7");
}

TEST_F(HashFileTest, NestedCallFromTheMessagePumpKeepsItsOwnState) {
  const std::string outer = folder_.AddFile("outer.bin", PatternBytes(131072));
  const std::string inner = folder_.AddFile("inner.txt", "123456789");
  Result innerResult{};
  FakePump pump;
  pump.onPump = [&](int call) {
    if (call == 1) innerResult = Hash(THashType::MD5, inner);
  };
  const Result outerResult = Hash(THashType::MD5, outer, &pump);
  EXPECT_TRUE(innerResult.ok);
  EXPECT_EQ(innerResult.hash, "25F9E794323B453885F5181F1B624D0B");
  EXPECT_TRUE(outerResult.ok);
  EXPECT_EQ(outerResult.hash, "D02199A197FB4B1777525FE375F9F5F1");
}

TEST_F(HashFileTest, UnopenableFilesFail) {
  const std::string folderPath = folder_.AddFolder("sub");
  ExpectFailure(Hash(THashType::CRC32, folderPath));
  ExpectFailure(Hash(THashType::CRC32, folderPath + "\\"));
  ExpectFailure(Hash(THashType::CRC32, folder_.Path() + "missing.txt"));
  ExpectFailure(Hash(THashType::CRC32, ""));
}

TEST_F(HashFileTest, SharingDecidesWhetherAnOpenFileCanBeRead) {
  const std::string path = folder_.AddFile("held.bin", "123456789");
  struct Case {
    DWORD access;
    DWORD share;
    bool readable;
  };
  const Case cases[] = {
      {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},  // someone is writing it
      {GENERIC_READ, 0, false},                                    // someone allows no reading
      {GENERIC_READ, FILE_SHARE_READ, true},                       // another reader
  };
  for (const auto& c : cases) {
    const win::KernelHandle other(CreateFileW(W(path).c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    const Result result = Hash(THashType::CRC32, path);
    EXPECT_EQ(result.ok, c.readable) << c.access << " " << c.share;
    EXPECT_EQ(result.hash, c.readable ? "CBF43926" : "");
  }
}

// A region locked by another handle makes the second block's read fail: the call fails instead
// of passing off the first block's checksum as the file's.
TEST_F(HashFileTest, ReadErrorPartWayFails) {
  const std::string path = folder_.AddFile("locked.bin", PatternBytes(131072));
  const win::KernelHandle other(
      CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(other);
  ASSERT_TRUE(LockFile(other.get(), 65536, 0, 100, 0));
  {
    const win::KernelHandle probe(
        CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char byte;
    DWORD read = 0;
    SetFilePointer(probe.get(), 65536, nullptr, FILE_BEGIN);
    if (ReadFile(probe.get(), &byte, 1, &read, nullptr)) {
      UnlockFile(other.get(), 65536, 0, 100, 0);
      GTEST_SKIP() << "byte-range locks do not stop reads on this system";
    }
  }
  RecordingPanel panel;
  ExpectFailure(Hash(THashType::CRC32, path, nullptr, &panel));
  EXPECT_EQ(panel.texts, std::vector<std::string>{"locked.bin (65536/131072)"});
  UnlockFile(other.get(), 65536, 0, 100, 0);
}

// Wine shows the Unix root as drive Z:. Its /proc files report a size of 0 when opened: one
// cannot be read at all, the other yields more bytes than that size. Neither has a checksum
// that a list could pair with its size.
TEST_F(HashFileTest, UnreadableOrChangingFilesFail) {
  const char* const paths[] = {"Z:\\proc\\self\\mem", "Z:\\proc\\self\\status"};
  for (const char* path : paths) {
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << path << " is not on this system";
    ExpectFailure(Hash(THashType::CRC32, path));
  }
}

TEST_F(HashFileTest, KindsWithoutAChecksumFail) {
  const std::string path = folder_.AddFile("a.txt", "123456789");
  ExpectFailure(Hash(THashType::None, path));
  ExpectFailure(Hash(static_cast<THashType>(7), path));
}

}  // namespace
