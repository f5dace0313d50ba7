#include "DiffCheck.h"

#include "LayoutCheck.h"
#include "LayoutDiff.h"
#include "LayoutFile.h"
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
    std::string path; // printable
    bool loaded = true;
    LayoutProblem problem;
};

void printCheckText(const std::vector<FileProblem>& problems, std::ostream& out)
{
    for (const FileProblem& p : problems) {
        const char* severity =
            p.problem.severity == LayoutProblem::Severity::Error ? "error" : "warning";
        if (!p.loaded) {
            out << p.path << ": " << severity << ": " << p.problem.message << '\n';
            continue;
        }
        std::string name;
        AppendNameJson(name, p.problem.name);
        out << p.path << ':' << p.problem.index << ": " << severity << ": " << name << ": "
            << p.problem.message << '\n';
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
        if (p.loaded) {
            std::string name;
            AppendNameJson(name, p.problem.name);
            out << ", \"index\": " << p.problem.index << ", \"name\": " << name;
        } else {
            out << ", \"index\": null, \"name\": null";
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
        int systemError = 0;
        const HRESULT hr = LoadLayoutFile(layouts[i], paths[i]->c_str(), &systemError);
        if (hr < 0) {
            ReportFailure(err, "cannot read", *paths[i], hr, systemError, SHORT_LAYOUT);
            readable = false;
        }
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
        int systemError = 0;
        const HRESULT hr = LoadLayoutFile(layout, path.c_str(), &systemError);
        if (hr < 0) {
            FileProblem p{Printable(path, std::string::npos), false, {}};
            p.problem.severity = LayoutProblem::Severity::Error;
            p.problem.kind = "unreadable";
            p.problem.message = "cannot read: " + FailureCause(hr, systemError, SHORT_LAYOUT);
            problems.push_back(std::move(p));
            ++errors;
            continue;
        }
        for (LayoutProblem& problem : CheckLayout(layout)) {
            ++(problem.severity == LayoutProblem::Severity::Error ? errors : warnings);
            problems.push_back({Printable(path, std::string::npos), true, std::move(problem)});
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
