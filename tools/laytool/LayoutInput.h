// laytool's input files: layouts with the bytes after their last record, and JSON read a
// piece at a time.
#pragma once

#include "JsonReader.h"
#include "LayoutDataObject.h"

#include <cstdint>
#include <iosfwd>
#include <string>

struct LayoutInput
{
    HRESULT result = S_OK;
    int systemError = 0;        // the platform's error behind a failure, or 0
    std::uint64_t trailing = 0; // bytes after the last record of a layout that loaded
    std::string refusal;        // why a file too large was not read; result is E_FAIL then
};

// What a command that draws whatever a file manager shows refuses at once.
struct InputLimits
{
    std::uint64_t maxBytes = 0; // a larger file is not read; 0: no limit
    const char* why = "";       // after "... is more than the N MiB "
    // A head that names more records than the file's bytes can hold fails without reading
    // them: the load would fail at the end all the same.
    bool countMustFit = false;
};

// Reads path as the editor does (records appended to layout, the same result), then counts
// what follows the last record, which the editor never reads.
LayoutInput ReadLayoutInput(const std::string& path, LayoutDataObject& layout,
                            const InputLimits& limits = {});

// "cannot read a.lay: ..." for an input that did not load.
void ReportLayoutInput(std::ostream& err, const std::string& path, const LayoutInput& input);

// "warning: a.lay: 12 bytes after the last record are no part of the layout", or nothing.
void WarnTrailing(std::ostream& err, const std::string& path, const LayoutInput& input);

// The words of that warning after the file's name, for laytool check.
std::string TrailingText(std::uint64_t trailing);

// A regular file of at most maxBytes, handed to a JSON reader a piece at a time.
class JsonFileSource : public JsonSource
{
public:
    // False after reporting to err why the file cannot be read.
    bool Open(const std::string& path, std::uint64_t maxBytes, std::ostream& err);
    bool Read(std::string& buffer, std::size_t wanted) override;
    bool Failed() const { return m_failure < 0; }
    // After a failed Read: reports to err why.
    void ReportFailure(std::ostream& err) const;

private:
    tsStream m_stream;
    std::string m_path;
    std::uint64_t m_left = 0;
    HRESULT m_failure = S_OK;
};
