#include "Laytool.h"

#include "DiffCheck.h"
#include "LayoutFile.h"
#include "LayoutJson.h"
#include "Printable.h"
#include "Render.h"
#include "Report.h"
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
    "  diff A.lay B.lay         print what changed from A to B\n"
    "  check FILE.lay...        report errors and doubtful controls\n"
    "\n"
    "--trace writes the trace lines of a failure to standard error.\n"
    "'laytool COMMAND --help' describes one command; 'laytool --version' prints the version.\n"
    "Wrong usage exits with status 2.\n";

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

const char* const DIFF_USAGE =
    "usage: laytool diff [--trace] [--json] A.lay B.lay\n"
    "\n"
    "Prints what changed from A to B, one line per change:\n"
    "  - NAME                        a control that only A has\n"
    "  + NAME                        a control that only B has\n"
    "  > NAME moved from index I to J\n"
    "  ~ NAME FIELD: OLD -> NEW      a field of a control that both have\n"
    "Controls are matched by name; where a name repeats, its first occurrence in A with its\n"
    "first in B, the second with the second, and so on. A control has moved when its order\n"
    "among the matched controls changed, not when others were added or removed before it.\n"
    "Removed controls come first, then B's controls in order. Numbers are printed as 'laytool\n"
    "dump' prints them. --json prints {\"equal\": false, \"changes\": [{\"change\": \"changed\",\n"
    "\"name\": ..., \"from\": I, \"to\": J, \"field\": ..., \"old\": ..., \"new\": ...}, ...]}.\n"
    "Exit status 0 when the layouts are equal, 1 when they differ, 2 when a file cannot be\n"
    "read.\n";

const char* const CHECK_USAGE =
    "usage: laytool check [--trace] [--strict] [--json] FILE.lay...\n"
    "\n"
    "Loads each FILE and prints its problems, one line each:\n"
    "  FILE:INDEX: error: \"NAME\": ...    or, for a file that does not load, FILE: error: ...\n"
    "Errors: the file does not load; a name that is not an identifier (not empty; a-z, A-Z\n"
    "or _ first, then also 0-9). Warnings: a name or an id that an earlier control has; a\n"
    "control not wholly on the 800 x 600 screen; a width or height of zero or less; a\n"
    "coordinate that is NaN or infinite. --json prints {\"problems\": [{\"file\": ...,\n"
    "\"index\": ..., \"name\": ..., \"severity\": ..., \"kind\": ..., \"message\": ...}, ...],\n"
    "\"errors\": N, \"warnings\": N}. Exit status 2 on errors; with --strict 1 on warnings only;\n"
    "0 otherwise.\n";

// Larger JSON input is refused before it is read: no layout needs that much text.
constexpr std::uint64_t MAX_JSON_BYTES = std::uint64_t{2} << 30;

void reportReadFailure(std::ostream& err, const std::string& path, HRESULT hr, int systemError)
{
    ReportFailure(err, "cannot read", path, hr, systemError, SHORT_LAYOUT);
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
            Report(err, "--current " + Printable(current, 40) + ": the layout has " +
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
        ReportFailure(err, "cannot write", outPath, refused, 0, "");
        return EXIT_FAILED;
    }
    std::string error;
    if (!RenderLayoutPng(layout, index, outPath, error)) {
        Report(err, "cannot write " + Printable(outPath) + ": " + Printable(error, 200));
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
        Report(err, "cannot read " + Printable(path) + ": " + std::to_string(size) +
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
        ReportFailure(err, "cannot read", path, hr, stream.SystemError(),
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
        Report(err, Printable(jsonPath) + ": " + error);
        return EXIT_FAILED;
    }

    int systemError = 0;
    const HRESULT hr = SaveLayoutFile(layout, outPath.c_str(), &systemError);
    if (hr < 0) {
        ReportFailure(err, "cannot write", outPath, hr, systemError,
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
    if (command == "--version") {
        out << "laytool " << KARVELO_VERSION << '\n';
        return EXIT_OK;
    }
    const char* usage = command == "dump"     ? DUMP_USAGE
                        : command == "make"   ? MAKE_USAGE
                        : command == "render" ? RENDER_USAGE
                        : command == "diff"   ? DIFF_USAGE
                        : command == "check"  ? CHECK_USAGE
                                              : nullptr;
    if (!usage) {
        Report(err, "unknown command '" + Printable(command, 40) + "'");
        err << GENERAL_USAGE;
        return EXIT_USAGE;
    }

    bool trace = false, json = false, strict = false, options = true;
    std::string current;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool option = options && argument.size() > 1 && argument[0] == '-';
        if (!option) {
            files.push_back(argument);
        } else if (argument == "--help" || argument == "-h") {
            out << usage;
            return EXIT_OK;
        } else if (argument == "--") {
            options = false; // what follows is a file, even when it starts with '-'
        } else if (argument == "--trace") {
            trace = true;
        } else if (argument == "--json" && (command == "diff" || command == "check")) {
            json = true;
        } else if (argument == "--strict" && command == "check") {
            strict = true;
        } else if (argument == "--current" && command == "render") {
            if (++i == arguments.size()) {
                Report(err, "--current needs the index of a control");
                err << usage;
                return EXIT_USAGE;
            }
            current = arguments[i];
        } else {
            Report(err, "unknown option '" + Printable(argument, 40) + "'");
            err << usage;
            return EXIT_USAGE;
        }
    }
    const bool fileCountFits = command == "dump"    ? files.size() == 1
                               : command == "check" ? !files.empty()
                                                    : files.size() == 2;
    if (!fileCountFits) {
        err << usage;
        return EXIT_USAGE;
    }

    const int previousHandle = tsTraceHandle();
    if (trace)
        tsTraceAttach(2);
    int status = EXIT_OK;
    if (command == "dump")
        status = dump(files[0], out, err);
    else if (command == "make")
        status = make(files[0], files[1], err);
    else if (command == "render")
        status = render(files[0], files[1], current, err);
    else if (command == "diff")
        status = RunDiff(files[0], files[1], json, out, err);
    else
        status = RunCheck(files, strict, json, out);
    tsTraceAttach(previousHandle);
    return status;
}
