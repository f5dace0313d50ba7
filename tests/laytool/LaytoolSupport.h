// Running laytool's commands in the test process and reading what they said.
#pragma once

#include "Laytool.h"

#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

inline ToolRun laytool(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int status = RunLaytool(arguments, out, err);
    return {status, out.str(), err.str()};
}

} // namespace testing_support
