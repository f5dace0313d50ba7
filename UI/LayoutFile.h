// Loading and saving a whole .lay file by path, as the editor and laytool both do.
#pragma once

#include "LayoutDataObject.h"

// Opens path for reading and appends its records to layout (see LayoutDataObject::Read).
HRESULT LoadLayoutFile(LayoutDataObject& layout, const char* path);

// Writes layout to a new file beside path and renames it over path only when every byte is
// on disk, so a failed save leaves the old file exactly as it was.
HRESULT SaveLayoutFile(const LayoutDataObject& layout, const char* path);

// Same fields, every float bit for bit.
bool IdenticalRecords(const LayoutControl& a, const LayoutControl& b);
