// Replaces a file only once its new content is complete on disk.
#pragma once

#include "tsStream.h"

#include <string>

// Begin opens a stream on a new file beside the target; Commit flushes it and renames it over
// the target, so a save that fails anywhere leaves the old file exactly as it was. A symbolic
// link is followed to the file it names (the link stays a link), and the target's permission
// bits carry over. Only where the folder takes no new file is the target written in place.
class tsSafeSave
{
public:
    tsSafeSave() = default;
    ~tsSafeSave();
    tsSafeSave(const tsSafeSave&) = delete;
    tsSafeSave& operator=(const tsSafeSave&) = delete;

    HRESULT Begin(const char* path);
    tsOutputStream* Stream() { return &m_stream; }
    HRESULT Commit();
    // Drops the new file; the target stays as it was.
    void Abandon();

    // True when Begin had to write into the target itself.
    bool InPlace() const { return m_inPlace; }

private:
    tsStream m_stream;
    std::string m_target;    // the real file, links resolved
    std::string m_temporary; // the new file, empty while none exists
    int m_targetLock = -1;   // keeps other streams off the target until the rename
    unsigned m_mode = 0;
    bool m_inPlace = false;
    bool m_open = false;
};
