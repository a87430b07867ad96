// The native build's references, linked with zlib and OpenSSL (ruvo.exe never links them).
#include "hash/references.h"

#include <openssl/md5.h>
#include <openssl/sha.h>
#include <zlib.h>

#include <string>
#include <utility>

namespace {

template <typename TContext, int (*Init)(TContext*), int (*Update)(TContext*, const void*, std::size_t),
          int (*Final)(unsigned char*, TContext*), std::size_t DigestBytes>
std::uint32_t Openssl(const std::uint8_t* d, std::size_t n) {
  TContext context;
  Init(&context);
  FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) { Update(&context, p, count); });
  unsigned char digest[DigestBytes];
  Final(digest, &context);
  return digest[0];
}

std::uint32_t Zlib(const std::uint8_t* d, std::size_t n) {
  uLong crc = crc32(0, nullptr, 0);
  FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) { crc = crc32(crc, p, static_cast<uInt>(count)); });
  return static_cast<std::uint32_t>(crc);
}

THashRun Reference(std::string_view name) {
  if (name == "zlib crc32") return Zlib;
  if (name == "md5 openssl") return Openssl<MD5_CTX, MD5_Init, MD5_Update, MD5_Final, 16>;
  if (name == "sha1 openssl") return Openssl<SHA_CTX, SHA1_Init, SHA1_Update, SHA1_Final, 20>;
  if (name == "sha256 openssl") return Openssl<SHA256_CTX, SHA256_Init, SHA256_Update, SHA256_Final, 32>;
  if (name == "sha512 openssl") return Openssl<SHA512_CTX, SHA512_Init, SHA512_Update, SHA512_Final, 64>;
  return nullptr;
}

}  // namespace

void AddReference(std::vector<TRow>& rows, std::string_view name) {
  if (THashRun run = Reference(name)) rows.push_back({std::string(name), std::move(run)});
}
