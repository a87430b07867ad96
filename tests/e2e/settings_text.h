#pragma once

#include <string>

// The section [Preferences] of the settings file as the program writes it for the options as they
// are at first start.
inline std::string FirstStartPreferences() {
  return "[Preferences]\r\n"
         "HashType=1\r\n"
         "AutoSaveDir=0\r\n"
         "AutoSaveFile=0\r\n"
         "AutoSaveForceOverwrite=0\r\n"
         "AutoSaveClose=0\r\n"
         "DirList=1\r\n"
         "DirRecursive=0\r\n"
         "ShowProcess=1\r\n"
         "DoneBeep=1\r\n"
         "StayOnTop=0\r\n"
         "IdlePriority=0\r\n"
         "MD5BinaryMode=0\r\n"
         "UpperCRC=1\r\n"
         "UpperMD5=0\r\n"
         "DefaultExtCRC=crc\r\n"
         "DefaultExtMD5=md5\r\n"
         "DefaultExtSHA256=sha256\r\n"
         "CompareUnlisted=0\r\n"
         "HashThreads=0\r\n"
         "DefaultExtBLAKE3=b3\r\n"
         "\r\n";
}

// Saving automatically for folders and loose files, then closing; CRC32 selected.
inline constexpr char kAutoSaveIni[] =
    "[Preferences]\r\n"
    "HashType=1\r\n"
    "AutoSaveDir=1\r\n"
    "AutoSaveFile=1\r\n"
    "AutoSaveClose=1\r\n"
    "DoneBeep=0\r\n"
    "\r\n";
