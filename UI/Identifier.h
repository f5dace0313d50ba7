// The rule every control name must meet.
#pragma once

#include "tstring.h"

// Not empty; a-z, A-Z or _ first, then also 0-9. Bytes outside 7-bit ASCII never qualify.
bool IsIdentifier(const tstring& name);
