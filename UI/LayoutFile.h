// Loading and saving a whole .lay file by path, as the editor and laytool both do.
#pragma once

#include "LayoutDataObject.h"

// Opens path for reading and appends its records to layout (see LayoutDataObject::Read).
// systemError, when given, gets the platform error behind a failure, or 0 where there was
// none (a file that ends too early).
HRESULT LoadLayoutFile(LayoutDataObject& layout, const char* path, int* systemError = nullptr);

// The version a file's head names; false when the head cannot be read.
bool ReadLayoutVersion(const char* path, std::uint32_t& version);

// Writes layout to a new file beside path and renames it over path only when every byte is
// on disk, so a failed save leaves the old file exactly as it was (see tsSafeSave).
// systemError as above: a full disk shows here while the code is E_FAIL.
HRESULT SaveLayoutFile(const LayoutDataObject& layout, const char* path,
                       int* systemError = nullptr);

// Same fields, every float bit for bit.
bool IdenticalRecords(const LayoutControl& a, const LayoutControl& b);
// The same records in the same order, each as above.
bool IdenticalRecords(const std::vector<LayoutControl>& a, const std::vector<LayoutControl>& b);
