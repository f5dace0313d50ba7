#include "LayoutInput.h"

#include "Printable.h"
#include "Report.h"

#include <algorithm>
#include <ostream>

namespace {

// Why the head of a layout names more records than size bytes can hold, or "".
std::string countProblem(tsStream& stream, std::uint64_t size)
{
    std::uint8_t head[24];
    if (size < sizeof head || stream.Read(head, sizeof head, nullptr) < 0 || stream.Seek(0, 0) < 0)
        return {};
    const auto number = [&](int at) {
        return static_cast<std::uint32_t>(head[at]) |
               static_cast<std::uint32_t>(head[at + 1]) << 8 |
               static_cast<std::uint32_t>(head[at + 2]) << 16 |
               static_cast<std::uint32_t>(head[at + 3]) << 24;
    };
    const std::uint32_t version = number(16), count = number(20);
    // The smallest record: an id, an empty name's length, and the fixed fields.
    const std::uint64_t smallest = version == 2 ? 29 : 25;
    if ((version != 1 && version != 2) || count * smallest <= size - sizeof head)
        return {};
    return "its head names " + std::to_string(count) + (count == 1 ? " control" : " controls") +
           ", more than its " + std::to_string(size) + " bytes can hold";
}

} // namespace

LayoutInput ReadLayoutInput(const std::string& path, LayoutDataObject& layout,
                            const InputLimits& limits)
{
    LayoutInput input;
    tsStream stream;
    input.result = stream.Open(path.c_str(), TS_OPEN_READ);
    std::uint64_t size = 0;
    if (input.result >= 0 && (limits.maxBytes > 0 || limits.countMustFit) &&
        stream.Size(size) >= 0) {
        if (limits.maxBytes > 0 && size > limits.maxBytes)
            input.refusal = std::to_string(size) + " bytes is more than the " +
                            std::to_string(limits.maxBytes >> 20) + " MiB " + limits.why;
        else if (limits.countMustFit)
            input.refusal = countProblem(stream, size);
        if (!input.refusal.empty()) {
            input.result = E_FAIL;
            return input;
        }
    }
    if (input.result >= 0)
        input.result = layout.Read(&stream);
    std::uint64_t left = 0;
    if (input.result >= 0 && stream.BytesLeft(left))
        input.trailing = left;
    input.systemError = input.result < 0 ? stream.SystemError() : 0;
    return input;
}

void ReportLayoutInput(std::ostream& err, const std::string& path, const LayoutInput& input)
{
    if (!input.refusal.empty())
        Report(err, "cannot read " + Printable(path) + ": " + input.refusal);
    else
        ReportFailure(err, "cannot read", path, input.result, input.systemError, SHORT_LAYOUT);
}

std::string TrailingText(std::uint64_t trailing)
{
    return std::to_string(trailing) + (trailing == 1 ? " byte" : " bytes") +
           " after the last record " + (trailing == 1 ? "is" : "are") + " no part of the layout";
}

void WarnTrailing(std::ostream& err, const std::string& path, const LayoutInput& input)
{
    if (input.result >= 0 && input.trailing > 0)
        Report(err, "warning: " + Printable(path) + ": " + TrailingText(input.trailing));
}

bool JsonFileSource::Open(const std::string& path, std::uint64_t maxBytes, std::ostream& err)
{
    m_path = path;
    HRESULT hr = m_stream.Open(path.c_str(), TS_OPEN_READ);
    if (hr >= 0)
        hr = m_stream.Size(m_left);
    if (hr < 0) {
        ::ReportFailure(err, "cannot read", path, hr, m_stream.SystemError(), "");
        return false;
    }
    if (m_left > maxBytes) {
        Report(err, "cannot read " + Printable(path) + ": " + std::to_string(m_left) +
                        " bytes is more than the " + std::to_string(maxBytes >> 30) +
                        " GiB that JSON input may have");
        return false;
    }
    return true;
}

bool JsonFileSource::Read(std::string& buffer, std::size_t wanted)
{
    // The length the file had when it was opened: what grows after is not read.
    const auto piece = static_cast<std::uint32_t>(
        std::min<std::uint64_t>({m_left, wanted, std::uint64_t{1} << 30}));
    if (piece == 0)
        return true;
    const std::size_t before = buffer.size();
    buffer.resize(before + piece);
    m_failure = m_stream.Read(buffer.data() + before, piece, nullptr);
    if (m_failure < 0) {
        buffer.resize(before);
        return false;
    }
    m_left -= piece;
    return true;
}

void JsonFileSource::ReportFailure(std::ostream& err) const
{
    ::ReportFailure(err, "cannot read", m_path, m_failure, m_stream.SystemError(),
                    "the file became shorter while it was read");
}
