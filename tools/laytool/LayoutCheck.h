// The checks laytool check runs on a loaded layout.
#pragma once

#include "Identifier.h"
#include "LayoutDataObject.h"

#include <cstddef>
#include <string>
#include <vector>

struct LayoutProblem
{
    enum class Severity
    {
        Warning,
        Error
    };
    Severity severity = Severity::Warning;
    const char* kind = ""; // a fixed word for tools: "identifier", "duplicate-name", ...
    std::size_t index = 0; // of the control; its line in laytool dump is index + 2
    tstring name;
    std::string message; // without the name
};

// Problems in control order; several for one control in the order of the checks.
//  errors:   "identifier"      the name is not an identifier
//  warnings: "duplicate-name"  an earlier control has the same name
//            "duplicate-id"    an earlier control has the same id
//            "not-finite"      a coordinate is NaN or infinite (the next two are skipped)
//            "off-screen"      the control does not lie wholly on the 800 by 600 screen
//            "empty-size"      a width or height of zero or less
std::vector<LayoutProblem> CheckLayout(const LayoutDataObject& layout);
