// The layouts every benchmark works on: N controls of 10 to 20 character names, spread over
// the screen, and their files in a folder that lives as long as the run.
#pragma once

#include "LayoutDataObject.h"

#include <cstddef>
#include <string>

// The records, made once per size.
const LayoutDataObject& BenchLayout(std::size_t count);
// A .lay file of them, written once per size.
std::string BenchFile(std::size_t count);
// The folder of the run's files; removed by RemoveBenchFiles.
std::string BenchFolder();
void RemoveBenchFiles();

namespace bench {
// Whether the canvas shows the controls' names in this run: KARVELO_BENCH_NAMES=1 measures
// every interaction with them shown.
bool NamesShown();
} // namespace bench
