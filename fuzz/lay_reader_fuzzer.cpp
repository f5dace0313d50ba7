// Any bytes as a .lay file: the read must end cleanly, the buffered reader must agree with
// the field-by-field one on every record and code, and whatever reads successfully must
// write and read back to the same records, bit for bit.
#include "FuzzChecks.h"
#include "streams/tsMemoryStream.h"

namespace {

// The same bytes with no buffer to look into: every record goes field by field.
class FieldByField : public tsInputStream
{
public:
    FieldByField(const std::uint8_t* data, std::size_t size) : m_inner(data, size) {}
    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) override
    {
        return m_inner.Read(buffer, size, bytesRead);
    }
    HRESULT Skip(std::uint64_t count) override { return m_inner.Skip(count); }

private:
    tsMemoryStream m_inner;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tsMemoryStream input(data, size);
    LayoutDataObject first;
    const HRESULT hr = first.Read(&input);

    FieldByField plain(data, size);
    LayoutDataObject slow;
    Require(slow.Read(&plain) == hr);
    Require(slow.m_controls.size() == first.m_controls.size());
    for (std::size_t i = 0; i < first.m_controls.size(); ++i)
        Require(IdenticalRecords(first.m_controls[i], slow.m_controls[i]));
    if (hr < 0)
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
