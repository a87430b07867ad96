#pragma once

#include <cstdint>
#include <string>

#include "core/hash_type.h"
#include "core/progress.h"
#include "engine/cancel.h"

// Hashes one file in blocks of 64 KiB. On success HashText holds the upper-case hex checksum
// of the kind and FileSize the file's size; on any failure (unopenable, unreadable, changed
// while read, cancelled (CancelFlag), a kind other than CRC16/CRC32/MD5) the result is false, HashText
// empty and FileSize 0. Application, when given, lets queued messages run after every block;
// Panel, when given, shows "name (position/size)" after every block.
bool HashFile(THashType Kind, const std::string& FileName, std::string& HashText, std::int64_t& FileSize,
              MessagePump* Application, TextPanel* Panel);
