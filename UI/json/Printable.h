// Text from files and command lines, made safe and short enough for a message line.
#pragma once

#include <cstddef>
#include <string>

// text with every byte that a terminal would not show as a character written as \xHH: control
// characters, bytes that are not UTF-8, and the backslash itself (as \\), so what is shown
// reads back unambiguously. Longer than limit characters, the middle gives way to "...".
std::string Printable(const std::string& text, std::size_t limit = 120);

// line cut to at most limit characters, "..." marking the cut, never inside a character.
std::string CutLine(const std::string& line, std::size_t limit);
