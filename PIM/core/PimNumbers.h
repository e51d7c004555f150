#pragma once
// The one place where numbers written in data files become numbers.
//
// Option files, room and sprite descriptions and saved player data are all
// outside input: a value may be empty, hostile, absurdly long or written on a
// machine with another locale. These parsers never fail, never read past the
// terminator and never depend on setlocale: a decimal point is always ".".
// Every conversion of file text in the engine goes through them (never atoi,
// atof or strtod directly).

#include "PIM/core/PimDefs.h"

// Like a 32-bit atol: skips leading white space (" \t\n\v\f\r"), takes one
// optional sign, then decimal digits up to the first non-digit. Values past
// the 32-bit range clamp to INT32_MIN / INT32_MAX. No digits (or null) is 0.
int32_t PimParseInt(const char* text);

// Like atof, but always in the C locale: skips leading white space, takes one
// optional sign, then a decimal number with an optional exponent, up to the
// first character that cannot continue it ("1.5abc" is 1.5). Everything atof
// would turn into something other than a finite number is 0: "inf", "nan",
// and values whose magnitude does not fit the type (atof's infinity) or is
// too small for it. Hexadecimal forms ("0x1p3") read as the "0" before the x.
float PimParseFloat(const char* text);
double PimParseDouble(const char* text);
