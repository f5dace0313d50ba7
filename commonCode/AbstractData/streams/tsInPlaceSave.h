// Writing a save into the target itself, for folders that take no new file.
#pragma once

#include "../tsResult.h"

#include <cstdint>
#include <string>
#include <vector>

// The folder that keeps a copy of a target's old bytes while it is rewritten in place. Set
// once by the program; until then it is $XDG_DATA_HOME (or ~/.local/share) followed by
// "Local AppWizard-Generated Applications/Karvelo/backup", the editor's own data folder.
void tsSetBackupFolder(const std::string& folder);
std::string tsBackupFolder();

// Replaces the content of the regular file open in target (read and write) with bytes. Before
// anything changes, the new size is reserved and the old bytes are copied to the backup folder
// and synced; if either fails, the file is untouched. The copy is removed once the new bytes
// are synced, or once the old ones are back after a failed write; otherwise it stays for the
// user. On failure, systemError gets the platform's error number.
// Makes what happened to the names in folder (a new file, a rename) durable; best effort.
void tsSyncFolder(const std::string& folder);

HRESULT tsWriteInPlace(int target, const std::string& targetName,
                       const std::vector<std::uint8_t>& bytes, int& systemError);
