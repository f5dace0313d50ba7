#include "tsSaveNames.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t TEMPORARY_PREFIX = 40;
constexpr std::size_t BACKUP_PREFIX = 100;
constexpr std::size_t RANDOM_LENGTH = 8;
constexpr char MARK[] = ".karvelo-save.";
constexpr char ALPHABET[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// At most limit bytes of name, never ending inside a UTF-8 sequence.
std::string prefixOf(const std::string& name, std::size_t limit)
{
    if (name.size() <= limit)
        return name;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

// FNV-1a: tells names apart that share their first bytes; no secret is involved.
std::string hashOf(const std::string& name)
{
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (unsigned char byte : name) {
        hash ^= byte;
        hash *= 0x100000001B3ull;
    }
    static constexpr char HEX[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = HEX[hash & 0xF];
    return text;
}

std::string randomPart()
{
    static std::mutex guard;
    static std::mt19937_64 generator = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                           static_cast<unsigned>(::getpid())};
        return std::mt19937_64(seed);
    }();
    const std::lock_guard<std::mutex> lock(guard);
    // A forked child starts with its parent's state: the pid keeps their names apart too.
    std::uint64_t bits = generator() ^ (static_cast<std::uint64_t>(::getpid()) << 20);
    std::string text(RANDOM_LENGTH, 'a');
    for (char& c : text) {
        c = ALPHABET[bits % (sizeof ALPHABET - 1)];
        bits /= sizeof ALPHABET - 1;
    }
    return text;
}

std::string temporaryStem(const std::string& targetName)
{
    return "." + prefixOf(targetName, TEMPORARY_PREFIX) + "~" + hashOf(targetName) + MARK;
}

} // namespace

std::string tsTemporaryName(const std::string& targetName)
{
    return temporaryStem(targetName) + randomPart();
}

bool tsIsTemporaryOf(const std::string& entry, const std::string& targetName)
{
    const std::string stem = temporaryStem(targetName);
    if (entry.size() != stem.size() + RANDOM_LENGTH || entry.compare(0, stem.size(), stem) != 0)
        return false;
    return entry.find_first_not_of(ALPHABET, stem.size()) == std::string::npos;
}

std::string tsBackupName(const std::string& targetName)
{
    return prefixOf(targetName, BACKUP_PREFIX) + "~" + hashOf(targetName) + "." + randomPart() +
           ".backup";
}

void tsRemoveLeftovers(const std::string& folder, const std::string& targetName)
{
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (!tsIsTemporaryOf(name, targetName))
            continue;
        const std::string path = folder + "/" + name;
        // A link or anything but a regular file under our name is not ours to remove.
        const int fd =
            ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened
        {
        }, named{};
        // The lock is held by a save still writing the file; once ours, it is a leftover. The
        // name must still lead to the file we locked.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(listing);
}
