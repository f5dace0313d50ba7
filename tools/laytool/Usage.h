// What laytool --help and each command's --help print.
#pragma once

#include <string>

extern const char* const GENERAL_USAGE;

// The usage of one command, or null for a word that is none.
const char* CommandUsage(const std::string& command);
