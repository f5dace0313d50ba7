#pragma once

#include "Strings.h"

namespace resources {

// Texts by id, UTF-8, exactly as the program shows them.
const fw::StringTable& Strings();

} // namespace resources
