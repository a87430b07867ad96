#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Two reflected (least significant bit first) CRCs. The Update functions only fold bytes into the
// caller's register: the caller starts it and forms the final value.
//   CRC-16/MCRF4XX: polynomial 0x1021 (reflected 0x8408), start 0xFFFF, no final XOR.
//   CRC-32/ISO-HDLC (zlib, PKZIP): polynomial 0x04C11DB7 (reflected 0xEDB88320), start
//   0xFFFFFFFF, final complement.
// Every variant gives results bit-identical to the byte-table reference step.

// Byte table of the CRC-16; filled by BuildCrc16Table (also run once at start-up by this unit).
extern std::uint16_t Crc16Table[256];
// Idempotent.
void BuildCrc16Table();
// Byte table of the CRC-32, constant data.
extern const std::uint32_t Crc32Table[256];

// Fastest variant for this processor, chosen once.
std::uint16_t Crc16Update(std::uint16_t reg, const void* data, std::size_t count);
std::uint32_t Crc32Update(std::uint32_t reg, const void* data, std::size_t count);

// The register after count zero bytes. Both CRCs are linear in the register, so a stretch B that
// follows a stretch A can be folded apart, from a zero register, and joined afterwards:
//   Update(Update(reg, A), B) == Shift(Update(reg, A), |B|) ^ Update(0, B)
// That lets two threads fold the halves of one file. Costs about 64 multiplications of 32 steps.
std::uint16_t Crc16Shift(std::uint16_t reg, std::uint64_t count);
std::uint32_t Crc32Shift(std::uint32_t reg, std::uint64_t count);

// One table look-up per byte: register = Table[(register ^ byte) & 0xFF] ^ (register >> 8).
std::uint16_t Crc16UpdateReference(std::uint16_t reg, const void* data, std::size_t count);
std::uint32_t Crc32UpdateReference(std::uint32_t reg, const void* data, std::size_t count);

// Sixteen bytes per step through sixteen derived tables; any processor.
std::uint16_t Crc16UpdateSlice16(std::uint16_t reg, const void* data, std::size_t count);
std::uint32_t Crc32UpdateSlice16(std::uint32_t reg, const void* data, std::size_t count);

#if defined(__x86_64__)
// Carry-less multiply folding; call only where CpuFeatures() reports Pclmul.
std::uint16_t Crc16UpdateClmul(std::uint16_t reg, const void* data, std::size_t count);
std::uint32_t Crc32UpdateClmul(std::uint32_t reg, const void* data, std::size_t count);
// The same on 512-bit registers; call only where CpuFeatures() reports Vpclmul.
std::uint16_t Crc16UpdateVpclmul(std::uint16_t reg, const void* data, std::size_t count);
std::uint32_t Crc32UpdateVpclmul(std::uint32_t reg, const void* data, std::size_t count);
#endif

using TCrc16Fn = std::uint16_t (*)(std::uint16_t reg, const void* data, std::size_t count);
using TCrc32Fn = std::uint32_t (*)(std::uint32_t reg, const void* data, std::size_t count);

struct TCrcVariant {
  const char* Name;
  TCrc16Fn Crc16;
  TCrc32Fn Crc32;
};

// The fast variants this processor can run, slowest first (the reference is not among them).
std::span<const TCrcVariant> CrcVariants();
// The one that Crc16Update and Crc32Update use: the last of CrcVariants().
const TCrcVariant& CrcChosenVariant();
