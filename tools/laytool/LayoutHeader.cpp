#include "LayoutHeader.h"

#include "Identifier.h"
#include "LayoutDiff.h"
#include "Printable.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <type_traits>
#include <unordered_map>

// A .lay file holds ids of 32 bits: every one fits "unsigned" and the suffix u of the header.
static_assert(std::is_same_v<decltype(LayoutControl::m_id), std::uint32_t>);

namespace {

const char* const IDENTIFIER_RULE = "(a-z, A-Z or _ first, then also 0-9)";

// C's and C++'s keywords; those of C that start with _ and a capital letter are reserved
// names in any case. Sorted, for a binary search.
// clang-format off
constexpr std::string_view KEYWORDS[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break",
    "case", "catch", "char", "char16_t", "char32_t", "char8_t", "class", "co_await", "co_return",
    "co_yield", "compl", "concept", "const", "const_cast", "consteval", "constexpr", "constinit",
    "continue", "decltype", "default", "defined", "delete", "do", "double", "dynamic_cast", "else",
    "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if",
    "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "restrict", "return", "short", "signed", "sizeof", "static", "static_assert",
    "static_cast", "struct", "switch", "template", "this", "thread_local", "throw", "true", "try",
    "typedef", "typeid", "typename", "typeof", "typeof_unqual", "union", "unsigned", "using",
    "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
};
// clang-format on
static_assert(std::is_sorted(std::begin(KEYWORDS), std::end(KEYWORDS)));

// Two underscores, or one and a capital letter, first: the compiler's and its library's.
bool isReserved(std::string_view word)
{
    return word.size() >= 2 && word[0] == '_' &&
           (word[1] == '_' || (word[1] >= 'A' && word[1] <= 'Z'));
}

// Why word cannot be the name of a constant, or "".
std::string nameProblem(const std::string& word)
{
    if (!IsIdentifier(word))
        return std::string("is not an identifier ") + IDENTIFIER_RULE;
    if (IsKeyword(word))
        return "is a keyword of C, C++ or their preprocessor";
    if (isReserved(word))
        return "is reserved to the compiler (two underscores or one and a capital letter first)";
    return {};
}

// A comment may hold the file's name, but never its end.
std::string commentText(const std::string& text)
{
    std::string out = Printable(text, 200);
    for (std::size_t at; (at = out.find("*/")) != std::string::npos;)
        out.replace(at, 2, "* /");
    return out;
}

std::string fileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// LAYTOOL_SCREEN_LAY_H for screen.lay; a control of that name pushes it aside.
std::string guardName(const LayoutDataObject& layout, const HeaderOptions& options)
{
    std::string guard = "LAYTOOL_";
    for (char c : options.prefix + fileName(options.source)) {
        if (c >= 'a' && c <= 'z')
            guard += static_cast<char>(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            guard += c;
        else
            guard += '_';
    }
    guard += "_H";
    const std::string& prefix = options.prefix;
    const auto taken = [&] {
        return std::any_of(
            layout.m_controls.begin(), layout.m_controls.end(), [&](const LayoutControl& c) {
                return guard.size() == prefix.size() + c.m_name.size() &&
                       guard.compare(0, prefix.size(), prefix) == 0 &&
                       guard.compare(prefix.size(), std::string::npos, c.m_name) == 0;
            });
    };
    while (taken())
        guard += '_';
    return guard;
}

void appendId(std::string& out, std::uint32_t id)
{
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, id).ptr);
}

} // namespace

bool IsKeyword(std::string_view word)
{
    return std::binary_search(std::begin(KEYWORDS), std::end(KEYWORDS), word);
}

std::string PrefixProblem(const std::string& prefix)
{
    const bool allowed = std::all_of(prefix.begin(), prefix.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
    return allowed ? "" : "--prefix takes letters a-z and A-Z, digits and _ only";
}

std::string NamespaceProblem(const std::string& name)
{
    // a or a::b::c, each part a name a constant could have as well.
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = name.find("::", from);
        const std::string part = name.substr(from, end == std::string::npos ? end : end - from);
        const std::string problem = nameProblem(part);
        if (!problem.empty())
            return "--namespace: '" + Printable(part, 40) + "' " + problem;
        if (end == std::string::npos)
            return {};
        from = end + 2;
    }
}

std::vector<HeaderProblem> CheckHeaderNames(const LayoutDataObject& layout,
                                            const std::string& prefix)
{
    std::vector<HeaderProblem> problems;
    std::unordered_map<std::string_view, std::size_t> first;
    first.reserve(layout.m_controls.size());
    std::string constant;
    for (std::size_t i = 0; i < layout.m_controls.size(); ++i) {
        const tstring& name = layout.m_controls[i].m_name;
        constant.assign(prefix).append(name);
        const std::string problem = nameProblem(constant);
        if (!problem.empty())
            problems.push_back({i, name,
                                (prefix.empty() ? std::string("the name ")
                                                : "the constant " + NameText(constant) + " ") +
                                    problem});
        const auto [at, added] = first.emplace(name, i);
        if (!added)
            problems.push_back({i, name,
                                "the name repeats control " + std::to_string(at->second) +
                                    " (line " + std::to_string(at->second + 2) + ")"});
    }
    return problems;
}

std::string LayoutHeader(const LayoutDataObject& layout, const HeaderOptions& options)
{
    const std::string guard = guardName(layout, options);
    std::string out = "/* Generated by laytool header from " +
                      commentText(fileName(options.source)) + "; do not edit. */\n#ifndef " +
                      guard + "\n#define " + guard + "\n\n";
    out.reserve(out.size() + layout.m_controls.size() * (options.prefix.size() + 48));
    const bool inNamespace =
        options.form != HeaderOptions::Form::Defines && !options.nameSpace.empty();
    if (inNamespace)
        out += "namespace " + options.nameSpace + " {\n\n";
    const bool enumBlock = options.form == HeaderOptions::Form::Enum && !layout.m_controls.empty();
    if (enumBlock)
        out += "enum : unsigned {\n";
    // Indexed by the form, in the order of its enum.
    const char* const before[] = {"#define ", "    ", "inline constexpr unsigned "};
    const char* const between[] = {" ", " = ", " = "};
    const char* const after[] = {"u\n", ",\n", ";\n"};
    const auto form = static_cast<std::size_t>(options.form);
    for (const LayoutControl& c : layout.m_controls) {
        out.append(before[form]).append(options.prefix).append(c.m_name).append(between[form]);
        appendId(out, c.m_id);
        out.append(after[form]);
    }
    if (enumBlock)
        out += "};\n";
    if (inNamespace)
        out += "\n} // namespace " + options.nameSpace + "\n";
    out += "\n#endif\n";
    return out;
}
