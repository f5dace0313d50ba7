// Shared by the fuzz targets.
#pragma once

#include "LayoutFile.h"

#include <cstdint>
#include <cstdlib>

// Stops the run so the fuzzer keeps the input that got here.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}
