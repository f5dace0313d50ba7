#include "DiffCheck.h"

#include "LayoutCheck.h"
#include "LayoutDiff.h"
#include "LayoutInput.h"
#include "LayoutJson.h"
#include "Printable.h"
#include "Report.h"

#include <ostream>

namespace {

constexpr int EXIT_TROUBLE = 2;

// Text that is valid UTF-8 already (Printable's) as a JSON string.
std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

struct FileProblem
{
    std::string path;      // printable
    bool ofControl = true; // else of the file as a whole: it does not load, or what follows
    LayoutProblem problem;
};

// The control's line in laytool dump's output, where an editor or a diff of the dump lands.
std::size_t dumpLine(std::size_t index)
{
    return index + 2;
}

void printCheckText(const std::vector<FileProblem>& problems, std::ostream& out)
{
    for (const FileProblem& p : problems) {
        const char* severity =
            p.problem.severity == LayoutProblem::Severity::Error ? "error" : "warning";
        if (!p.ofControl) {
            out << p.path << ": " << severity << ": " << p.problem.message << '\n';
            continue;
        }
        std::string name;
        AppendNameJson(name, p.problem.name);
        out << p.path << ':' << dumpLine(p.problem.index) << ": " << severity << ": " << name
            << ": " << p.problem.message << '\n';
    }
}

void printCheckJson(const std::vector<FileProblem>& problems, int errors, int warnings,
                    std::ostream& out)
{
    out << "{\"problems\": [";
    bool first = true;
    for (const FileProblem& p : problems) {
        out << (first ? "\n  {\"file\": " : ",\n  {\"file\": ") << jsonString(p.path);
        first = false;
        if (p.ofControl) {
            std::string name;
            AppendNameJson(name, p.problem.name);
            out << ", \"line\": " << dumpLine(p.problem.index) << ", \"index\": " << p.problem.index
                << ", \"name\": " << name;
        } else {
            out << ", \"line\": null, \"index\": null, \"name\": null";
        }
        out << ", \"severity\": \""
            << (p.problem.severity == LayoutProblem::Severity::Error ? "error" : "warning")
            << "\", \"kind\": \"" << p.problem.kind
            << "\", \"message\": " << jsonString(p.problem.message) << '}';
    }
    out << (first ? "]" : "\n]") << ", \"errors\": " << errors << ", \"warnings\": " << warnings
        << "}\n";
}

} // namespace

int RunDiff(const std::string& oldPath, const std::string& newPath, bool json, std::ostream& out,
            std::ostream& err)
{
    LayoutDataObject layouts[2];
    const std::string* paths[2] = {&oldPath, &newPath};
    bool readable = true;
    for (int i = 0; i < 2; ++i) {
        const LayoutInput input = ReadLayoutInput(*paths[i], layouts[i]);
        if (input.result < 0) {
            ReportLayoutInput(err, *paths[i], input);
            readable = false;
        }
        WarnTrailing(err, *paths[i], input);
    }
    if (!readable)
        return EXIT_TROUBLE;
    const std::vector<LayoutChange> changes = DiffLayouts(layouts[0], layouts[1]);
    out << (json ? DiffJson(changes) : DiffText(changes)) << std::flush;
    return changes.empty() ? 0 : 1;
}

int RunCheck(const std::vector<std::string>& paths, bool strict, bool json, std::ostream& out)
{
    std::vector<FileProblem> problems;
    int errors = 0, warnings = 0;
    for (const std::string& path : paths) {
        LayoutDataObject layout;
        const LayoutInput input = ReadLayoutInput(path, layout);
        const std::string printable = Printable(path, std::string::npos);
        if (input.result < 0) {
            FileProblem p{printable, false, {}};
            p.problem.severity = LayoutProblem::Severity::Error;
            p.problem.kind = "unreadable";
            p.problem.message =
                "cannot read: " + FailureCause(input.result, input.systemError, SHORT_LAYOUT);
            problems.push_back(std::move(p));
            ++errors;
            continue;
        }
        for (LayoutProblem& problem : CheckLayout(layout)) {
            ++(problem.severity == LayoutProblem::Severity::Error ? errors : warnings);
            problems.push_back({printable, true, std::move(problem)});
        }
        if (input.trailing > 0) {
            FileProblem p{printable, false, {}};
            p.problem.kind = "trailing-bytes";
            p.problem.message = TrailingText(input.trailing);
            problems.push_back(std::move(p));
            ++warnings;
        }
    }
    if (json)
        printCheckJson(problems, errors, warnings, out);
    else
        printCheckText(problems, out);
    out << std::flush;
    if (errors > 0)
        return EXIT_TROUBLE;
    return strict && warnings > 0 ? 1 : 0;
}
