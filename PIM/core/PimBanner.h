#pragma once
// The maker's banner line the application prints when it starts.

#include "PIM/core/PimDefs.h"

// "<name> v<major>.<minor, two digits> (<build>) - Glimmerforge Pim engine\n"
void FormatBanner(char* out, size_t outSize, const char* appName, int major, int minor, const char* build);
// Writes the banner line to the trace output.
void PrintBanner(const char* appName, int major, int minor, const char* build);
