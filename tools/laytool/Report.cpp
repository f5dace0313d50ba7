#include "Report.h"

#include "Printable.h"
#include "tsTrace.h"

#include <cstdio>
#include <ostream>

namespace {

// Message lines stay short whatever a path or token holds.
constexpr std::size_t MAX_MESSAGE = 300;

} // namespace

std::string CodeText(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

void Report(std::ostream& err, const std::string& message)
{
    err << CutLine("laytool: " + message, MAX_MESSAGE) << '\n';
}

std::string FailureCause(HRESULT hr, int systemError, const char* shortText)
{
    std::string cause = tsResultText(hr);
    if (hr == E_FAIL)
        cause = systemError ? tsSystemErrorText(systemError) : shortText;
    return cause + " (" + CodeText(hr) + ")";
}

void ReportFailure(std::ostream& err, const char* action, const std::string& path, HRESULT hr,
                   int systemError, const char* shortText)
{
    Report(err, std::string(action) + " " + Printable(path) + ": " +
                    FailureCause(hr, systemError, shortText));
}
