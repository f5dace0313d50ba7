// laytool's commands for version control and CI: diff and check.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// 0 when the layouts are equal, 1 when they differ, 2 when one cannot be read.
int RunDiff(const std::string& oldPath, const std::string& newPath, bool json, std::ostream& out,
            std::ostream& err);

// 0 when clean (warnings allowed unless strict), 1 on warnings only with strict, 2 on errors.
int RunCheck(const std::vector<std::string>& paths, bool strict, bool json, std::ostream& out);
