#include <gtest/gtest.h>

#include <functional>
#include <stop_token>
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

Result Hash(THashType kind, const std::string& path, MessagePump* pump = nullptr, TextPanel* panel = nullptr,
            std::size_t digestBytes = 0, const std::stop_token& cancel = {}) {
  Result result{false, "untouched", -1};
  result.ok = HashFile(kind, path, result.hash, result.size, pump, panel, digestBytes, cancel);
  return result;
}

// The same on a worker, which reads a big file ahead on a thread of its own.
Result HashInWorker(THashType kind, const std::string& path, std::size_t digestBytes = 0,
                    const std::stop_token& cancel = {}) {
  Result result{false, "untouched", -1};
  result.ok =
      HashFileInWorker(kind, path, result.hash, result.size, nullptr, digestBytes, cancel) == THashFailure::None;
  return result;
}

class HashFileTest : public testing::Test {
 protected:
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

// The digest kinds that only verify, from sha224sum, sha384sum, b2sum and b2sum -l 256 over the
// same pattern: an empty file, one a byte past a block, and one past the size from which a worker
// reads ahead.
struct KnownDigestFile {
  std::size_t length;
  const char* sha224;
  const char* sha384;
  const char* blake2b;
  const char* blake2b256;
};
const KnownDigestFile kKnownDigestFiles[] = {
    {0, "D14A028C2A3A2BC9476102BB288234C415A2B01F828EA62AC5B3E42F",
     "38B060A751AC96384CD9327EB1B1E36A21FDB71114BE07434C0CC7BF63F6E1DA274EDEBFE76F65FBD51AD2F14898B95B",
     "786A02F742015903C6C6FD852552D272912F4740E15847618A86E217F71F5419"
     "D25E1031AFEE585313896444934EB04B903A685B1448B755D56F701AFE9BE2CE",
     "0E5751C026E543B2E8AB2EB06099DAA1D1E5DF47778F7787FAAB45CDF12FE3A8"},
    {65537, "E20733058AC5D107F3CECCB6B832C01042BA63E2F5FE390D93A44C8B",
     "CBAA7B728FA53F652E3B5C9D087A41BCFAA2157DFF043FEF980C3A4DC9AE08D7BE60B919B564423A3E1D285D9691B093",
     "17E60F0B76A810A5F7213FA8936FAE7880289A4750651BD768F8DBAA3C8D6D44"
     "671F7C6FEB32FF90E03B296134A1E6B762219532635FFA3ECB5FD4F60149810C",
     "E170EE533727839DE3E73BEAED478E5154DC3CF1697BFA6FA0A1A94A593184E5"},
    {(16u << 20) + 5, "C4C1D3EF4F803511025FE6B54E3C4FB79F6EF56D3F549BAEF51FBB11",
     "49E856CAA1DDF65141EA259ADD5383B8D82947F2F98ADAE1CBA1891FC970B6FF8357FB1F89A3BED6C4C34A9E37C8D8D5",
     "68C3C7E97262B4DA24917A7268339A78F4465ABAECAE3D5ED837E017BFF69A6A"
     "959FBEDBEB39D1FEAFE46CB526BADDCEBAA6282EB2D135146EEB22436B241A3C",
     "161979ACF5A9FF86C72DC0468484E666D20D23AFBCB518902E13279766A4E6D1"},
};

TEST_F(HashFileTest, VerifyingDigestKindsOnTheWindowThreadAndOnAWorker) {
  for (const auto& known : kKnownDigestFiles) {
    const std::string path = folder_.AddFile(std::to_string(known.length) + ".bin", PatternBytes(known.length));
    struct Kind {
      THashType kind;
      std::size_t digestBytes;
      const char* expected;
    };
    const Kind kinds[] = {{THashType::SHA224, 0, known.sha224},    {THashType::SHA224, 28, known.sha224},
                          {THashType::SHA384, 0, known.sha384},    {THashType::BLAKE2b, 0, known.blake2b},
                          {THashType::BLAKE2b, 64, known.blake2b}, {THashType::BLAKE2b, 32, known.blake2b256}};
    for (const Kind& k : kinds) {
      const std::string label = std::to_string(known.length) + " kind " + std::to_string(static_cast<int>(k.kind)) +
                                "/" + std::to_string(k.digestBytes);
      for (const Result& result :
           {Hash(k.kind, path, nullptr, nullptr, k.digestBytes), HashInWorker(k.kind, path, k.digestBytes)}) {
        EXPECT_TRUE(result.ok) << label;
        EXPECT_EQ(result.hash, k.expected) << label;
        EXPECT_EQ(result.size, static_cast<std::int64_t>(known.length)) << label;
      }
    }
  }
}

// BLAKE3 digests from b3sum over the same pattern: small files, and big ones that a worker hashes
// as whole subtrees on several threads joined at the root (from 16 MiB on), the last subtree whole
// or cut short.
struct KnownBlake3File {
  std::size_t length;
  const char* blake3;
};
const KnownBlake3File kKnownBlake3Files[] = {
    {0, "AF1349B9F5F9A1A6A0404DEA36DCC9499BCB25C9ADC112B7CC9A93CAE41F3262"},
    {65537, "7C99F9840A73DFCB6E5BFE4FF6D1558ACAB7E015640790C26411818BDBE17ECA"},
    {(16u << 20) - 1, "397E524EBB0625E4322C06508780AB35DB716B71641148327B61DC57396E035C"},
    {16u << 20, "869B1292C8BED5BDB2E0075E0C50CCF8B24B33A0F81071C86206BD8FDB269579"},
    {(16u << 20) + 5, "CA11D0CBD28D5D805DAF31279F0DECA8872C26EC96F435EF8E75B6BC52F39CD5"},
    {(33u << 20) + 1025, "B6752C5E3ADD6D2DB2DDEB8DF11B8A71550F5AB2D05F6E85B8CF1EAB06FBEC5A"},
};

TEST_F(HashFileTest, Blake3OnTheWindowThreadAndInSubtreesOnAWorker) {
  for (const auto& known : kKnownBlake3Files) {
    const std::string path = folder_.AddFile(std::to_string(known.length) + ".bin", PatternBytes(known.length));
    for (const Result& result : {Hash(THashType::BLAKE3, path), HashInWorker(THashType::BLAKE3, path)}) {
      EXPECT_TRUE(result.ok) << known.length;
      EXPECT_EQ(result.hash, known.blake3) << known.length;
      EXPECT_EQ(result.size, static_cast<std::int64_t>(known.length)) << known.length;
    }
  }
}

TEST_F(HashFileTest, ABigBlake3FileInAWorkerStopsForItsCancel) {
  const std::string path = folder_.AddFile("big.bin", PatternBytes(17u << 20));
  std::stop_source cancel;
  cancel.request_stop();
  ExpectFailure(HashInWorker(THashType::BLAKE3, path, 0, cancel.get_token()));
}

// A digest length is the kind's own, or for BLAKE2b any from 1 to 64 bytes.
TEST_F(HashFileTest, DigestLengthsOfTheKind) {
  const std::string path = folder_.AddFile("abc.txt", "abc");
  struct Case {
    THashType kind;
    std::size_t digestBytes;
    const char* expected;  // null: refused
  };
  const Case cases[] = {
      {THashType::BLAKE2b, 1, "6B"},
      {THashType::BLAKE2b, 65, nullptr},
      {THashType::SHA256, 32, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
      {THashType::SHA256, 20, nullptr},
      {THashType::SHA384, 32, nullptr},
      {THashType::MD5, 16, "900150983CD24FB0D6963F7D28E17F72"},
      {THashType::CRC32, 4, nullptr},
      {THashType::CRC32, 0, "352441C2"},
  };
  for (const Case& c : cases) {
    const Result result = Hash(c.kind, path, nullptr, nullptr, c.digestBytes);
    const std::string label = std::to_string(static_cast<int>(c.kind)) + "/" + std::to_string(c.digestBytes);
    if (c.expected == nullptr) {
      ExpectFailure(result);
      ExpectFailure(HashInWorker(c.kind, path, c.digestBytes));
    } else {
      EXPECT_EQ(result.hash, c.expected) << label;
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
  std::stop_source cancel;
  cancel.request_stop();
  RecordingPanel panel;
  FakePump pump;
  ExpectFailure(Hash(THashType::MD5, path, &pump, &panel, 0, cancel.get_token()));
  EXPECT_TRUE(panel.texts.empty());
  EXPECT_EQ(pump.calls, 0);
}

TEST_F(HashFileTest, CancelWhileMessagesRunStopsBeforeTheNextBlock) {
  const std::string path = folder_.AddFile("big.bin", PatternBytes(131072));
  RecordingPanel panel;
  FakePump pump;
  std::stop_source cancel;
  pump.onPump = [&cancel](int) { cancel.request_stop(); };
  ExpectFailure(Hash(THashType::CRC16, path, &pump, &panel, 0, cancel.get_token()));
  EXPECT_EQ(panel.texts, std::vector<std::string>{"big.bin (65536/131072)"});
  EXPECT_EQ(pump.calls, 1);
}

TEST_F(HashFileTest, CancelAfterTheLastBlockStillCompletes) {
  const std::string path = folder_.AddFile("small.bin", PatternBytes(65535));
  FakePump pump;
  std::stop_source cancel;
  pump.onPump = [&cancel](int) { cancel.request_stop(); };
  const Result result = Hash(THashType::CRC16, path, &pump, nullptr, 0, cancel.get_token());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.hash, "FDE7");
}

// A worker's big file stops for its run's cancel on each of its paths: blocks read ahead (a
// digest) and two halves on two threads (a CRC); another run's cancel does not touch it.
TEST_F(HashFileTest, ABigFileInAWorkerStopsForItsOwnRunsCancel) {
  const std::string path = folder_.AddFile("big.bin", PatternBytes(17u << 20));
  std::stop_source cancelled;
  cancelled.request_stop();
  const std::stop_source other;
  for (const THashType kind : {THashType::SHA256, THashType::CRC32, THashType::CRC16}) {
    SCOPED_TRACE(static_cast<int>(kind));
    ExpectFailure(HashInWorker(kind, path, 0, cancelled.get_token()));
    const Result result = HashInWorker(kind, path, 0, other.get_token());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.hash, Hash(kind, path).hash);
  }
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
  ExpectFailure(Hash(static_cast<THashType>(11), path));
}

}  // namespace
