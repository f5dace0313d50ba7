// Controls on the clipboard: as the JSON text that laytool dump prints, so that a text editor
// can take them and give them back, and as the bytes of a .lay file under a type of our own,
// which a paste into the editor reads first. Both are made when a reader asks for them: a
// copy of a hundred thousand controls costs the copy of their records.
#pragma once

#include "LayoutDataObject.h"

#include <QString>

#include <vector>

inline constexpr char CONTROLS_MIME_TYPE[] = "application/x-karvelo-controls";

void CopyControlsToClipboard(std::vector<LayoutControl> controls);
// Whether the clipboard holds anything a paste could try: our type or text.
bool ClipboardMayHoldControls();
// The controls on the clipboard; false, with the reason in German, when it holds none.
bool ControlsFromClipboard(std::vector<LayoutControl>& controls, QString& why);
