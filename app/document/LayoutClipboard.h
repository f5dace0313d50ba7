// Controls on the clipboard: as the JSON text that laytool dump prints, so that a text editor
// can take them and give them back, and as the same bytes under a type of our own.
#pragma once

#include "LayoutDataObject.h"

#include <QString>

#include <vector>

inline constexpr char CONTROLS_MIME_TYPE[] = "application/x-karvelo-controls";

void CopyControlsToClipboard(const std::vector<LayoutControl>& controls);
// Whether the clipboard holds anything a paste could try: our type or text.
bool ClipboardMayHoldControls();
// The controls on the clipboard; false, with the reason in German, when it holds none.
bool ControlsFromClipboard(std::vector<LayoutControl>& controls, QString& why);
