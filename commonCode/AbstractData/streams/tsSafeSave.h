// Replaces a file only once its new content is complete on disk.
#pragma once

#include "tsInPlaceSave.h" // tsSetBackupFolder
#include "tsMemoryStream.h"
#include "tsStream.h"

#include <string>

// Begin opens a stream on a new file beside the target; Commit flushes it and renames it over
// the target, so a save that fails anywhere leaves the old file exactly as it was. A symbolic
// link is followed to the file it names (the link stays a link), and the target's permission
// bits carry over.
//
// An existing target must be a regular file that this process may open for writing: what the
// system refuses (a read-only file for an ordinary user, a read-only mount) fails the save
// instead of being replaced by the rename. Where the folder takes no new file, and where the
// target has more than one name (hard links, which a rename would part), the target is
// written in place, with a copy of its old bytes kept in the backup folder meanwhile
// (tsSetBackupFolder in tsInPlaceSave.h).
class tsSafeSave
{
public:
    tsSafeSave() = default;
    ~tsSafeSave();
    tsSafeSave(const tsSafeSave&) = delete;
    tsSafeSave& operator=(const tsSafeSave&) = delete;

    HRESULT Begin(const char* path);
    tsOutputStream* Stream();
    HRESULT Commit();
    // Drops the new file; the target stays as it was.
    void Abandon();

    // True when Begin chose to write into the target itself.
    bool InPlace() const { return m_inPlace; }

    // The platform error behind the last failure, or 0, also where the code is E_FAIL for a
    // write that stopped short (a full disk).
    int SystemError() const;

private:
    HRESULT OpenTarget();
    HRESULT CreateTemporary();
    HRESULT Failure(int error);

    tsStream m_stream;        // the new file
    tsMemoryStream m_pending; // in place: the new bytes, kept until Commit
    std::string m_target;     // the real file, links resolved
    std::string m_temporary;  // the new file, empty while none exists
    int m_targetFile = -1;    // open for writing, locked: keeps other streams off it
    unsigned m_mode = 0;
    unsigned long m_links = 0; // names of the existing target
    bool m_inPlace = false;
    bool m_open = false;
    int m_systemError = 0;
};
