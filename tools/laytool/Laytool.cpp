#include "Laytool.h"

#include "LayoutFile.h"
#include "LayoutJson.h"
#include "Render.h"
#include "tsTrace.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

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
    "(\"NaN\", \"Infinity\", \"-Infinity\" as strings); each byte of a name is the character of\n"
    "the same number. Exit status 0 when the load succeeded, 1 when it failed.\n";

const char* const MAKE_USAGE =
    "usage: laytool make [--trace] FILE.json OUT.lay\n"
    "\n"
    "Reads an object with a \"controls\" array in the form that 'laytool dump' prints (other keys\n"
    "are ignored; a missing field of a control takes its default) and writes OUT as version 2.\n"
    "Ids are integers from 0 to 4294967295; names hold characters U+0000 to U+00FF only. OUT is\n"
    "replaced only when every byte was written, so a failed run leaves it as it was.\n";

const char* const RENDER_USAGE =
    "usage: laytool render [--trace] FILE.lay OUT.png [--current N]\n"
    "\n"
    "Draws the layout as the editor's canvas does on an 840 by 640 white picture: the\n"
    "800 by 600 screen and every control in dark red; with --current N, control N (counted\n"
    "from 0) in bright red above the others. Exit status 1 when the file does not load.\n";

std::string codeText(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

int render(const std::string& path, const std::string& outPath, const std::string& current,
           std::ostream& err)
{
    LayoutDataObject layout;
    const HRESULT hr = LoadLayoutFile(layout, path.c_str());
    if (hr < 0) {
        err << "laytool: " << path << ": the layout could not be read (" << codeText(hr) << ")\n";
        return EXIT_FAILED;
    }
    long long index = -1;
    if (!current.empty()) {
        char* end = nullptr;
        index = std::strtoll(current.c_str(), &end, 10);
        if (*end != '\0' || index < 0 ||
            static_cast<std::size_t>(index) >= layout.m_controls.size()) {
            err << "laytool: --current " << current << ": the layout has "
                << layout.m_controls.size() << " controls\n";
            return EXIT_FAILED;
        }
    }
    std::string error;
    if (!RenderLayoutPng(layout, index, outPath, error)) {
        err << "laytool: " << outPath << ": " << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int dump(const std::string& path, std::ostream& out, std::ostream& err)
{
    LayoutDataObject layout;
    const HRESULT hr = LoadLayoutFile(layout, path.c_str());
    out << LayoutToJson(hr, layout) << std::flush;
    if (hr < 0) {
        err << "laytool: " << path << ": the layout could not be read (" << codeText(hr) << ")\n";
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int make(const std::string& jsonPath, const std::string& outPath, std::ostream& err)
{
    std::ifstream in(jsonPath, std::ios::binary);
    if (!in) {
        err << "laytool: " << jsonPath << ": cannot be opened for reading\n";
        return EXIT_FAILED;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        err << "laytool: " << jsonPath << ": read error\n";
        return EXIT_FAILED;
    }

    LayoutDataObject layout;
    std::string error;
    if (!LayoutFromJson(text.str(), layout, error)) {
        err << "laytool: " << jsonPath << ": " << error << '\n';
        return EXIT_FAILED;
    }

    const HRESULT hr = SaveLayoutFile(layout, outPath.c_str());
    if (hr < 0) {
        err << "laytool: " << outPath << ": the layout could not be written (" << codeText(hr)
            << ")\n";
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
        err << "laytool: unknown command '" << command << "'\n" << GENERAL_USAGE;
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
            err << "laytool: unknown option '" << argument << "'\n" << usage;
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
