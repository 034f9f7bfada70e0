// Windows only: where the running program is installed.
#pragma once

#include <string>

// The full path of the running executable cut before its last backslash, the backslash
// dropped ("C:" for a program in a drive's root). Paths of any length are taken whole.
std::u16string ExecutableDirectory();

// The full path of the running executable, as GetModuleFileNameW gives it.
std::u16string ExecutablePath();
