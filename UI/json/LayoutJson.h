// The JSON form of a layout that laytool prints and reads back.
#pragma once

#include "LayoutDataObject.h"

class JsonSource;

#include <string>

// One JSON object: the load's result code and the records, one control a line. Coordinates
// are the shortest text that reads back to the same float; names map byte for byte to the
// characters U+0000 to U+00FF.
std::string LayoutToJson(HRESULT result, const LayoutDataObject& layout);

// One coordinate as dump prints it: the shortest text that reads back to the same float, or
// the strings "NaN", "NaN(0x7FC00001)", "Infinity", "-Infinity" (with their quotes).
void AppendFloatJson(std::string& out, float value);

// The same without the quotes around NaN and the infinities: for text meant to be read.
std::string FloatText(float value);

// A name as dump prints it: a JSON string whose characters are the name's bytes.
void AppendNameJson(std::string& out, const tstring& name);

// Parses the form above into layout (replacing its controls). Numbers go from their JSON
// text straight to float. On failure returns false with a message that names the line and
// column for a syntax error, or the field for a wrong value.
bool LayoutFromJson(const std::string& text, LayoutDataObject& layout, std::string& error);
// The same for text that arrives a piece at a time: the reading stops at the first byte that
// is wrong, and what the source reports when it cannot read on is the failure.
bool LayoutFromJson(JsonSource& source, LayoutDataObject& layout, std::string& error);
