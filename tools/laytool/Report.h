// How laytool's commands word a failure on standard error.
#pragma once

#include "tsResult.h"

#include <iosfwd>
#include <string>

// "0x80070002"
std::string CodeText(HRESULT hr);

// One line "laytool: message", cut to a readable length.
void Report(std::ostream& err, const std::string& message);

// "cannot read a.lay: No such file or directory (0x80070002)". A short read or write has no
// cause of its own; the platform's error behind it (a full disk) is named when there was one,
// shortText otherwise.
void ReportFailure(std::ostream& err, const char* action, const std::string& path, HRESULT hr,
                   int systemError, const char* shortText);

// The cause alone, as ReportFailure words it: "No such file or directory (0x80070002)".
std::string FailureCause(HRESULT hr, int systemError, const char* shortText);

// What a .lay file that did not load is told with.
inline constexpr const char* SHORT_LAYOUT = "the file is cut short or is not a layout";
