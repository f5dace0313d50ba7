// Result codes in the COM convention: negative is failure, 0 the only success we produce.
#pragma once

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

// The system-error rule, applied to the platform's own error numbers (errno here).
constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t error)
{
    return error == 0 ? 0 : static_cast<HRESULT>(0x80070000u | (error & 0xFFFFu));
}

constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
#endif

// The path names a FIFO, socket or device: refused before opening it could block, and before a
// save could put a regular file in its place. A directory keeps the system's own error.
constexpr HRESULT TS_E_NOT_REGULAR_FILE = static_cast<HRESULT>(0x80040200u);

// The platform's last error as a result code: errno on POSIX, GetLastError on Windows.
HRESULT tsLastErrorResult();

// The platform error number a code carries, or 0. E_INVALIDARG and E_OUTOFMEMORY follow the
// system-error rule in form only: our own code produces them, so they carry none.
int tsSystemErrorOf(HRESULT hr);
// The platform's text for an error number ("No such file or directory").
std::string tsSystemErrorText(int error);
// The cause a failure code names, in a few words, or "" for a code that names none (E_FAIL).
std::string tsResultText(HRESULT hr);
