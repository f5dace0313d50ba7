// Byte-exact synchronous reading and writing of one file, behind two small interfaces.
#pragma once

#include "../tsResult.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class tsInputStream
{
public:
    virtual ~tsInputStream() = default;
    // Succeeds only when exactly size bytes arrive; bytesRead (may be null) gets the count.
    virtual HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) = 0;
    virtual HRESULT Skip(std::uint64_t count) = 0;

    // For readers that parse many small values: the bytes that have arrived and are not read
    // yet, at least wanted of them where the stream still has them. Peek never fails and
    // never traces: a fault stays for the next Read to report. Consume(count) then reads
    // count of them. A stream without such bytes gives none, and the caller reads as usual.
    virtual std::uint32_t Peek(const std::uint8_t*& bytes, std::uint32_t wanted)
    {
        (void)wanted;
        bytes = nullptr;
        return 0;
    }
    virtual void Consume(std::uint32_t count) { (void)count; }
    // The bytes left to read, where the stream knows them.
    virtual bool BytesLeft(std::uint64_t& left)
    {
        (void)left;
        return false;
    }
};

class tsOutputStream
{
public:
    virtual ~tsOutputStream() = default;
    // Succeeds only when all size bytes were taken.
    virtual HRESULT Write(const void* buffer, std::uint32_t size) = 0;
};

constexpr std::uint32_t TS_OPEN_CREATE = 1;
constexpr std::uint32_t TS_OPEN_WRITE = 2;
constexpr std::uint32_t TS_OPEN_READ = 4;

class tsStream : public tsInputStream, public tsOutputStream
{
public:
    tsStream() = default;
    ~tsStream() override;
    tsStream(const tsStream&) = delete;
    tsStream& operator=(const tsStream&) = delete;

    // Regular files only (links to them included): anything else is refused at once, a
    // directory with the system's EISDIR, a FIFO, socket or device with TS_E_NOT_REGULAR_FILE.
    HRESULT Open(const char* path, std::uint32_t flags);
    HRESULT Close();

    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) override;
    HRESULT Skip(std::uint64_t count) override;
    std::uint32_t Peek(const std::uint8_t*& bytes, std::uint32_t wanted) override;
    void Consume(std::uint32_t count) override;
    bool BytesLeft(std::uint64_t& left) override;
    HRESULT Write(const void* buffer, std::uint32_t size) override;

    // origin 0 from the start, 1 from the current position, 2 from the end.
    HRESULT Seek(int origin, std::int32_t distance);

    // Forces what was written onto the disk; a save calls it before it trusts the file.
    HRESULT Flush();

    bool IsOpen() const { return m_file >= 0; }

    // The open file's length in bytes.
    HRESULT Size(std::uint64_t& size);

    // The platform error behind the last failure of a platform call, or 0. A short write
    // returns E_FAIL whatever the platform said; this keeps what it said (a full disk).
    int SystemError() const { return m_systemError; }

private:
    HRESULT RegularFileCheck(const char* path);
    HRESULT Failure(int error);

    // Bytes read ahead but not yet handed out go back to the file position before anything
    // else moves it.
    void DropReadAhead();

    int m_file = -1; // the open file's descriptor, -1 while none is open
    // Small reads are served from one larger read of the file: same bytes, codes and counts,
    // far fewer system calls.
    std::vector<char> m_readAhead;
    std::size_t m_readPosition = 0;
    std::size_t m_readEnd = 0;
    int m_systemError = 0;
};
