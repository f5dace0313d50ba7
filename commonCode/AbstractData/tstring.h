// The 8-bit string of the data library and its counted stream form.
#pragma once

#include "streams/tsStream.h"
#include "tsResult.h"

#include <string>

using tstring = std::string;

// Length prefix of 1, 3 or 7 bytes, then the characters; no terminating zero.
HRESULT WriteString(const tstring& string, tsOutputStream* stream);

// Reads the counted form. The string changes only when the whole read succeeds; a zero
// byte among the characters ends the string there (all characters are still consumed).
HRESULT ReadString(tstring& string, tsInputStream* stream);
