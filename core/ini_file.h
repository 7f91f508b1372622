#pragma once

// Debian builds SimpleIni against ICU; its narrow-text instance copies bytes unchanged when told
// the file is not UTF-8, which is how the 8-bit INI files of packages and settings must be read.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

namespace corvane {

// Section and key names without regard to case, as Windows INI access compares them. Construct
// as IniFile(false, false, false): 8-bit text, no duplicate keys, no multi-line values.
using IniFile = CSimpleIniA;

}  // namespace corvane
