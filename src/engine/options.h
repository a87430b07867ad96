#pragma once

#include <string>

#include "core/hash_type.h"

// The options of a run as plain values, taken from the main window's controls at the moment a
// run reads them (an intake when it starts, a page when it starts), so that the engine never
// looks at a window and a change in the options tab takes effect at the next use.
struct TRunOptions {
  THashType kind = THashType::None;  // the pressed hash button
  bool autoSaveDir = false;
  bool autoSaveFile = false;
  bool autoSaveForceOverwrite = false;
  bool autoSaveClose = false;
  bool dirList = true;
  bool dirRecursive = false;
  bool showProcess = true;  // show the file being hashed and how far, "name (position/size)"
  bool doneBeep = true;
  bool md5BinaryMode = false;
  bool upperCRC = true;
  bool upperMD5 = false;
  std::string defaultExtCRC = "crc";
  std::string defaultExtMD5 = "md5";
  std::string defaultExtSHA256 = "sha256";
  std::string defaultExtBLAKE3 = "b3";
  // After a list is verified, report the files beside its files that it does not name.
  bool compareUnlisted = false;
  // Threads that hash files at once; 0: as many as the process may use.
  unsigned workers = 0;

  // Upper-case hash texts for the kind; every digest kind follows the MD5 choice but BLAKE3, whose
  // lists are b3sum's, always lower case.
  [[nodiscard]] bool UpperCase(THashType forKind) const {
    if (forKind == THashType::BLAKE3) return false;
    return IsDigestKind(forKind) ? upperMD5 : upperCRC;
  }
  // The binary-mode mark before each name; b3sum's lists have none.
  [[nodiscard]] bool BinaryMark(THashType forKind) const {
    return IsDigestKind(forKind) && forKind != THashType::BLAKE3 && md5BinaryMode;
  }
  // The extension that saving offers for a list of the kind.
  [[nodiscard]] const std::string& DefaultExt(THashType forKind) const {
    if (forKind == THashType::SHA256) return defaultExtSHA256;
    if (forKind == THashType::BLAKE3) return defaultExtBLAKE3;
    return IsDigestKind(forKind) ? defaultExtMD5 : defaultExtCRC;
  }
};

// What a command line asks of its one run, over whatever the settings say; nothing here ever
// reaches the settings file.
struct TRunOverrides {
  bool recursive = false;  // folders searched into their sub-folders
  bool oneList = false;    // one list for everything instead of one per folder
  bool overwrite = false;  // an existing list is replaced
  bool unlisted = false;   // verification also reports the files a list does not name

  void ApplyTo(TRunOptions& options) const {
    if (recursive) options.dirRecursive = true;
    if (oneList) options.dirList = false;
    if (overwrite) options.autoSaveForceOverwrite = true;
    if (unlisted) options.compareUnlisted = true;
  }
};
