#include "core/sha.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/cpu_features.h"
#include "core/hex.h"

namespace {

template <typename TContext, typename TDigest>
struct TShaFunctions {
  void (*InitChosen)(TContext&);
  void (*Init)(TContext&, typename TContext::TBlocksFn);
  void (*Update)(TContext&, const void*, std::size_t);
  void (*Final)(TContext&, TDigest&);
};

constexpr TShaFunctions<TSha1Context, TSha1Digest> kSha1{Sha1Init, Sha1Init, Sha1Update, Sha1Final};
constexpr TShaFunctions<TSha256Context, TSha256Digest> kSha256{Sha256Init, Sha256Init, Sha256Update, Sha256Final};
constexpr TShaFunctions<TSha512Context, TSha512Digest> kSha512{Sha512Init, Sha512Init, Sha512Update, Sha512Final};
constexpr TShaFunctions<TSha256Context, TSha224Digest> kSha224{Sha224Init, Sha224Init, Sha256Update, Sha224Final};
constexpr TShaFunctions<TSha512Context, TSha384Digest> kSha384{Sha384Init, Sha384Init, Sha512Update, Sha384Final};

using TPieces = std::vector<std::string_view>;

// One hash through one compression path: the message, fed piece by piece, to upper-case hex.
struct TShaPath {
  std::string Name;
  std::function<std::string(const TPieces&)> Hex;
};

// A null `blocks` stands for the production path: Init without a path.
template <typename TContext, typename TDigest>
TShaPath Path(std::string name, TShaFunctions<TContext, TDigest> functions, typename TContext::TBlocksFn blocks) {
  return {std::move(name), [functions, blocks](const TPieces& pieces) {
            TContext context;
            if (blocks)
              functions.Init(context, blocks);
            else
              functions.InitChosen(context);
            for (const auto piece : pieces) functions.Update(context, piece.data(), piece.size());
            TDigest digest;
            functions.Final(context, digest);
            return HexUpperBytes(digest.data(), digest.size());
          }};
}

// The portable, the SIMD (only where this processor runs it) and the production path of each hash.
TShaPath PortablePath(std::string_view hash) {
  if (hash == "sha1") return Path("sha1 portable", kSha1, Sha1BlocksPortable);
  if (hash == "sha256") return Path("sha256 portable", kSha256, Sha256BlocksPortable);
  if (hash == "sha224") return Path("sha224 portable", kSha224, Sha256BlocksPortable);
  if (hash == "sha384") return Path("sha384 portable", kSha384, Sha512BlocksPortable);
  return Path("sha512 portable", kSha512, Sha512BlocksPortable);
}

std::optional<TShaPath> SimdPath(std::string_view hash) {
#if defined(__x86_64__)
  const TCpuFeatures& cpu = CpuFeatures();
  if (hash == "sha1" && cpu.Sha) return Path("sha1 shani", kSha1, Sha1BlocksShaNi);
  if (hash == "sha256" && cpu.Sha) return Path("sha256 shani", kSha256, Sha256BlocksShaNi);
  if (hash == "sha512" && cpu.Avx2 && cpu.Bmi2) return Path("sha512 avx2", kSha512, Sha512BlocksAvx2);
  if (hash == "sha224" && cpu.Sha) return Path("sha224 shani", kSha224, Sha256BlocksShaNi);
  if (hash == "sha384" && cpu.Avx2 && cpu.Bmi2) return Path("sha384 avx2", kSha384, Sha512BlocksAvx2);
#endif
  return std::nullopt;
}

TShaPath ProductionPath(std::string_view hash) {
  if (hash == "sha1") return Path("sha1 production", kSha1, nullptr);
  if (hash == "sha256") return Path("sha256 production", kSha256, nullptr);
  if (hash == "sha224") return Path("sha224 production", kSha224, nullptr);
  if (hash == "sha384") return Path("sha384 production", kSha384, nullptr);
  return Path("sha512 production", kSha512, nullptr);
}

std::vector<TShaPath> Paths(std::string_view hash) {
  const std::optional<TShaPath> simd = SimdPath(hash);
  if (simd) return {PortablePath(hash), *simd, ProductionPath(hash)};
  return {PortablePath(hash), ProductionPath(hash)};
}

// The kinds of the tables below with three columns, and every kind.
const char* const kHashes[] = {"sha1", "sha256", "sha512"};
const char* const kAllHashes[] = {"sha1", "sha224", "sha256", "sha384", "sha512"};

std::vector<std::uint8_t> PatternBytes(std::size_t count) {
  std::vector<std::uint8_t> pattern(count);
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i % 251);
  return pattern;
}

std::string Pattern(std::size_t count) {
  const std::vector<std::uint8_t> bytes = PatternBytes(count);
  return {bytes.begin(), bytes.end()};
}

std::string_view Bytes(const std::uint8_t* bytes, std::size_t count) {
  return {reinterpret_cast<const char*>(bytes), count};
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
  return bytes;
}

// The SIMD path against the portable one over every length from 0 to 300 and a few longer ones,
// each at several distances from a 64-byte boundary, fed in one piece.
void ExpectSimdEqualsPortable(std::string_view hash) {
  const std::optional<TShaPath> simd = SimdPath(hash);
  ASSERT_TRUE(simd);
  const TShaPath portable = PortablePath(hash);
  std::vector<std::size_t> lengths;
  for (std::size_t length = 0; length <= 300; ++length) lengths.push_back(length);
  for (std::size_t length : {383, 384, 385, 1000, 1023, 1024, 1025, 4096, 4097}) lengths.push_back(length);
  const auto data = RandomBytes(4097 + 128, 11);
  const auto misalignment = reinterpret_cast<std::uintptr_t>(data.data()) % 64;
  const std::uint8_t* aligned = data.data() + (64 - misalignment) % 64;
  for (std::size_t offset : {0, 1, 3, 8, 15, 33}) {
    for (std::size_t length : lengths) {
      const TPieces message{Bytes(aligned + offset, length)};
      ASSERT_EQ(simd->Hex(message), portable.Hex(message))
          << simd->Name << ", length " << length << ", offset " << offset;
    }
  }
}

// The examples of FIPS 180-4: the 448-bit and 896-bit messages and one million "a".
const std::string m448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const std::string m896 =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";
const std::string millionA(1000000, 'a');

}  // namespace

// The examples of FIPS 180-4 (the 448-bit and 896-bit messages for every hash), the one-million
// "a" message, and the one-byte and two-byte messages of the NIST test suites (0x36 for SHA-1, 0xD3
// and 0x11AF for SHA-256, 0x21 for SHA-512; the other hashes' digests of them from OpenSSL), on
// every path.
TEST(Sha, KnownDigests) {
  struct Case {
    std::string message;
    const char* digests[3];  // in the order of kHashes
  };
  const Case cases[] = {
      {"",
       {"DA39A3EE5E6B4B0D3255BFEF95601890AFD80709", "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855",
        "CF83E1357EEFB8BDF1542850D66D8007D620E4050B5715DC83F4A921D36CE9CE"
        "47D0D13C5D85F2B0FF8318D2877EEC2F63B931BD47417A81A538327AF927DA3E"}},
      {"abc",
       {"A9993E364706816ABA3E25717850C26C9CD0D89D", "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD",
        "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A"
        "2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F"}},
      {m448,
       {"84983E441C3BD26EBAAE4AA1F95129E5E54670F1", "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1",
        "204A8FC6DDA82F0A0CED7BEB8E08A41657C16EF468B228A8279BE331A703C335"
        "96FD15C13B1B07F9AA1D3BEA57789CA031AD85C7A71DD70354EC631238CA3445"}},
      {m896,
       {"A49B2446A02C645BF419F995B67091253A04A259", "CF5B16A778AF8380036CE59E7B0492370B249B11E8F07A51AFAC45037AFEE9D1",
        "8E959B75DAE313DA8CF4F72814FC143F8F7779C6EB9F7FA17299AEADB6889018"
        "501D289E4900F7E4331B99DEC4B5433AC7D329EEB6DD26545E96E55B874BE909"}},
      {millionA,
       {"34AA973CD4C4DAA4F61EEB2BDBAD27316534016F", "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0",
        "E718483D0CE769644E2E42C7BC15B4638E1F98B13B2044285632A803AFA973EB"
        "DE0FF244877EA60A4CB0432CE577C31BEB009C5C2C49AA2E4EADB217AD8CC09B"}},
      {"\x36",
       {"C1DFD96EEA8CC2B62785275BCA38AC261256E278", "E7F6C011776E8DB7CD330B54174FD76F7D0216B612387A5FFCFB81E6F0919683",
        "3C9AD55147A7144F6067327C3B82EA70E7C5426ADD9CEEA4D07DC2902239BF9E"
        "049B88625EB65D014A7718F79354608CAB0921782C643F0208983FFFA3582E40"}},
      {"\xD3",
       {"B34DB2B72D63F33DBEF80FB30E094CC0A91D6322", "28969CDFA74A12C82F3BAD960B0B000ACA2AC329DEEA5C2328EBC6F2BA9802C1",
        "FFF202F312FD00EDA106601B2E7ABEAFE3EDF1395753C76A088DDD7DE34092DB"
        "FF7BF054053F837ABE555BC7BFF7F680CD1ED22BF83B476B6C1812B61FA602A6"}},
      {"\x11\xAF",
       {"C6F5FE0A72FEDECD14DF9A46B573463B6C409F24", "5CA7133FA735326081558AC312C620EECA9970D1E70A4B95533D956F072D1F98",
        "C4A4DBB35062E903DA630C47BFC3A88FA1C53A847A5441BBB7C816AD1B574FEB"
        "DFA1ACE06B06B3349C164E3F04B6C4BA96D8DBC6ABB1E70265F366CE3938CF5F"}},
      {"\x21",
       {"0AB8318ACAF6E678DD02E2B5C343ED41111B393D", "BB7208BC9B5D7C04F1236A82A0093A5E33F40423D5BA8D4266F7092C3BA43B62",
        "3831A6A6155E509DEE59A7F451EB35324D8F8F2DF6E3708894740F98FDEE2388"
        "9F4DE5ADB0C5010DFB555CDA77C8AB5DC902094C52DE3278F35A75EBC25F093A"}},
  };
  for (const auto& c : cases)
    for (std::size_t h = 0; h < std::size(kHashes); ++h)
      for (const auto& path : Paths(kHashes[h]))
        EXPECT_EQ(path.Hex({c.message}), c.digests[h]) << path.Name << ", " << c.message.size() << " bytes";
}

// Digests from OpenSSL over the same bytes: the repeating 0..250 pattern. 55 bytes end in one
// final 64-byte block, 56..63 need a second, 64 end with a block of padding and length only;
// 111, 112 and 128 are the same edges of the 128-byte blocks of SHA-512.
TEST(Sha, PatternLengthsAroundTheBlockEdges) {
  struct Case {
    std::size_t length;
    const char* digests[3];  // in the order of kHashes
  };
  const Case cases[] = {
      {1,
       {"5BA93C9DB0CFF93F52B521D7420E43F6EDA2784F", "6E340B9CFFB37A989CA544E6BB780A2C78901D3FB33738768511A30617AFA01D",
        "B8244D028981D693AF7B456AF8EFA4CAD63D282E19FF14942C246E50D9351D22"
        "704A802A71C3580B6370DE4CEB293C324A8423342557D4E5C38438F0E36910EE"}},
      {55,
       {"8AE2D46729CFE68FF927AF5EEC9C7D1B66D65AC2", "463EB28E72F82E0A96C0A4CC53690C571281131F672AA229E0D45AE59B598B59",
        "6856647F269C2EE3D8128F0B25427659D880641EF343300DD3CD4679168F58D6"
        "527FDA70B4EBC854E2065E172B7D58C1536992C0810599259BA84A2B40C65414"}},
      {56,
       {"636E2EC698DAC903498E648BD2F3AF641D3C88CB", "DA2AE4D6B36748F2A318F23E7AB1DFDF45ACDC9D049BD80E59DE82A60895F562",
        "8B12B2F6FE400A51D29656E2B8C42A1BBFE6FCF3E425DA430DB05D1A2DDA1479"
        "0DEE20FA8B22D8762AFFFE4988A5C98A4430D22A17E41E23D90FA61AB75671A9"}},
      {63,
       {"6D942DA0C4392B123528F2905C713A3CE28364BD", "29AF2686FD53374A36B0846694CC342177E428D1647515F078784D69CDB9E488",
        "9DC9C5598E55DC42955695320839788E353F1D7F6BA74DF74C80A8A52F463C06"
        "97F57F68835D1418F4CE9B6530CD79BD0F4C6F7E13C93FEB1218C0B65C2C0561"}},
      {64,
       {"C6138D514FFA2135BFCE0ED0B8FAC65669917EC7", "FDEAB9ACF3710362BD2658CDC9A29E8F9C757FCF9811603A8C447CD1D9151108",
        "EE4320EBAF3FDB4F2C832B137200C08E235E0FA7BBD0EB1740C7063BA8A0D151"
        "DA77E003398E1714A955D475B05E3E950B639503B452EC185DE4229BC4873949"}},
      {65,
       {"69BD728AD6E13CD76FF19751FDE427B00E395746", "4BFD2C8B6F1EEC7A2AFEB48B934EE4B2694182027E6D0FC075074F2FABB31781",
        "02856CEF735F9ACEC6B9E33F0FBC8F9804D2AA54187F382B8AE842E5D3696C07"
        "459AAD2A5AED25EA5E117EB1C7BA35DA6A7A8ADCE9E6AFE3AD79E9FA42D5BBA8"}},
      {111,
       {"BC544E24573D592290FDAFF8ECF3F7F2B00CD483", "60780E9451BDC43CF4530FFC95CBB0C4EB24DAE2C39F55F334D679E076C08065",
        "A1A111449B198D9B1F538BAD7F3FC1022B3A5B1A5E90A0BC860DE8512746CBC3"
        "1599E6C834DE3A3235327AF0B51FF57BF7ACF1974A73014D9C3953812EDC7C8D"}},
      {112,
       {"E4CE142D09A84A8645338DD6535CBFAAF800D320", "09373F127D34E61DBBAA8BC4499C87074F2DDB10E1B465F506D7D70A15011979",
        "C5FBD731D19D2AE1180F001BE72C2C1AABA1D7B094B3748880E24593B8E117A7"
        "50E11C1BD867CC2F96DACE8C8B74ABD2D5C4F236BE444E77D30D1916174070B9"}},
      {127,
       {"89D7312A903F65CD2B3E34A975E55DBEA9033353", "92CA0FA6651EE2F97B884B7246A562FA71250FEDEFE5EBF270D31C546BFEA976",
        "EAB89674FEAA34E27AEBEEFF3C0A4D70070BB872D5E9F186CF1DBBDEE517B6E3"
        "5724D629FF025A5B07185E911ADA7E3C8ACF830AA0E4F71777BD2D44F504F7F0"}},
      {128,
       {"E6434BC401F98603D7EDA504790C98C67385D535", "471FB943AA23C511F6F72F8D1652D9C880CFA392AD80503120547703E56A2BE5",
        "1DFFD5E3ADB71D45D2245939665521AE001A317A03720A45732BA1900CA3B835"
        "1FC5C9B4CA513EBA6F80BC7B1D1FDAD4ABD13491CB824D61B08D8C0E1561B3F7"}},
      {129,
       {"3352E41CC30B40AE80108970492B21014049E625", "5099C6A56203F9687F7D33F4BFDF576D31DC91F6B695ECEA38B2770C87631135",
        "1D9DA57FBBDAB09AFB3506AB2D223D06109D65C1C8AD197F50138F714BC4C3F2"
        "FE5787922639C680ACAD1C651F955990425954CE2CBA0C5CC83F2667D878EB0F"}},
      {1025,
       {"CA9FDC040579AFC74C0E6314FEE7AF12BD5C4284", "BC0B6B10B89B9487A12FDA2A8CC13194E7091C217AABF8B92846274026F4BCD0",
        "1F0CB287C12671E2F498170FF2762886686CEB88B7D63F944708D3060752376F"
        "F38E4A88AB7CEB0BB437083E7F1D051049B8D94356E72E4D59ADCC102F585AC0"}},
  };
  const std::vector<std::uint8_t> pattern = PatternBytes(1025);
  for (const auto& c : cases)
    for (std::size_t h = 0; h < std::size(kHashes); ++h)
      for (const auto& path : Paths(kHashes[h]))
        EXPECT_EQ(path.Hex({Bytes(pattern.data(), c.length)}), c.digests[h]) << path.Name << ", length " << c.length;
}

// SHA-224 and SHA-384, from sha224sum and sha384sum: the examples of FIPS 180-4 and the
// pattern at every length the blocks of SHA-256 and SHA-512 have an edge near, on every path.
TEST(Sha, TruncatedKindsKnownDigests) {
  struct Case {
    std::string message;
    const char* sha224;
    const char* sha384;
  };
  const Case cases[] = {
      {"abc", "23097D223405D8228642A477BDA255B32AADBCE4BDA0B3F7E36C9DA7",
       "CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED"
       "8086072BA1E7CC2358BAECA134C825A7"},
      {m448, "75388B16512776CC5DBA5DA1FD890150B0C6455CB4F58B1952522525",
       "3391FDDDFC8DC7393707A65B1B4709397CF8B1D162AF05ABFE8F450DE5F36BC6"
       "B0455A8520BC4E6F5FE95B1FE3C8452B"},
      {m896, "C97CA9A559850CE97A04A96DEF6D99A9E0E0E2AB14E6B8DF265FC0B3",
       "09330C33F71147E83D192FC782CD1B4753111B173B3B05D22FA08086E3B0F712"
       "FCC7C71A557E2DB966C3E9FA91746039"},
      {millionA, "20794655980C91D8BBB4C1EA97618A4BF03F42581948B2EE4EE7AD67",
       "9D0E1809716474CB086E834E310A4A1CED149E9C00F248527972CEC5704C2A5B"
       "07B8B3DC38ECC4EBAE97DDD87F3D8985"},
      {Pattern(0), "D14A028C2A3A2BC9476102BB288234C415A2B01F828EA62AC5B3E42F",
       "38B060A751AC96384CD9327EB1B1E36A21FDB71114BE07434C0CC7BF63F6E1DA"
       "274EDEBFE76F65FBD51AD2F14898B95B"},
      {Pattern(1), "FFF9292B4201617BDC4D3053FCE02734166A683D7D858A7F5F59B073",
       "BEC021B4F368E3069134E012C2B4307083D3A9BDD206E24E5F0D86E13D663665"
       "5933EC2B413465966817A9C208A11717"},
      {Pattern(2), "00AC60F30E9BD1956F914C8E5125B69DCC31A179734E6A85B3F702BA",
       "5D13BB39A64C4EE16E0E8D2E1C13EC4731FF1AC69652C072D0CDC355EB9E0EC4"
       "1B08AEF3DD6FE0541E9FA9E3DCC80F7B"},
      {Pattern(3), "E615202185AABE2ACA924BEC29E5A12384F8339EAE4E64C9CBA9F1DA",
       "4F895854C1A4FC5AA2E0456EAF8D0ECAA70C196BD901153861D76B8FA3CD95CE"
       "EA29EAB6A279F8B08437703CE0B4B91A"},
      {Pattern(4), "D70DA0705EAE42A5C596D92F331DDA2421B4E14F8B3035FB73B8B700",
       "80AE432E757826025095CA1FA4F89C06C8BA6754B1D883A8E31A1E65FCFB820B"
       "D74ACFACA3D939A574EA408A74162D1D"},
      {Pattern(5), "98029CB458A39A16355963922D32DACD9439F90E9FD106D42A0D123C",
       "561C16404A1B592406301780C0C2DF6AA0555F504F35BFBEAC810AE36A343B77"
       "6858C5E0DE56BB79607A34D2F67108F2"},
      {Pattern(6), "7D92E7F1CAD1818ED1D13AB41F04EBABFE1FEF6BB4CBEEBAC34C29BC",
       "79F4738706FCE9650AC60266675C3CD07298B09923850D525604D040E6E448AD"
       "C7DC22780D7E1B95BFEAA86A678E4552"},
      {Pattern(7), "DDD5BABB1B05D8BCCD644ADC393A9E2303C850DA31922C4DA07574F9",
       "E6CE1896C9783A70AC4C90276CC37B37687D7E30C753975762F961AE37118D9A"
       "610242716E8359EFC4975AA98C632DCF"},
      {Pattern(8), "4C07070802E21052FB0295AC0571CAEDF219143ADAE0627E2850EDAA",
       "CFB18F81F4BB672B03214F1FEDE456F882A0DE40120212A1FEBA8FDC48F763C8"
       "6ACBBFB684D34B70F99F4D8D81FE3A28"},
      {Pattern(55), "8991DFBA74284E04DC7581C7C3E4068FF6CB7A63733361429834BB56",
       "DCEDB6B590EDB4EFA849C801E6B6490657A5C1E64F69269F5F63C9267F6223DE"
       "24CEA7AAA6B267D9BCECC15147B6C875"},
      {Pattern(56), "2B2CD637C16AD7290BB067AD7D8FD04E204FA43A84366AFC7130F4EF",
       "7B9132D597B8873AD55BBC30F18ED3F2C9F340E7DE69FB5774056C71A06D9BC2"
       "B14137E9E1C68B6B645FED28B188249D"},
      {Pattern(63), "049E8DD7EAB3378CE9F823BFB569E5B270235D4B7F9623606971998F",
       "DD66B519F51A925814407A449C60B34C553D7652D41783EE903A810A4C9F833B"
       "8181C91C7F12283EACD6A5F8A2639DDF"},
      {Pattern(64), "C37B88A3522DBF7AC30D1C68EA397AC11D4773571AED01DDAB73531E",
       "9F2C9EB7116B3D7A4BA84A74A4D4EFF8A5EFCF54B6D7B662693C38577914C73A"
       "214766F0A175339BB0895A863824FC0A"},
      {Pattern(65), "114B5FD665736A96585C5D5837D35250AED73C725252CBF7F8B121F6",
       "14B0A9FFCE149426BF5045FFC24C057451D2473186DEB4F150117B855911A764"
       "1651FB1E15DF406EB373D71151C46F25"},
      {Pattern(111), "1AEEF583C448A9AE00FBC931B50BC0DA5BB8323E616B11076CEE8B44",
       "F5F9FE110D809D34029DE262A01B208356CAEC6E054C7F926B2591F6C9780579"
       "D4B59F5578C6F531A84F158A33660CEF"},
      {Pattern(112), "01E5ABF50619B5C2078E754EDDEDCF4DE8D31185A2219313CB91A8C9",
       "33BA080EC0CCB378E4E95FED3B26C23AA1A280476E007519EE47F60CD9C5C8A6"
       "5D627259A9AA2FD33CA06D3C14EE5548"},
      {Pattern(127), "554C9C3F7E92B80F4121E00CC147535D377EAEB4FB1FA8E25C7F81C1",
       "D5FCFE2FCF6B3EF375EDE37C8123D9B78065FECC1D55197E2F7721E6E9A93D0B"
       "A4D7FD15F9B96DEA2744DF24141BA2EF"},
      {Pattern(128), "67D88DA33FD632D8742424791DFACE672FF59D597FE38B3F2A998386",
       "CA2385773319124534111A36D0581FC3F00815E907034B90CFF9C3A861E126A7"
       "41D5DFCFF65A417B6D7296863AC0EC17"},
      {Pattern(129), "A80CB91E08A62F062BD17DB00D0E1979D041EDEB52B497B205266B9C",
       "EF49AE5B9AD51433D00323528D81EA8D2E4D2B507DBD9F1CB84F952B66249A78"
       "8B1C89FCDB77A0DB9F1FEB901D47FC73"},
      {Pattern(1023), "1239B232537587E219F172CF1CF0C3C4BDF6EC6679D998ACA66AE60F",
       "962BB195ECCBF3FFB32F1743014D6DAB9603C44EDAA41043E03D696D8AD69BCC"
       "678A9383C8ED868812919803096ABD39"},
      {Pattern(1024), "15D0AE5F6F8246AC56016DCDEE1A152F1A2DF85E858AB671E756BED5",
       "BD7443454C828292BDC435A095D5F71AA8724EC2FF6A0E08D25A11E0E417C6A9"
       "03F566E9BDBB7B6CBFBFDC55C53AC766"},
      {Pattern(1025), "614B5E145A54576F471B21E207A4F91E70D6DB7C668471DA7F96EDA3",
       "FDE60C0157845CF167A59164FD4D47085B967721548E1580428DD54161E2D359"
       "DB5981F758998E8B0E933115CD7CE811"},
  };
  for (const auto& c : cases) {
    const std::size_t n = c.message.size();
    for (const auto& path : Paths("sha224")) EXPECT_EQ(path.Hex({c.message}), c.sha224) << path.Name << ", " << n;
    for (const auto& path : Paths("sha384")) EXPECT_EQ(path.Hex({c.message}), c.sha384) << path.Name << ", " << n;
  }
}

TEST(Sha, PiecesEqualOnePiece) {
  const auto data = RandomBytes(5000, 7);
  const std::size_t pieceSizes[] = {0, 1, 63, 64, 65, 0, 7, 128, 55, 9, 1000, 127, 129, 256, 111, 17};
  for (const char* hash : kAllHashes) {
    for (const auto& path : Paths(hash)) {
      const std::string whole = path.Hex({Bytes(data.data(), data.size())});
      for (int pattern = 0; pattern < 2; ++pattern) {
        TPieces pieces;
        for (std::size_t i = 0, pos = 0; pos < data.size(); ++i) {
          const std::size_t n = pattern == 0 ? 1  // one byte at a time
                                             : std::min(pieceSizes[i % std::size(pieceSizes)], data.size() - pos);
          pieces.push_back(Bytes(data.data() + pos, n));
          pos += n;
        }
        EXPECT_EQ(path.Hex(pieces), whole) << path.Name << ", pattern " << pattern;
      }
    }
  }
}

namespace {

template <typename TContext, typename TDigest>
void ExpectFinalWipes(TShaFunctions<TContext, TDigest> functions, const char* abcDigest) {
  TContext context;
  std::memset(&context, 0xA5, sizeof context);
  functions.InitChosen(context);
  functions.Update(context, "abc", 3);
  TDigest digest;
  functions.Final(context, digest);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&context);
  for (std::size_t i = 0; i < sizeof context; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
  EXPECT_EQ(HexUpperBytes(digest.data(), digest.size()), abcDigest);
}

}  // namespace

TEST(Sha, FinalWipesTheWholeContext) {
  ExpectFinalWipes(kSha1, "A9993E364706816ABA3E25717850C26C9CD0D89D");
  ExpectFinalWipes(kSha256, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
  ExpectFinalWipes(kSha512,
                   "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A"
                   "2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F");
  ExpectFinalWipes(kSha224, "23097D223405D8228642A477BDA255B32AADBCE4BDA0B3F7E36C9DA7");
  ExpectFinalWipes(kSha384,
                   "CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED"
                   "8086072BA1E7CC2358BAECA134C825A7");
}

#if defined(__x86_64__)

TEST(Sha, ChosenPathsFollowTheProcessor) {
  const TCpuFeatures& cpu = CpuFeatures();
  EXPECT_EQ(Sha1ChosenBlocks(), cpu.Sha ? Sha1BlocksShaNi : Sha1BlocksPortable);
  EXPECT_EQ(Sha256ChosenBlocks(), cpu.Sha ? Sha256BlocksShaNi : Sha256BlocksPortable);
  EXPECT_EQ(Sha512ChosenBlocks(), cpu.Avx2 && cpu.Bmi2 ? Sha512BlocksAvx2 : Sha512BlocksPortable);
  std::printf("[          ] SHA extensions: %s, AVX2 and BMI2: %s\n", cpu.Sha ? "yes" : "no",
              cpu.Avx2 && cpu.Bmi2 ? "yes" : "no");
}

TEST(Sha1, ShaNiEqualsPortableAtEveryLengthAndAlignment) {
  if (!CpuFeatures().Sha) GTEST_SKIP() << "this processor has no SHA extensions";
  ExpectSimdEqualsPortable("sha1");
}

TEST(Sha256, ShaNiEqualsPortableAtEveryLengthAndAlignment) {
  if (!CpuFeatures().Sha) GTEST_SKIP() << "this processor has no SHA extensions";
  ExpectSimdEqualsPortable("sha256");
  ExpectSimdEqualsPortable("sha224");
}

TEST(Sha512, Avx2EqualsPortableAtEveryLengthAndAlignment) {
  if (!CpuFeatures().Avx2 || !CpuFeatures().Bmi2) GTEST_SKIP() << "this processor has no AVX2 or no BMI2";
  ExpectSimdEqualsPortable("sha512");
  ExpectSimdEqualsPortable("sha384");
}

#endif
