// What a save may replace: write-protected files, files that are not regular, long names.
#include "abstractdata/ChildProcess.h"
#include "abstractdata/SafeSaveHelpers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

using namespace testing_support;

namespace {

// A folder the unprivileged user of the tests owns (root hands it over to nobody).
std::string userFolder(const TempDir& dir, const std::string& name)
{
    const std::string folder = dir.file(name);
    std::filesystem::create_directory(folder);
    ::chmod(dir.path().c_str(), 0755);
    if (::geteuid() == 0) {
        [[maybe_unused]] int ignored = ::chown(folder.c_str(), NOBODY, NOGROUP);
    }
    return folder;
}

void writeUserFile(const std::string& path, const std::string& content, mode_t mode)
{
    writeFile(path, content);
    ::chmod(path.c_str(), mode);
    if (::geteuid() == 0) {
        [[maybe_unused]] int ignored = ::chown(path.c_str(), NOBODY, NOGROUP);
    }
}

} // namespace

// The system decides who may write a file: a save that could only replace it by a rename
// would overrule that, so it fails and the file keeps every byte and its mode.
TEST(SafeSaveTargets, WriteProtectedFilesStayAsTheyAre)
{
    TempDir dir;
    const std::string folder = userFolder(dir, "user");
    writeUserFile(folder + "/readonly.lay", "old", 0444);
    writeUserFile(folder + "/writable.lay", "old", 0644);
    const bool othersFile = ::geteuid() == 0;
    if (othersFile)
        writeFile(folder + "/root.lay", std::string("root's")); // root's file, 0644

    EXPECT_CHILD_CLEAN(inChild([&] {
        Findings found;
        if (!dropPrivileges())
            return std::string("cannot drop privileges");
        found.check(save(folder + "/readonly.lay", "new") == HRESULT_FROM_WIN32(EACCES),
                    "a 0444 file is refused");
        found.check(contentOf(folder + "/readonly.lay") == "old", "the 0444 file is unchanged");
        if (othersFile) {
            found.check(save(folder + "/root.lay", "new") == HRESULT_FROM_WIN32(EACCES),
                        "another user's file is refused");
            found.check(contentOf(folder + "/root.lay") == "root's", "root's file is unchanged");
        }
        found.check(save(folder + "/writable.lay", "new") == S_OK, "a writable file saves");
        found.check(contentOf(folder + "/writable.lay") == "new", "with the new bytes");
        return found.text;
    }));
    EXPECT_EQ(namesIn(folder).size(), othersFile ? 3u : 2u) << "no temporary file stays";
    struct stat info
    {
    };
    ASSERT_EQ(::stat((folder + "/readonly.lay").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);

    if (::geteuid() == 0) {
        // Root may write any file: the system grants it, so the save does too.
        EXPECT_EQ(save(folder + "/readonly.lay", "by root"), S_OK);
        EXPECT_EQ(contentOf(folder + "/readonly.lay"), "by root");
        ASSERT_EQ(::stat((folder + "/readonly.lay").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0444u);
    }
}

TEST(SafeSaveTargets, ReadOnlyMountsRefuseTheSave)
{
    TempDir dir;
    const std::string mount = dir.file("mount");
    std::filesystem::create_directory(mount);
    EXPECT_CHILD_CLEAN(inChild([&] {
        std::string why = privateMounts();
        if (why.empty())
            why = mountTmpfs(mount, 1 << 20);
        if (!why.empty())
            return why;
        writeFile(mount + "/a.lay", std::string("old"));
        if (::mount(nullptr, mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return std::string("SKIP: no read-only remount: ") + std::strerror(errno);
        Findings found;
        found.check(save(mount + "/a.lay", "new") == HRESULT_FROM_WIN32(EROFS), "EROFS");
        found.check(contentOf(mount + "/a.lay") == "old", "the file is unchanged");
        found.check(save(mount + "/b.lay", "new") == HRESULT_FROM_WIN32(EROFS),
                    "no new file either");
        found.check(namesIn(mount) == std::vector<std::string>{"a.lay"}, "nothing added");
        return found.text;
    }));
}

// A FIFO, socket or device is never opened for the save nor replaced by a regular file; the
// refusal comes at once. (The old way waited on a FIFO forever and, for root, renamed over
// a device node.)
TEST(SafeSaveTargets, FilesThatAreNotRegularAreRefusedAtOnce)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo.lay").c_str(), 0666), 0);
    ASSERT_EQ(::symlink("fifo.lay", dir.file("fifo-link.lay").c_str()), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", dir.file("socket.lay").c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // A node of the null device, made here so no test ever aims at the system's own.
    const bool device = ::mknod(dir.file("device.lay").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    std::filesystem::create_directory(dir.file("folder.lay"));
    const auto before = namesIn(dir.path());

    EXPECT_CHILD_CLEAN(inChild(
        [&] {
            Findings found;
            for (const char* name : {"fifo.lay", "fifo-link.lay", "socket.lay", "device.lay"}) {
                if (std::string(name) == "device.lay" && !device)
                    continue;
                const HRESULT hr = save(dir.file(name), "new");
                found.check(hr == TS_E_NOT_REGULAR_FILE,
                            std::string(name) + " gave " + std::to_string(hr));
            }
            found.check(save(dir.file("folder.lay"), "new") == HRESULT_FROM_WIN32(EISDIR),
                        "a directory keeps EISDIR");
            return found.text;
        },
        20));
    ::close(listener);
    EXPECT_EQ(namesIn(dir.path()), before);
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(dir.file("fifo.lay").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    if (device) {
        ASSERT_EQ(::lstat(dir.file("device.lay").c_str(), &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device node is still a device node";
    }
}

// The temporary name has a fixed length, so a target whose own name uses all 255 bytes saves
// like any other, new and over an old file.
TEST(SafeSaveTargets, EveryNameTheSystemAcceptsCanBeSaved)
{
    TempDir dir;
    std::string umlauts;
    for (int i = 0; i < 125; ++i)
        umlauts += "\xC3\xA4";
    const std::string names[] = {std::string(251, 'a') + ".lay", "." + std::string(254, 'b'),
                                 umlauts + ".lay", std::string(255, 'c')};
    for (const std::string& name : names) {
        const std::string path = dir.file(name);
        EXPECT_EQ(save(path, "first"), S_OK) << name.size();
        EXPECT_EQ(save(path, "second"), S_OK) << name.size();
        EXPECT_EQ(contentOf(path), "second");
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 4u);
}
