// Any bytes as laytool's JSON: a failed read ends with one short message and no records; a
// successful one prints as text that reads back to the same records, bit for bit.
#include "FuzzChecks.h"
#include "LayoutJson.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    LayoutDataObject first;
    std::string error;
    if (!LayoutFromJson(text, first, error)) {
        Require(!error.empty() && error.size() <= 250 && error.find('\n') == std::string::npos);
        Require(first.m_controls.empty());
        return 0;
    }
    LayoutDataObject second;
    Require(LayoutFromJson(LayoutToJson(S_OK, first), second, error));
    Require(second.m_controls.size() == first.m_controls.size());
    for (std::size_t i = 0; i < first.m_controls.size(); ++i)
        Require(IdenticalRecords(first.m_controls[i], second.m_controls[i]));
    return 0;
}
