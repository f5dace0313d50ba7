// laytool's commands, callable from tests as well as from main.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Exit status: 0 success, 1 the command failed, 2 wrong usage.
int RunLaytool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
