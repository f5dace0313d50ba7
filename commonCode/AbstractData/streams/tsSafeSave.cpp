#include "tsSafeSave.h"

#include "../tsTrace.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
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
            return S_ISDIR(info.st_mode) ? errorResult(EISDIR) : S_OK;
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
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

} // namespace

tsSafeSave::~tsSafeSave()
{
    Abandon();
}

HRESULT tsSafeSave::Begin(const char* path)
{
    Abandon();
    HRESULT hr = resolveTarget(path, m_target);
    if (hr >= 0) {
        struct stat info
        {
        };
        m_mode = ::stat(m_target.c_str(), &info) == 0 ? (info.st_mode & 07777u) : defaultMode();
        // Another stream that has the target open keeps it: the save is refused as a
        // sharing violation instead of replacing the file under that stream's feet.
        m_targetLock = ::open(m_target.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_targetLock >= 0 && ::flock(m_targetLock, LOCK_EX | LOCK_NB) != 0) {
            hr = errorResult(errno);
        }
    }
    if (hr >= 0) {
        std::string pattern = folderOf(m_target) + "/." + nameOf(m_target) + ".XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) {
            ::close(fd);
            m_temporary = pattern;
            hr = m_stream.Open(m_temporary.c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE);
        } else if (errno == EACCES || errno == EPERM || errno == EROFS) {
            // The folder takes no new file: the old way, straight into the target.
            if (m_targetLock >= 0) {
                ::close(m_targetLock);
                m_targetLock = -1;
            }
            m_inPlace = true;
            hr = m_stream.Open(m_target.c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE);
        } else {
            hr = errorResult(errno);
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
    HRESULT hr = m_open ? m_stream.Flush() : E_UNEXPECTED;
    if (hr >= 0 && !m_inPlace) {
        if (::chmod(m_temporary.c_str(), m_mode) != 0 ||
            ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
            hr = errorResult(errno);
        else
            m_temporary.clear();
    }
    if (hr >= 0 && !m_inPlace) {
        // Make the rename itself durable.
        const int folder = ::open(folderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
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
    if (m_targetLock >= 0) {
        ::close(m_targetLock);
        m_targetLock = -1;
    }
    m_open = false;
    m_inPlace = false;
}
