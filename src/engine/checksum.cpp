#include "engine/checksum.h"

#include "core/crc.h"
#include "core/hex.h"

// Crc16Table is filled once at program start by the static initializer of core/crc.cpp, which is
// linked in with Crc16Update, so nothing here builds it again.

namespace {

template <typename Context, typename Digest>
std::string Final(Context& context, void (*final)(Context&, Digest&), Digest digest) {
  final(context, digest);
  return HexUpperBytes(digest.data(), digest.size());
}

// BLAKE2b's digest is as long as the context says; Final wipes the context.
std::string Final(TBlake2bContext& context) {
  const std::size_t bytes = context.OutBytes;
  TBlake2bDigest digest;
  Blake2bFinal(context, digest);
  return HexUpperBytes(digest.data(), bytes);
}

}  // namespace

Checksum::Checksum(THashType kind, std::size_t digestBytes) : kind_(kind) {
  switch (kind_) {
    case THashType::MD5: MD5Init(md5_); break;
    case THashType::SHA1: Sha1Init(sha1_); break;
    case THashType::SHA224: Sha224Init(sha256_); break;
    case THashType::SHA256: Sha256Init(sha256_); break;
    case THashType::SHA384: Sha384Init(sha512_); break;
    case THashType::SHA512: Sha512Init(sha512_); break;
    case THashType::BLAKE2b:
      // A refused length (0 included) gets the 64 bytes, which Init always takes.
      if (!Blake2bInit(blake2b_, digestBytes)) (void)Blake2bInit(blake2b_, kBlake2bMaxBytes);
      break;
    case THashType::BLAKE3: Blake3Init(blake3_); break;
    default: break;
  }
}

bool Checksum::Accepts(THashType kind, std::size_t digestBytes) {
  if (digestBytes == 0) return true;
  if (kind == THashType::BLAKE2b) return digestBytes <= kBlake2bMaxBytes;
  return IsDigestKind(kind) && digestBytes * 2 == static_cast<std::size_t>(HashTextLength(kind));
}

Checksum Checksum::Continuation(THashType kind) {
  Checksum checksum(kind);
  checksum.crc16_ = 0;
  checksum.crc32_ = 0;
  return checksum;
}

Checksum Checksum::Blake3Subtree(std::uint64_t firstChunk) {
  Checksum checksum(THashType::BLAKE3);
  Blake3Init(checksum.blake3_, firstChunk);
  return checksum;
}

void Checksum::Fold(const std::uint8_t* data, std::size_t count) {
  switch (kind_) {
    case THashType::CRC16: crc16_ = Crc16Update(crc16_, data, count); break;
    case THashType::CRC32: crc32_ = Crc32Update(crc32_, data, count); break;
    case THashType::SHA1: Sha1Update(sha1_, data, count); break;
    case THashType::SHA224:
    case THashType::SHA256: Sha256Update(sha256_, data, count); break;
    case THashType::SHA384:
    case THashType::SHA512: Sha512Update(sha512_, data, count); break;
    case THashType::BLAKE2b: Blake2bUpdate(blake2b_, data, count); break;
    case THashType::BLAKE3: Blake3Update(blake3_, data, count); break;
    default: MD5Update(md5_, data, static_cast<std::uint32_t>(count)); break;
  }
}

void Checksum::Append(const Checksum& after, std::uint64_t count) {
  if (kind_ == THashType::CRC16) crc16_ = Crc16Shift(crc16_, count) ^ after.crc16_;
  if (kind_ == THashType::CRC32) crc32_ = Crc32Shift(crc32_, count) ^ after.crc32_;
}

std::string Checksum::Text() {
  switch (kind_) {
    case THashType::CRC16: return HexUpper(crc16_, 4);
    case THashType::CRC32: return HexUpper(~crc32_, 8);
    case THashType::SHA1: return Final(sha1_, Sha1Final, TSha1Digest{});
    case THashType::SHA256: return Final(sha256_, Sha256Final, TSha256Digest{});
    case THashType::SHA512: return Final(sha512_, Sha512Final, TSha512Digest{});
    case THashType::SHA224: return Final(sha256_, Sha224Final, TSha224Digest{});
    case THashType::SHA384: return Final(sha512_, Sha384Final, TSha384Digest{});
    case THashType::BLAKE2b: return Final(blake2b_);
    case THashType::BLAKE3: return Final(blake3_, Blake3Final, TBlake3Digest{});
    default: return Final(md5_, MD5Final, TMD5Digest{});
  }
}
