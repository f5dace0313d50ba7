#include "tsInPlaceSave.h"

#include "tsRetry.h"
#include "tsSaveNames.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_backupGuard;
std::string g_backupFolder;
bool g_backupFolderSet = false;

std::string defaultBackupFolder()
{
    std::string data;
    // The XDG rule: a relative XDG_DATA_HOME is ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        data = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = ::getpwuid(::getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || !*home)
            return {};
        data = std::string(home) + "/.local/share";
    }
    return data + "/Local AppWizard-Generated Applications/Karvelo/backup";
}

// Creates folder and the folders above it that are missing, private to the user.
int makeFolders(const std::string& folder)
{
    if (folder.empty())
        return ENOENT;
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash == std::string::npos)
            break;
    }
    struct stat info
    {
    };
    if (::stat(folder.c_str(), &info) != 0)
        return errno;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

int readAll(int fd, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::uint8_t chunk[64 * 1024];
    for (off_t at = 0;;) {
        const ssize_t got =
            tsRetryOnInterrupt([&] { return ::pread(fd, chunk, sizeof chunk, at); });
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        bytes.insert(bytes.end(), chunk, chunk + got);
        at += got;
    }
}

int writeAll(int fd, const std::vector<std::uint8_t>& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t put = tsRetryOnInterrupt([&] {
            return ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        });
        if (put < 0)
            return errno;
        if (put == 0)
            return EIO;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

// The whole of bytes in fd, nothing after them, on the disk.
int replaceContent(int fd, const std::vector<std::uint8_t>& bytes)
{
    int error = writeAll(fd, bytes);
    if (!error &&
        tsRetryOnInterrupt([&] { return ::ftruncate(fd, static_cast<off_t>(bytes.size())); }) != 0)
        error = errno;
    if (!error && tsRetryOnInterrupt([&] { return ::fsync(fd); }) != 0)
        error = errno;
    return error;
}

// Writes a synced copy of old into the backup folder; path gets its name.
int writeBackup(const std::string& targetName, const std::vector<std::uint8_t>& old,
                std::string& path)
{
    const std::string folder = tsBackupFolder();
    if (const int error = makeFolders(folder))
        return error;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        path = folder + "/" + tsBackupName(targetName);
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = replaceContent(fd, old);
    ::close(fd);
    if (error)
        ::unlink(path.c_str());
    else
        tsSyncFolder(folder);
    return error;
}

} // namespace

void tsSyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void tsSetBackupFolder(const std::string& folder)
{
    const std::lock_guard<std::mutex> lock(g_backupGuard);
    g_backupFolder = folder;
    g_backupFolderSet = true;
}

std::string tsBackupFolder()
{
    const std::lock_guard<std::mutex> lock(g_backupGuard);
    return g_backupFolderSet ? g_backupFolder : defaultBackupFolder();
}

HRESULT tsWriteInPlace(int target, const std::string& targetName,
                       const std::vector<std::uint8_t>& bytes, int& systemError)
{
    std::vector<std::uint8_t> old;
    struct stat before
    {
    };
    int error = ::fstat(target, &before) != 0 ? errno : readAll(target, old);
    std::string backup;
    if (!error)
        error = writeBackup(targetName, old, backup);
    if (!error && !bytes.empty()) {
        // Room for every new byte before the first old one goes: a full disk fails here.
        error = ::posix_fallocate(target, 0, static_cast<off_t>(bytes.size()));
        struct stat after
        {
        };
        if (error) {
            // A reservation that failed part-way may have lengthened the file.
            if (::fstat(target, &after) == 0 && after.st_size != before.st_size) {
                [[maybe_unused]] const int shrunk = ::ftruncate(target, before.st_size);
            }
            ::unlink(backup.c_str());
        }
    }
    if (!error) {
        error = replaceContent(target, bytes);
        // After a failed write the old bytes go back; the copy stays unless they did.
        if (!error || replaceContent(target, old) == 0)
            ::unlink(backup.c_str());
    }
    systemError = error;
    return HRESULT_FROM_WIN32(static_cast<std::uint32_t>(error));
}
