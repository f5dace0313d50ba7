#include "Laytool.h"

#include "LayoutFile.h"
#include "LayoutJson.h"
#include "Printable.h"
#include "Render.h"
#include "streams/tsStream.h"
#include "tsTrace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sys/stat.h>

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

const char* const GENERAL_USAGE =
    "usage: laytool COMMAND [--trace] ARGUMENTS\n"
    "\n"
    "Inspects and converts .lay layout files.\n"
    "\n"
    "commands:\n"
    "  dump FILE.lay            print the layout as JSON\n"
    "  make FILE.json OUT.lay   write a layout from JSON (version 2)\n"
    "  render FILE.lay OUT.png  draw the layout as the canvas shows it\n"
    "\n"
    "--trace writes the trace lines of a failure to standard error.\n"
    "'laytool COMMAND --help' describes one command.\n";

const char* const DUMP_USAGE =
    "usage: laytool dump [--trace] FILE.lay\n"
    "\n"
    "Reads FILE as the editor does and prints one JSON object, even when the load fails:\n"
    "  {\"result\": \"0x00000000\", \"controls\": [{\"id\": 0, \"name\": \"A\", \"guiResourceId\": "
    "0,\n"
    "   \"textId\": 0, \"x1\": 10, \"y1\": 20, \"x2\": 110, \"y2\": 70}]}\n"
    "result is the load's result code; controls are the records read (after a failure, those\n"
    "read before it). Coordinates are the shortest text that reads back to the same float\n"
    "(\"NaN\", \"Infinity\", \"-Infinity\" as strings; a NaN other than 0x7FC00000 as\n"
    "\"NaN(0x7FC00001)\" with its 32 bits); each byte of a name is the character of the same\n"
    "number. Exit status 0 when the load succeeded, 1 when it failed.\n";

const char* const MAKE_USAGE =
    "usage: laytool make [--trace] FILE.json OUT.lay\n"
    "\n"
    "Reads an object with a \"controls\" array in the form that 'laytool dump' prints (other keys\n"
    "are ignored, none may appear twice; a missing field of a control takes its default) and\n"
    "writes OUT as version 2. Ids are integers from 0 to 4294967295; names hold characters\n"
    "U+0001 to U+00FF only. FILE must be a regular file of at most 2 GiB. OUT is replaced only\n"
    "when every byte was written, so a failed run leaves it as it was.\n";

const char* const RENDER_USAGE =
    "usage: laytool render [--trace] FILE.lay OUT.png [--current N]\n"
    "\n"
    "Draws the layout as the editor's canvas does on an 840 by 640 white picture: the\n"
    "800 by 600 screen and every control in dark red; with --current N, control N (counted\n"
    "from 0) in bright red above the others. Exit status 1 when the file does not load.\n";

// Larger JSON input is refused before it is read: no layout needs that much text.
constexpr std::uint64_t MAX_JSON_BYTES = std::uint64_t{2} << 30;

// Message lines stay short whatever a path or token holds.
constexpr std::size_t MAX_MESSAGE = 300;

std::string codeText(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

void report(std::ostream& err, const std::string& message)
{
    err << CutLine("laytool: " + message, MAX_MESSAGE) << '\n';
}

// "cannot read a.lay: No such file or directory (0x80070002)". A short read or write has no
// cause of its own; the platform's error behind it (a full disk) is named when there was one.
void reportFailure(std::ostream& err, const char* action, const std::string& path, HRESULT hr,
                   int systemError, const char* shortText)
{
    std::string cause = tsResultText(hr);
    if (hr == E_FAIL)
        cause = systemError ? tsSystemErrorText(systemError) : shortText;
    report(err,
           std::string(action) + " " + Printable(path) + ": " + cause + " (" + codeText(hr) + ")");
}

void reportReadFailure(std::ostream& err, const std::string& path, HRESULT hr, int systemError)
{
    reportFailure(err, "cannot read", path, hr, systemError,
                  "the file is cut short or is not a layout");
}

int render(const std::string& path, const std::string& outPath, const std::string& current,
           std::ostream& err)
{
    LayoutDataObject layout;
    int systemError = 0;
    const HRESULT hr = LoadLayoutFile(layout, path.c_str(), &systemError);
    if (hr < 0) {
        reportReadFailure(err, path, hr, systemError);
        return EXIT_FAILED;
    }
    long long index = -1;
    if (!current.empty()) {
        char* end = nullptr;
        index = std::strtoll(current.c_str(), &end, 10);
        if (*end != '\0' || index < 0 ||
            static_cast<std::size_t>(index) >= layout.m_controls.size()) {
            report(err, "--current " + Printable(current, 40) + ": the layout has " +
                            std::to_string(layout.m_controls.size()) + " controls");
            return EXIT_FAILED;
        }
    }
    // A device or FIFO is not replaced by a picture.
    struct stat info
    {
    };
    if (::stat(outPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        const HRESULT refused =
            S_ISDIR(info.st_mode) ? HRESULT_FROM_WIN32(EISDIR) : TS_E_NOT_REGULAR_FILE;
        reportFailure(err, "cannot write", outPath, refused, 0, "");
        return EXIT_FAILED;
    }
    std::string error;
    if (!RenderLayoutPng(layout, index, outPath, error)) {
        report(err, "cannot write " + Printable(outPath) + ": " + Printable(error, 200));
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int dump(const std::string& path, std::ostream& out, std::ostream& err)
{
    LayoutDataObject layout;
    int systemError = 0;
    const HRESULT hr = LoadLayoutFile(layout, path.c_str(), &systemError);
    out << LayoutToJson(hr, layout) << std::flush;
    if (hr < 0) {
        reportReadFailure(err, path, hr, systemError);
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

// The whole of a regular file of at most MAX_JSON_BYTES.
bool readJson(const std::string& path, std::string& text, std::ostream& err)
{
    tsStream stream;
    HRESULT hr = stream.Open(path.c_str(), TS_OPEN_READ);
    std::uint64_t size = 0;
    if (hr >= 0)
        hr = stream.Size(size);
    if (hr >= 0 && size > MAX_JSON_BYTES) {
        report(err, "cannot read " + Printable(path) + ": " + std::to_string(size) +
                        " bytes is more than the 2 GiB that JSON input may have");
        return false;
    }
    if (hr >= 0) {
        text.resize(static_cast<std::size_t>(size));
        for (std::size_t done = 0; hr >= 0 && done < text.size();) {
            const auto chunk = static_cast<std::uint32_t>(
                std::min<std::size_t>(text.size() - done, std::size_t{1} << 30));
            hr = stream.Read(text.data() + done, chunk, nullptr);
            done += chunk;
        }
    }
    if (hr < 0) {
        reportFailure(err, "cannot read", path, hr, stream.SystemError(),
                      "the file became shorter while it was read");
        return false;
    }
    return true;
}

int make(const std::string& jsonPath, const std::string& outPath, std::ostream& err)
{
    std::string text;
    if (!readJson(jsonPath, text, err))
        return EXIT_FAILED;

    LayoutDataObject layout;
    std::string error;
    if (!LayoutFromJson(text, layout, error)) {
        report(err, Printable(jsonPath) + ": " + error);
        return EXIT_FAILED;
    }

    int systemError = 0;
    const HRESULT hr = SaveLayoutFile(layout, outPath.c_str(), &systemError);
    if (hr < 0) {
        reportFailure(err, "cannot write", outPath, hr, systemError,
                      "not every byte could be written");
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace

int RunLaytool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty()) {
        err << GENERAL_USAGE;
        return EXIT_USAGE;
    }
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << GENERAL_USAGE;
        return EXIT_OK;
    }
    const char* usage = command == "dump"     ? DUMP_USAGE
                        : command == "make"   ? MAKE_USAGE
                        : command == "render" ? RENDER_USAGE
                                              : nullptr;
    if (!usage) {
        report(err, "unknown command '" + Printable(command, 40) + "'");
        err << GENERAL_USAGE;
        return EXIT_USAGE;
    }

    bool trace = false;
    std::string current;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            out << usage;
            return EXIT_OK;
        }
        if (argument == "--trace") {
            trace = true;
        } else if (argument == "--current" && command == "render") {
            if (++i == arguments.size()) {
                err << usage;
                return EXIT_USAGE;
            }
            current = arguments[i];
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "--") {
            report(err, "unknown option '" + Printable(argument, 40) + "'");
            err << usage;
            return EXIT_USAGE;
        } else if (argument != "--") {
            files.push_back(argument);
        }
    }
    const std::size_t wanted = command == "dump" ? 1 : 2;
    if (files.size() != wanted) {
        err << usage;
        return EXIT_USAGE;
    }

    const int previousHandle = tsTraceHandle();
    if (trace)
        tsTraceAttach(2);
    const int status = command == "dump"   ? dump(files[0], out, err)
                       : command == "make" ? make(files[0], files[1], err)
                                           : render(files[0], files[1], current, err);
    tsTraceAttach(previousHandle);
    return status;
}
