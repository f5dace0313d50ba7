#include "tsStream.h"

#include "../tsTrace.h"
#include "tsRetry.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

HRESULT errorResult(int error)
{
    return HRESULT_FROM_WIN32(static_cast<std::uint32_t>(error));
}

constexpr std::size_t READ_AHEAD = 64 * 1024;

} // namespace

tsStream::~tsStream()
{
    HRESULT hr = Close();
    ASSERT_HRESULT(hr);
}

HRESULT tsStream::Open(const char* path, std::uint32_t flags)
{
    Close();
    m_systemError = 0;

    const bool write = (flags & TS_OPEN_WRITE) != 0;
    const bool read = !write || (flags & TS_OPEN_READ) != 0;
    const bool create = (flags & TS_OPEN_CREATE) != 0;

    int access = write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY;
    // Never O_TRUNC: an existing file is emptied only once our lock on it is held, so a
    // file that another stream has open is left as it is. O_NONBLOCK keeps a FIFO from
    // holding the open until a peer appears; it is cleared once the file proved regular.
    int openFlags = access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (create ? O_CREAT : 0);

    // Only regular files are streams: a FIFO or device would block, never end, or be
    // emptied. Looking first spares a device the side effects of being opened at all.
    HRESULT hr = RegularFileCheck(path);
    int fd = -1;
    if (hr >= 0) {
        fd = tsRetryOnInterrupt([&] { return ::open(path, openFlags, 0666); });
        if (fd < 0)
            hr = Failure(errno);
    }
    if (fd >= 0) {
        struct stat info
        {
        };
        if (::fstat(fd, &info) != 0) {
            hr = Failure(errno);
        } else if (!S_ISREG(info.st_mode)) {
            hr = S_ISDIR(info.st_mode) ? Failure(EISDIR) : TS_E_NOT_REGULAR_FILE;
        } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
            hr = Failure(errno);
        } else if (tsRetryOnInterrupt(
                       [&] { return ::flock(fd, (write ? LOCK_EX : LOCK_SH) | LOCK_NB); }) != 0) {
            // Writers share with nobody, readers only with readers.
            hr = Failure(errno);
        } else if (create) {
            int truncated = write ? tsRetryOnInterrupt([&] { return ::ftruncate(fd, 0); })
                                  : tsRetryOnInterrupt([&] { return ::truncate(path, 0); });
            if (truncated != 0)
                hr = Failure(errno);
        }
        if (hr < 0)
            ::close(fd);
        else
            m_file = fd;
    }

    if (hr < 0) {
        TS_TRACE("Error: Open file '%s' failed.\n", path);
        ASSERT_HRESULT(hr);
    }
    return hr;
}

HRESULT tsStream::RegularFileCheck(const char* path)
{
    struct stat info
    {
    };
    if (::stat(path, &info) != 0 || S_ISREG(info.st_mode))
        return S_OK; // a missing file is the open's to report
    return S_ISDIR(info.st_mode) ? Failure(EISDIR) : TS_E_NOT_REGULAR_FILE;
}

HRESULT tsStream::Failure(int error)
{
    m_systemError = error;
    return errorResult(error);
}

HRESULT tsStream::Size(std::uint64_t& size)
{
    struct stat info
    {
    };
    HRESULT hr = S_OK;
    if (m_file < 0)
        hr = E_UNEXPECTED;
    else if (::fstat(m_file, &info) != 0)
        hr = Failure(errno);
    else
        size = static_cast<std::uint64_t>(info.st_size);
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT tsStream::Close()
{
    if (m_file >= 0) {
        ::close(m_file); // the outcome is of no use to anybody here
        m_file = -1;
    }
    m_readPosition = m_readEnd = 0;
    return S_OK;
}

HRESULT tsStream::Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead)
{
    HRESULT hr = S_OK;
    if (m_file < 0) {
        hr = E_UNEXPECTED;
    } else {
        auto* out = static_cast<char*>(buffer);
        std::uint32_t total = 0;
        while (total < size) {
            if (m_readPosition < m_readEnd) {
                const std::size_t take =
                    std::min<std::size_t>(size - total, m_readEnd - m_readPosition);
                std::memcpy(out + total, m_readAhead.data() + m_readPosition, take);
                m_readPosition += take;
                total += static_cast<std::uint32_t>(take);
                continue;
            }
            const std::uint32_t wanted = size - total;
            // Large reads go straight into the caller's buffer; small ones through ours.
            const bool direct = wanted >= READ_AHEAD;
            if (!direct && m_readAhead.size() < READ_AHEAD)
                m_readAhead.resize(READ_AHEAD);
            char* into = direct ? out + total : m_readAhead.data();
            const std::size_t room = direct ? wanted : READ_AHEAD;
            ssize_t got = tsRetryOnInterrupt([&] { return ::read(m_file, into, room); });
            if (got < 0) {
                hr = Failure(errno);
                break;
            }
            if (got == 0)
                break;
            if (direct) {
                total += static_cast<std::uint32_t>(got);
            } else {
                m_readPosition = 0;
                m_readEnd = static_cast<std::size_t>(got);
            }
        }
        if (bytesRead)
            *bytesRead = total;
        if (total != size)
            hr = E_FAIL;
    }
    ASSERT_HRESULT(hr);
    return hr;
}

std::uint32_t tsStream::Peek(const std::uint8_t*& bytes, std::uint32_t wanted)
{
    bytes = nullptr;
    if (m_file < 0)
        return 0;
    if (m_readEnd - m_readPosition < wanted) {
        // What is left moves to the front, then more arrives behind it until there is enough
        // or the file ends. A failing read leaves its fault to the next Read.
        // The buffer is made first: a peek before any read finds none to move from.
        if (m_readAhead.size() < std::max<std::size_t>(wanted, READ_AHEAD))
            m_readAhead.resize(std::max<std::size_t>(wanted, READ_AHEAD));
        const std::size_t left = m_readEnd - m_readPosition;
        std::memmove(m_readAhead.data(), m_readAhead.data() + m_readPosition, left);
        m_readPosition = 0;
        m_readEnd = left;
        while (m_readEnd < wanted) {
            const ssize_t got = tsRetryOnInterrupt([&] {
                return ::read(m_file, m_readAhead.data() + m_readEnd,
                              m_readAhead.size() - m_readEnd);
            });
            if (got <= 0)
                break;
            m_readEnd += static_cast<std::size_t>(got);
        }
    }
    bytes = reinterpret_cast<const std::uint8_t*>(m_readAhead.data()) + m_readPosition;
    return static_cast<std::uint32_t>(m_readEnd - m_readPosition);
}

void tsStream::Consume(std::uint32_t count)
{
    m_readPosition += std::min<std::size_t>(count, m_readEnd - m_readPosition);
}

bool tsStream::BytesLeft(std::uint64_t& left)
{
    struct stat status = {};
    const off_t at = m_file < 0 ? -1 : ::lseek(m_file, 0, SEEK_CUR);
    if (at < 0 || ::fstat(m_file, &status) != 0 || status.st_size < at)
        return false;
    left = static_cast<std::uint64_t>(status.st_size - at) + (m_readEnd - m_readPosition);
    return true;
}

void tsStream::DropReadAhead()
{
    if (m_readPosition < m_readEnd)
        ::lseek(m_file, -static_cast<off_t>(m_readEnd - m_readPosition), SEEK_CUR);
    m_readPosition = m_readEnd = 0;
}

HRESULT tsStream::Write(const void* buffer, std::uint32_t size)
{
    HRESULT hr = S_OK;
    if (m_file < 0) {
        hr = E_UNEXPECTED;
    } else {
        DropReadAhead();
        std::uint32_t total = 0;
        const auto* in = static_cast<const char*>(buffer);
        while (total < size) {
            ssize_t put =
                tsRetryOnInterrupt([&] { return ::write(m_file, in + total, size - total); });
            if (put <= 0) {
                if (put < 0)
                    hr = Failure(errno);
                break;
            }
            total += static_cast<std::uint32_t>(put);
        }
        if (total != size)
            hr = E_FAIL;
    }
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT tsStream::Seek(int origin, std::int32_t distance)
{
    HRESULT hr = S_OK;
    if (origin < 0 || origin > 2) {
        hr = E_INVALIDARG;
    } else {
        DropReadAhead();
        static constexpr int WHENCE[] = {SEEK_SET, SEEK_CUR, SEEK_END};
        if (::lseek(m_file, distance, WHENCE[origin]) < 0)
            hr = Failure(errno);
    }
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT tsStream::Skip(std::uint64_t count)
{
    HRESULT hr = Seek(1, static_cast<std::int32_t>(static_cast<std::uint32_t>(count)));
    if ((count >> 32) != 0)
        hr = E_NOTIMPL;
    ASSERT_HRESULT(hr);
    return hr;
}

HRESULT tsStream::Flush()
{
    HRESULT hr = S_OK;
    if (m_file < 0)
        hr = E_UNEXPECTED;
    else if (tsRetryOnInterrupt([&] { return ::fsync(m_file); }) != 0)
        hr = Failure(errno);
    ASSERT_HRESULT(hr);
    return hr;
}
