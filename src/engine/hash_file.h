#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

#include "core/hash_type.h"
#include "core/progress.h"

// Hashes one file in blocks of 64 KiB. On success HashText holds the upper-case hex checksum
// of the kind and FileSize the file's size; on any failure (unopenable, unreadable, changed
// while read, cancelled, no hash kind, a digest length that Checksum::Accepts refuses) the
// result is false, HashText empty and FileSize 0. Application, when given, lets queued messages
// run after every block; Panel, when given, shows "name (position/size)" after every block.
// DigestBytes is the digest's length in bytes, 0 for the kind's own: BLAKE2b's may be any from
// 1 to 64. Cancel, read before every block, is the run's: a stop requested stops the reading.
bool HashFile(THashType Kind, const std::string& FileName, std::string& HashText, std::int64_t& FileSize,
              MessagePump* Application, TextPanel* Panel, std::size_t DigestBytes = 0,
              const std::stop_token& Cancel = {});

// Why a file could not be hashed.
enum class THashFailure : std::uint8_t {
  None,          // it was hashed
  NotFound,      // no such file or folder on the way
  AccessDenied,  // no right to read it
  InUse,         // another program holds it without sharing
  Changed,       // its size changed while it was read
  ReadError,     // a read failed part-way, or any other failure
  Cancelled,     // the run's cancel stopped the reading
  BadName,       // its name cannot name a file (no valid UTF-16, a NUL, a character names forbid)
  NotAFile,      // a device, a pipe or anything else that is no file on a disk
};

// Why a file or folder could not be opened, read or listed, from a Win32 error code.
THashFailure FailureOfError(unsigned long error);

// A file or folder left out before any hashing (it could not be listed), and why.
struct TLeftOutPath {
  std::string path;
  THashFailure reason;
};

// Why a file was left out, as the creation page's hash column and a batch run's line say it.
std::u8string HashFailureText(THashFailure reason);

// HashFile that also tells why it failed.
THashFailure HashFileChecked(THashType kind, const std::string& fileName, std::string& hashText, std::int64_t& fileSize,
                             MessagePump* application, TextPanel* panel, std::size_t digestBytes = 0,
                             const std::stop_token& cancel = {});

// How far a worker has read the file it hashes, for another thread to show. job tells whose
// figures they are: the worker sets it (job index + 1) once the others belong to that job.
struct TFileProgress {
  std::atomic<std::size_t> job{0};
  std::atomic<std::int64_t> position{0};
  std::atomic<std::int64_t> size{-1};  // -1 until the file is open
};

// HashFileChecked for a worker thread: lets no messages run and shows nothing; reports its
// position after every block into progress (when given). A big file is read ahead on a thread
// of its own, so that reading and hashing overlap.
THashFailure HashFileInWorker(THashType kind, const std::string& fileName, std::string& hashText,
                              std::int64_t& fileSize, TFileProgress* progress, std::size_t digestBytes,
                              const std::stop_token& cancel);
