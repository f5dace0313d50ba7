// Any bytes as a .lay file: the read must end cleanly, and whatever reads successfully must
// write and read back to the same records, bit for bit.
#include "FuzzChecks.h"
#include "streams/tsMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tsMemoryStream input(data, size);
    LayoutDataObject first;
    if (first.Read(&input) < 0)
        return 0;

    tsMemoryStream output;
    Require(first.Write(&output) >= 0);
    output.Rewind();
    LayoutDataObject second;
    Require(second.Read(&output) >= 0);
    Require(second.m_controls.size() == first.m_controls.size());
    for (std::size_t i = 0; i < first.m_controls.size(); ++i)
        Require(IdenticalRecords(first.m_controls[i], second.m_controls[i]));
    Require(output.Position() == output.Bytes().size());
    return 0;
}
