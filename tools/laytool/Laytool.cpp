#include "Laytool.h"

#include "DiffCheck.h"
#include "LayoutFile.h"
#include "LayoutHeader.h"
#include "LayoutInput.h"
#include "LayoutJson.h"
#include "Printable.h"
#include "Render.h"
#include "Report.h"
#include "Usage.h"
#include "streams/tsSafeSave.h"
#include "tsTrace.h"

#include <cstdlib>
#include <optional>
#include <ostream>
#include <sys/stat.h>

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;
// A file that does not load, for the commands that keep 1 for another outcome.
constexpr int EXIT_UNREADABLE = 2;

// Larger JSON input is refused before it is read: no layout needs that much text.
constexpr std::uint64_t MAX_JSON_BYTES = std::uint64_t{2} << 30;
// A thumbnailer runs on whatever a file manager shows: a file this large is not drawn.
constexpr std::uint64_t MAX_THUMBNAIL_BYTES = std::uint64_t{64} << 20;

struct Arguments
{
    bool trace = false, json = false, strict = false, labels = false;
    HeaderOptions::Form form = HeaderOptions::Form::Defines;
    std::optional<std::string> current, size;
    std::string prefix, nameSpace;
    std::vector<std::string> files;
};

// A device or FIFO is not replaced by a file of ours: false after saying so.
bool refuseSpecialTarget(const std::string& path, std::ostream& err)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return false;
    const HRESULT refused =
        S_ISDIR(info.st_mode) ? HRESULT_FROM_WIN32(EISDIR) : TS_E_NOT_REGULAR_FILE;
    ReportFailure(err, "cannot write", path, refused, 0, "");
    return true;
}

// A whole number from min to max, or false.
bool parseNumber(const std::string& text, long long min, long long max, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= min && value <= max;
}

int render(const Arguments& arguments, std::ostream& err)
{
    const std::string& path = arguments.files[0];
    const std::string& outPath = arguments.files[1];
    RenderOptions options;
    options.labels = arguments.labels;
    long long size = 0;
    if (arguments.size) {
        if (!parseNumber(*arguments.size, MIN_RENDER_SIZE, MAX_RENDER_SIZE, size)) {
            Report(err, "--size " + Printable(*arguments.size, 40) + ": a number of pixels from " +
                            std::to_string(MIN_RENDER_SIZE) + " to " +
                            std::to_string(MAX_RENDER_SIZE) + " is needed");
            return EXIT_USAGE;
        }
        options.size = static_cast<int>(size);
    }
    LayoutDataObject layout;
    InputLimits limits;
    limits.maxBytes = size > 0 ? MAX_THUMBNAIL_BYTES : 0;
    limits.why = "that a thumbnail is drawn from";
    limits.countMustFit = size > 0;
    const LayoutInput input = ReadLayoutInput(path, layout, limits);
    if (input.result < 0) {
        ReportLayoutInput(err, path, input);
        return EXIT_UNREADABLE;
    }
    WarnTrailing(err, path, input);
    if (arguments.current &&
        !parseNumber(*arguments.current, 0, static_cast<long long>(layout.m_controls.size()) - 1,
                     options.current)) {
        Report(err, "--current " + Printable(*arguments.current, 40) + ": the layout has " +
                        std::to_string(layout.m_controls.size()) + " controls");
        return EXIT_FAILED;
    }
    if (refuseSpecialTarget(outPath, err))
        return EXIT_FAILED;
    std::string error;
    if (!RenderLayoutPng(layout, options, outPath, error)) {
        Report(err, "cannot write " + Printable(outPath) + ": " + Printable(error, 200));
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int dump(const std::string& path, std::ostream& out, std::ostream& err)
{
    LayoutDataObject layout;
    const LayoutInput input = ReadLayoutInput(path, layout);
    out << LayoutToJson(input.result, layout) << std::flush;
    if (input.result < 0) {
        ReportLayoutInput(err, path, input);
        return EXIT_FAILED;
    }
    WarnTrailing(err, path, input);
    return EXIT_OK;
}

int make(const std::string& jsonPath, const std::string& outPath, std::ostream& err)
{
    JsonFileSource source;
    if (!source.Open(jsonPath, MAX_JSON_BYTES, err))
        return EXIT_FAILED;
    LayoutDataObject layout;
    std::string error;
    if (!LayoutFromJson(source, layout, error)) {
        if (source.Failed())
            source.ReportFailure(err);
        else
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

// OUT keeps its file, and its time, when it holds these bytes already: a build that depends
// on it is not made again.
bool sameContent(const std::string& path, const std::string& text)
{
    tsStream existing;
    std::uint64_t size = 0;
    if (existing.Open(path.c_str(), TS_OPEN_READ) < 0 || existing.Size(size) < 0 ||
        size != text.size())
        return false;
    std::string bytes(text.size(), '\0');
    for (std::size_t done = 0; done < bytes.size();) {
        const auto piece =
            static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (existing.Read(bytes.data() + done, piece, nullptr) < 0)
            return false;
        done += piece;
    }
    return bytes == text;
}

bool writeText(const std::string& path, const std::string& text, std::ostream& err)
{
    if (refuseSpecialTarget(path, err))
        return false;
    if (sameContent(path, text))
        return true;
    tsSafeSave save;
    HRESULT hr = save.Begin(path.c_str());
    for (std::size_t done = 0; hr >= 0 && done < text.size();) {
        const auto piece =
            static_cast<std::uint32_t>(std::min<std::size_t>(text.size() - done, 1 << 30));
        hr = save.Stream()->Write(text.data() + done, piece);
        done += piece;
    }
    if (hr >= 0)
        hr = save.Commit();
    if (hr < 0) {
        ReportFailure(err, "cannot write", path, hr, save.SystemError(),
                      "not every byte could be written");
        return false;
    }
    return true;
}

int header(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    HeaderOptions options;
    options.form = arguments.form;
    options.prefix = arguments.prefix;
    options.nameSpace = arguments.nameSpace;
    options.source = arguments.files[0];
    std::string problem = PrefixProblem(options.prefix);
    if (problem.empty() && !options.nameSpace.empty())
        problem = options.form == HeaderOptions::Form::Defines
                      ? "--namespace needs --enum or --constexpr: macros know no namespace"
                      : NamespaceProblem(options.nameSpace);
    if (!problem.empty()) {
        Report(err, problem);
        return EXIT_USAGE;
    }

    LayoutDataObject layout;
    const LayoutInput input = ReadLayoutInput(options.source, layout);
    if (input.result < 0) {
        ReportLayoutInput(err, options.source, input);
        return EXIT_UNREADABLE;
    }
    WarnTrailing(err, options.source, input);
    const std::vector<HeaderProblem> problems = CheckHeaderNames(layout, options.prefix);
    if (!problems.empty()) {
        const std::string file = Printable(options.source, std::string::npos);
        for (const HeaderProblem& p : problems) {
            std::string name;
            AppendNameJson(name, p.name);
            err << file << ':' << p.index + 2 << ": error: " << name << ": " << p.message << '\n';
        }
        Report(err, "no header written: " + std::to_string(problems.size()) +
                        (problems.size() == 1 ? " error" : " errors"));
        return EXIT_USAGE;
    }
    const std::string text = LayoutHeader(layout, options);
    if (arguments.files.size() == 1) {
        out << text << std::flush;
        return EXIT_OK;
    }
    return writeText(arguments.files[1], text, err) ? EXIT_OK : EXIT_FAILED;
}

// The option at arguments[i] for command, taking its value from the next argument where it
// has one. False with a message for one the command does not know.
bool parseOption(const std::string& command, const std::vector<std::string>& arguments,
                 std::size_t& i, Arguments& parsed, std::ostream& err)
{
    const std::string& option = arguments[i];
    const auto value = [&](auto& into, const char* what) {
        if (++i == arguments.size()) {
            Report(err, option + " needs " + what);
            return false;
        }
        into = arguments[i];
        return true;
    };
    const bool tables = command == "diff" || command == "check";
    if (option == "--trace")
        parsed.trace = true;
    else if (option == "--json" && tables)
        parsed.json = true;
    else if (option == "--strict" && command == "check")
        parsed.strict = true;
    else if (option == "--current" && command == "render")
        return value(parsed.current, "the index of a control");
    else if (option == "--size" && command == "render")
        return value(parsed.size, "a number of pixels");
    else if (option == "--labels" && command == "render")
        parsed.labels = true;
    else if (option == "--prefix" && command == "header")
        return value(parsed.prefix, "the text to put before each name");
    else if (option == "--namespace" && command == "header")
        return value(parsed.nameSpace, "a name") && !parsed.nameSpace.empty();
    else if ((option == "--enum" || option == "--constexpr") && command == "header") {
        const auto form =
            option == "--enum" ? HeaderOptions::Form::Enum : HeaderOptions::Form::Constexpr;
        if (parsed.form != HeaderOptions::Form::Defines && parsed.form != form) {
            Report(err, "--enum and --constexpr exclude each other");
            return false;
        }
        parsed.form = form;
    } else {
        Report(err, "unknown option '" + Printable(option, 40) + "'");
        return false;
    }
    return true;
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
    const char* usage = CommandUsage(command);
    if (!usage) {
        Report(err, "unknown command '" + Printable(command, 40) + "'");
        err << GENERAL_USAGE;
        return EXIT_USAGE;
    }

    Arguments parsed;
    bool options = true;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!options || argument.size() < 2 || argument[0] != '-') {
            parsed.files.push_back(argument);
        } else if (argument == "--help" || argument == "-h") {
            out << usage;
            return EXIT_OK;
        } else if (argument == "--") {
            options = false; // what follows is a file, even when it starts with '-'
        } else if (!parseOption(command, arguments, i, parsed, err)) {
            err << usage;
            return EXIT_USAGE;
        }
    }
    const std::size_t files = parsed.files.size();
    const bool fileCountFits = command == "dump"     ? files == 1
                               : command == "check"  ? files >= 1
                               : command == "header" ? files == 1 || files == 2
                                                     : files == 2;
    if (!fileCountFits) {
        err << usage;
        return EXIT_USAGE;
    }

    const int previousHandle = tsTraceHandle();
    if (parsed.trace)
        tsTraceAttach(2);
    int status = EXIT_OK;
    if (command == "dump")
        status = dump(parsed.files[0], out, err);
    else if (command == "make")
        status = make(parsed.files[0], parsed.files[1], err);
    else if (command == "render")
        status = render(parsed, err);
    else if (command == "header")
        status = header(parsed, out, err);
    else if (command == "diff")
        status = RunDiff(parsed.files[0], parsed.files[1], parsed.json, out, err);
    else
        status = RunCheck(parsed.files, parsed.strict, parsed.json, out);
    tsTraceAttach(previousHandle);
    return status;
}
