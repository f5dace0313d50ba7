// The C and C++ header of a layout's ids that laytool header writes.
#pragma once

#include "LayoutDataObject.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct HeaderOptions
{
    enum class Form
    {
        Defines,  // #define OK_BTN 3u: C and C++
        Enum,     // enum : unsigned { OK_BTN = 3, };
        Constexpr // inline constexpr unsigned OK_BTN = 3;
    };
    Form form = Form::Defines;
    std::string prefix;    // before every control's name
    std::string nameSpace; // the C++ forms' namespace, or none
    std::string source;    // the layout's path: its last part names the header in a comment
};

struct HeaderProblem
{
    std::size_t index = 0;
    tstring name;
    std::string message; // without the name
};

// What keeps a constant from compiling, in control order: a name (with the prefix) that is not
// an identifier, is a keyword or reserved, or repeats an earlier one.
std::vector<HeaderProblem> CheckHeaderNames(const LayoutDataObject& layout,
                                            const std::string& prefix);

// The header of a layout that CheckHeaderNames passed: the same bytes for the same layout and
// options.
std::string LayoutHeader(const LayoutDataObject& layout, const HeaderOptions& options);

// A keyword of C (to C23) or C++ (to C++20), or the preprocessor's "defined".
bool IsKeyword(std::string_view word);

// Why a --prefix or --namespace cannot be used, or "".
std::string PrefixProblem(const std::string& prefix);
std::string NamespaceProblem(const std::string& name);
