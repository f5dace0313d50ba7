// The application's string table, and the prompt and tooltip of a command's entry.
#pragma once

#include <QString>

#include <map>

namespace fw {

using StringTable = std::map<unsigned, const char*>; // UTF-8 texts by id

// The table stays the caller's; LoadString reads it until another is set.
void SetStringTable(const StringTable* table);
QString LoadString(unsigned id);

// "prompt\ntooltip": an entry without the line feed has no tooltip at all.
QString PromptOf(const QString& entry);
QString TooltipOf(const QString& entry);

// Replaces %1 (and %2) as the framework's message formatting does.
QString FormatString(unsigned id, const QString& first, const QString& second = QString());

// Names are 8-bit bytes: each byte maps to the character of the same number, both ways.
QString FromBytes(const std::string& bytes);
std::string ToBytes(const QString& text);

} // namespace fw
