#include "tsSafeSave.h"

#include "../tsTrace.h"
#include "tsInPlaceSave.h"
#include "tsSaveNames.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

HRESULT errorResult(int error)
{
    return HRESULT_FROM_WIN32(static_cast<std::uint32_t>(error));
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save must really replace: links followed, also a link whose file is missing.
HRESULT resolveTarget(const std::string& path, std::string& real)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info
        {
        };
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return errorResult(errno);
            char folder[PATH_MAX];
            if (!::realpath(folderOf(current).c_str(), folder))
                return errorResult(errno);
            real = std::string(folder) + (folder[1] ? "/" : "") + nameOf(current);
            return S_OK;
        }
        if (!S_ISLNK(info.st_mode)) {
            char resolved[PATH_MAX];
            if (!::realpath(current.c_str(), resolved))
                return errorResult(errno);
            real = resolved;
            return S_OK;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), link, sizeof link - 1);
        if (length < 0)
            return errorResult(errno);
        link[length] = '\0';
        current = link[0] == '/' ? std::string(link) : folderOf(current) + "/" + link;
    }
    return errorResult(ELOOP);
}

unsigned defaultMode()
{
    // umask can only be read by setting it: two saves on different threads must not both
    // see the 0 the other one set for a moment, or the process keeps it.
    static std::mutex guard;
    const std::lock_guard<std::mutex> lock(guard);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

HRESULT fileTypeResult(mode_t mode)
{
    if (S_ISREG(mode))
        return S_OK;
    return S_ISDIR(mode) ? errorResult(EISDIR) : TS_E_NOT_REGULAR_FILE;
}

} // namespace

tsSafeSave::~tsSafeSave()
{
    Abandon();
}

HRESULT tsSafeSave::Failure(int error)
{
    m_systemError = error;
    return errorResult(error);
}

int tsSafeSave::SystemError() const
{
    return m_systemError ? m_systemError : m_stream.SystemError();
}

tsOutputStream* tsSafeSave::Stream()
{
    if (m_inPlace)
        return &m_pending;
    return &m_stream;
}

// An existing target is opened for writing, as the system grants it to this process, and
// locked; nothing is truncated. A missing one is left to the temporary file's rename.
HRESULT tsSafeSave::OpenTarget()
{
    struct stat info
    {
    };
    if (::stat(m_target.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return Failure(errno);
        m_mode = defaultMode();
        return S_OK;
    }
    // A device is never opened, a FIFO never waited for: either would take the save's place.
    HRESULT hr = fileTypeResult(info.st_mode);
    if (hr < 0)
        return hr;
    m_targetFile = ::open(m_target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_targetFile < 0)
        return Failure(errno);
    if (::fstat(m_targetFile, &info) != 0)
        return Failure(errno);
    hr = fileTypeResult(info.st_mode);
    if (hr < 0)
        return hr;
    m_mode = info.st_mode & 07777u;
    m_links = info.st_nlink;
    // Another stream that has the target open keeps it: the save is refused as a sharing
    // violation instead of replacing the file under that stream's feet.
    if (::flock(m_targetFile, LOCK_EX | LOCK_NB) != 0)
        return Failure(errno);
    return S_OK;
}

// A fresh file under a name of ours, locked by m_stream. A save that cleans up leftovers may
// take an unlocked file of ours in the moment between creation and lock: then we start over.
HRESULT tsSafeSave::CreateTemporary()
{
    const std::string folder = folderOf(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = folder + "/" + tsTemporaryName(nameOf(m_target));
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure(errno);
        }
        ::close(fd);
        m_temporary = name;
        HRESULT hr = m_stream.Open(name.c_str(), TS_OPEN_WRITE);
        struct stat info
        {
        };
        if (hr >= 0 && ::lstat(name.c_str(), &info) == 0)
            return S_OK;
        m_stream.Close();
        if (hr >= 0 || m_stream.SystemError() == ENOENT || m_stream.SystemError() == EWOULDBLOCK) {
            ::unlink(name.c_str());
            m_temporary.clear();
            continue;
        }
        return hr;
    }
    return Failure(EEXIST);
}

HRESULT tsSafeSave::Begin(const char* path)
{
    Abandon();
    m_systemError = 0;
    HRESULT hr = resolveTarget(path, m_target);
    if (hr >= 0)
        hr = OpenTarget();
    if (hr >= 0 && m_targetFile >= 0 && m_links > 1) {
        // A rename would give the new bytes to this name only; the file's other names would
        // keep the old layout. The new bytes go into the file itself at Commit.
        m_inPlace = true;
        m_pending = tsMemoryStream();
    } else if (hr >= 0) {
        hr = CreateTemporary();
        const int error = m_systemError;
        if (hr < 0 && m_targetFile >= 0 && (error == EACCES || error == EPERM || error == EROFS)) {
            // The folder takes no new file: the new bytes wait in memory and go into the
            // target itself at Commit.
            m_systemError = 0;
            m_inPlace = true;
            m_pending = tsMemoryStream();
            hr = S_OK;
        }
    }
    if (hr < 0) {
        ASSERT_HRESULT(hr);
        Abandon();
        return hr;
    }
    m_open = true;
    return S_OK;
}

HRESULT tsSafeSave::Commit()
{
    HRESULT hr = S_OK;
    if (!m_open) {
        hr = E_UNEXPECTED;
    } else if (m_inPlace) {
        // The lock's descriptor may only write; copying the old bytes needs a reader too.
        const int file = ::open(m_target.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (file < 0) {
            hr = Failure(errno);
        } else {
            hr = tsWriteInPlace(file, nameOf(m_target), m_pending.Bytes(), m_systemError);
            ::close(file);
        }
    } else {
        hr = m_stream.Flush();
        if (hr >= 0 && (::chmod(m_temporary.c_str(), m_mode) != 0 ||
                        ::rename(m_temporary.c_str(), m_target.c_str()) != 0))
            hr = Failure(errno);
        if (hr >= 0) {
            m_temporary.clear();
            // Make the rename itself durable.
            tsSyncFolder(folderOf(m_target));
        }
    }
    if (hr >= 0)
        tsRemoveLeftovers(folderOf(m_target), nameOf(m_target));
    ASSERT_HRESULT(hr);
    Abandon();
    return hr;
}

void tsSafeSave::Abandon()
{
    m_stream.Close();
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    if (m_targetFile >= 0) {
        ::close(m_targetFile);
        m_targetFile = -1;
    }
    m_pending = tsMemoryStream();
    m_open = false;
    m_inPlace = false;
    m_links = 0;
}
