// Names of the files a save makes beside its target, and the removal of those a killed save
// left behind.
#pragma once

#include <string>

// A hidden name in the target's folder, unique to this call: the target's name cut to a fixed
// length, a hash of the whole name, our mark and a random part. It stays far below the
// system's 255 bytes whatever the target's name, and tells whose leftover a file is.
std::string tsTemporaryName(const std::string& targetName);
// Whether entry is a name tsTemporaryName gives for targetName.
bool tsIsTemporaryOf(const std::string& entry, const std::string& targetName);

// A name for the copy of the target's old bytes in the backup folder.
std::string tsBackupName(const std::string& targetName);

// Removes from folder the temporary files of targetName that no running save holds: only a
// regular file whose lock can be taken goes. Everything else stays.
void tsRemoveLeftovers(const std::string& folder, const std::string& targetName);
