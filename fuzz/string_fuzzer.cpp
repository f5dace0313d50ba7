// Any bytes as a counted string: a failed read leaves the string alone; a successful one
// writes and reads back the same characters.
#include "FuzzChecks.h"
#include "streams/tsMemoryStream.h"
#include "tstring.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tsMemoryStream input(data, size);
    tstring read = "untouched";
    if (ReadString(read, &input) < 0) {
        Require(read == "untouched");
        return 0;
    }
    Require(std::memchr(read.data(), 0, read.size()) == nullptr);
    Require(input.Position() <= size);

    tsMemoryStream output;
    Require(WriteString(read, &output) >= 0);
    output.Rewind();
    tstring again;
    Require(ReadString(again, &output) >= 0);
    Require(again == read);
    return 0;
}
