#pragma once
// What the program learns about the system it runs on: the Windows version as text and
// code, a file's version resource, a driver file below the system directory, the AudioFS
// state of Windows 95/98 and a recursive registry dump. Every function reads the system
// afresh and answers empty, false or nothing instead of failing.
#include <cstdint>
#include <string>

#include "diag/LineList.h"
#include "platform/Registry.h"

// Operating-system codes: 0 to 4 the Windows 95/98 builds, then these.
constexpr uint8_t kOsWindowsNt4 = 5;
constexpr uint8_t kOsWindows2000Build2072 = 6;
constexpr uint8_t kOsWindows2000Build2128 = 7;
constexpr uint8_t kOsOther = 8;

// major.minor.build (low 16 bits) directly followed by the service-pack text, e.g.
// "4.10.2222 A"; empty when the system does not say.
std::string OsVersionText();
// The code of the first known build whose text occurs in the version text; kOsOther else.
uint8_t OsCode(const std::string& versionText);
uint8_t OsCode();

// 4 upper-case hex digits.
std::string HexWord(uint16_t w);

// "4.57.0 (1005)" from the file version words; empty without a readable version resource.
std::string FileVersionText(const std::string& fileName);
// Index 0: FileVersionText. 1..8: CompanyName, FileDescription, InternalName,
// LegalCopyright, LegalTrademarks, OriginalFilename, ProductName, Comments of the first
// translation. Empty when missing or for any other index.
std::string VersionInformation(const std::string& fileName, int index);

// System directory + "\Iosubsys\" + name when that file exists; empty otherwise.
std::string DriverFilePath(const std::string& name);

// Reads the AudioFS driver's "0" value (4 binary bytes): true when found, with active set
// when the bytes are 0.
bool AudioFSState(bool& active);

// Appends the key, then each of its values, then each subkey recursively; nothing when the
// key cannot be opened. Binary values show at most 80 bytes; a longer one ends with
// "... (<size> Bytes)".
void RegistryDump(platform::RegRoot root, const std::string& key, TLineList& lines);
