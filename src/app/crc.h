#pragma once

#include <cstdint>
#include <string>

#include "core/hash_type.h"
#include "core/progress.h"

// Set to stop a running HashFile before its next block and the runs before their next file.
// One flag for both job windows; cleared when an intake starts.
extern bool CancelFlag;

// Hashes one file in blocks of 64 KiB. On success HashText holds the upper-case hex checksum
// of the kind and FileSize the file's size; on any failure (unopenable, unreadable, changed
// while read, cancelled, a kind other than CRC16/CRC32/MD5) the result is false, HashText
// empty and FileSize 0. Application, when given, lets queued messages run after every block;
// Panel, when given, shows "name (position/size)" after every block.
bool HashFile(THashType Kind, const std::string& FileName, std::string& HashText, std::int64_t& FileSize,
              MessagePump* Application, TextPanel* Panel);
