// Saves into the target itself, where its folder takes no new file: the old bytes survive a
// full disk and a kill.
#include "abstractdata/ChildProcess.h"
#include "abstractdata/SafeSaveHelpers.h"
#include "streams/tsInPlaceSave.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <linux/magic.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <thread>

using namespace testing_support;

namespace {

// A folder that takes no new file from the unprivileged user, holding a.lay that the user may
// write, and a backup folder of the user's.
struct InPlaceFiles
{
    explicit InPlaceFiles(const std::string& root, const std::string& content)
        : locked(root + "/locked"), target(root + "/locked/a.lay"), backup(root + "/backup")
    {
        ::chmod(root.c_str(), 0755);
        std::filesystem::create_directory(locked);
        std::filesystem::create_directory(backup);
        writeFile(target, content);
        ::chmod(target.c_str(), 0644);
        if (::geteuid() == 0) {
            // Root owns the folder, nobody the file and the backup folder.
            [[maybe_unused]] int a = ::chown(target.c_str(), NOBODY, NOGROUP);
            [[maybe_unused]] int b = ::chown(backup.c_str(), NOBODY, NOGROUP);
        } else {
            ::chmod(locked.c_str(), 0555);
        }
    }
    const std::string locked, target, backup;
};

// Runs body in a child as the unprivileged user, with the backup folder set.
std::string asUser(const std::string& backup, const std::function<std::string(Findings&)>& body)
{
    return inChild([&] {
        if (!dropPrivileges())
            return std::string("cannot drop privileges");
        tsSetBackupFolder(backup);
        Findings found;
        return body(found) + found.text;
    });
}

// When the file's content last changed, to the nanosecond.
std::pair<long long, long long> modified(const std::string& path)
{
    struct stat info
    {
    };
    ::stat(path.c_str(), &info);
    return {info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

class InPlaceTest : public ::testing::Test
{
protected:
    std::string asUser(const std::function<std::string(Findings&)>& body)
    {
        return ::asUser(backup, body);
    }

    TempDir dir;
    const std::string old = std::string(5000, 'o');
    InPlaceFiles files{dir.path().string(), old};
    const std::string& locked = files.locked;
    const std::string& target = files.target;
    const std::string& backup = files.backup;
};

// A folder in memory where there is one (/dev/shm): syncing costs nothing there, so many
// large saves stay quick. Otherwise one under the temporary folder.
class FastDir
{
public:
    FastDir()
    {
        struct statfs info
        {
        };
        std::string pattern =
            ::statfs("/dev/shm", &info) == 0 && info.f_type == TMPFS_MAGIC
                ? "/dev/shm/karvelo-test-XXXXXX"
                : (std::filesystem::temp_directory_path() / "karvelo-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()))
            m_path = made;
    }
    ~FastDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FastDir(const FastDir&) = delete;
    FastDir& operator=(const FastDir&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

TEST_F(InPlaceTest, TheBackupLastsUntilTheNewBytesAreOnDisk)
{
    EXPECT_CHILD_CLEAN(asUser([&](Findings& found) {
        bool inPlace = false;
        found.check(save(target, std::string(9000, 'n'), &inPlace) == S_OK, "a longer save");
        found.check(inPlace, "written in place");
        found.check(contentOf(target) == std::string(9000, 'n'), "the longer bytes");
        found.check(save(target, "short") == S_OK && contentOf(target) == "short",
                    "a shorter save leaves nothing of the longer one");
        found.check(namesIn(backup).empty(), "no backup once the bytes are on disk");
        found.check(namesIn(locked) == std::vector<std::string>{"a.lay"}, "nothing beside it");

        found.check(save(locked + "/new.lay", "x") == HRESULT_FROM_WIN32(EACCES),
                    "no new file where the folder takes none");

        // The backup folder is made when missing; when it cannot be, the save fails first.
        tsSetBackupFolder(backup + "/deeper/still");
        found.check(save(target, "again") == S_OK && contentOf(target) == "again",
                    "a missing backup folder is made");
        tsSetBackupFolder(target + "/below-a-file");
        found.check(save(target, "lost?") == HRESULT_FROM_WIN32(ENOTDIR), "no backup, no save");
        found.check(contentOf(target) == "again", "the file is untouched");
        return std::string();
    }));
}

// No room for the new bytes, or none for the copy of the old: the save fails before the
// target is touched.
TEST_F(InPlaceTest, ADiskTooSmallLeavesTheFileAsItWas)
{
    const std::string bigger(12000, 'n');
    for (rlim_t limit : {rlim_t{0}, rlim_t{4000}, rlim_t{6000}, rlim_t{11999}}) {
        EXPECT_CHILD_CLEAN(asUser([&](Findings& found) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            const HRESULT hr = save(target, bigger);
            found.check(hr == HRESULT_FROM_WIN32(EFBIG),
                        "limit " + std::to_string(limit) + ": EFBIG, not " + std::to_string(hr));
            found.check(contentOf(target) == old, "limit " + std::to_string(limit) + ": untouched");
            found.check(namesIn(backup).empty(), "no backup stays");
            return std::string();
        }));
    }
}

// A real full disk, for the in-place save and for the ordinary one beside it. The in-place
// save fails at its reservation, before a byte is written (a failed reservation beyond the
// size limit above may already touch the time stamp on some file systems; a full one not).
TEST_F(InPlaceTest, AFullFileSystemLeavesTheFileAsItWas)
{
    const std::string mount = dir.file("mount");
    std::filesystem::create_directory(mount);
    EXPECT_CHILD_CLEAN(inChild([&] {
        std::string why = privateMounts();
        if (why.empty())
            why = mountTmpfs(mount, 256 * 1024);
        if (!why.empty())
            return why;
        if (::geteuid() != 0)
            return std::string("SKIP: needs root to set up the mount");
        const std::string lockedHere = mount + "/locked", open = mount + "/open";
        std::filesystem::create_directory(lockedHere);
        std::filesystem::create_directory(open);
        ::chmod(mount.c_str(), 0755);
        [[maybe_unused]] int a = ::chown(open.c_str(), NOBODY, NOGROUP);
        for (const std::string& file : {lockedHere + "/a.lay", open + "/a.lay"}) {
            writeFile(file, old);
            [[maybe_unused]] int b = ::chown(file.c_str(), NOBODY, NOGROUP);
        }
        // Fill the disk, then free two pages: room for neither file's new bytes.
        {
            std::FILE* filler = std::fopen((mount + "/filler").c_str(), "wb");
            const std::string page(4096, 'f');
            while (std::fwrite(page.data(), 1, page.size(), filler) == page.size() &&
                   std::fflush(filler) == 0) {
            }
            std::fclose(filler);
            const auto size = std::filesystem::file_size(mount + "/filler");
            std::filesystem::resize_file(mount + "/filler", size - 2 * 4096);
        }
        if (!dropPrivileges())
            return std::string("cannot drop privileges");
        tsSetBackupFolder(backup);
        Findings found;
        bool inPlace = false;
        const std::string bigger(5 * 4096, 'n');
        const auto before = modified(lockedHere + "/a.lay");
        found.check(save(lockedHere + "/a.lay", bigger, &inPlace) == HRESULT_FROM_WIN32(ENOSPC),
                    "in place: ENOSPC");
        found.check(inPlace, "the locked folder is written in place");
        found.check(contentOf(lockedHere + "/a.lay") == old &&
                        modified(lockedHere + "/a.lay") == before,
                    "in place: untouched, not even rewritten");
        found.check(namesIn(backup).empty(), "no backup stays");
        found.check(save(open + "/a.lay", bigger, &inPlace) < 0 && !inPlace, "beside: fails");
        found.check(contentOf(open + "/a.lay") == old, "beside: untouched");
        found.check(namesIn(open) == std::vector<std::string>{"a.lay"}, "beside: nothing stays");
        return found.text;
    }));
}

// Killed at any moment, an in-place save leaves the old bytes, the new ones, or a backup that
// holds the old ones whole.
TEST(InPlace, AKillAnywhereKeepsTheOldBytesSomewhere)
{
    FastDir dir;
    ASSERT_FALSE(dir.path().empty());
    const InPlaceFiles files(dir.path(), "");
    const std::string& target = files.target;
    const std::string& backup = files.backup;
    EXPECT_CHILD_CLEAN(asUser(backup, [&](Findings& found) {
        const std::string before(8 << 20, 'o');
        const std::string after(24 << 20, 'n');
        writeFile(target, before);
        const auto start = std::chrono::steady_clock::now();
        found.check(save(target, after) == S_OK, "a save to time");
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
        std::mt19937 random(4242);
        std::uniform_int_distribution<long> moment(0, std::max<long>(took, 1000));
        int rescued = 0;
        for (int round = 0; round < 16; ++round) {
            writeFile(target, before);
            for (const std::string& name : namesIn(backup))
                std::filesystem::remove(backup + "/" + name);
            const pid_t saver = ::fork();
            if (saver == 0) {
                save(target, after);
                ::_exit(0);
            }
            if (round % 2 == 0) {
                std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            } else {
                // The moment the first new byte lands: the middle of the rewrite itself.
                const int watch = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
                char first = 'o';
                while (first == 'o' && ::waitpid(saver, nullptr, WNOHANG) == 0)
                    ::pread(watch, &first, 1, 0);
                ::close(watch);
            }
            ::kill(saver, SIGKILL);
            ::waitpid(saver, nullptr, 0);
            const std::string now = contentOf(target);
            if (now == before || now == after)
                continue;
            bool kept = false;
            for (const std::string& name : namesIn(backup))
                kept = kept || contentOf(backup + "/" + name) == before;
            found.check(kept, "round " + std::to_string(round) + ": " + std::to_string(now.size()) +
                                  " bytes and no backup");
            ++rescued;
        }
        found.check(rescued > 0, "no kill landed inside the rewrite: the test saw nothing");
        return std::string();
    }));
}

// Every name of a hard-linked file sees the saved layout: such a target is written in place,
// and a write that fails leaves the old bytes under every name.
TEST(InPlace, HardLinkedFilesKeepAllTheirNames)
{
    TempDir dir;
    const std::string a = dir.file("a.lay"), b = dir.file("b.lay"), viaLink = dir.file("c.lay");
    const std::string backup = dir.file("backup");
    std::filesystem::create_directory(backup);
    const std::string old(3000, 'o');
    const auto inode = [](const std::string& path) {
        struct stat info
        {
        };
        return ::stat(path.c_str(), &info) == 0 ? std::pair{info.st_ino, info.st_nlink}
                                                : std::pair{ino_t{0}, nlink_t{0}};
    };
    const auto linked = [&] {
        writeFile(a, old);
        std::filesystem::remove(b);
        return ::link(a.c_str(), b.c_str()) == 0;
    };
    ASSERT_TRUE(linked());
    ASSERT_EQ(::symlink("a.lay", viaLink.c_str()), 0);
    writeFile(dir.file("alone.lay"), old);
    const auto names = namesIn(dir.path());

    EXPECT_CHILD_CLEAN(inChild([&] {
        tsSetBackupFolder(backup);
        Findings found;
        bool inPlace = false;
        found.check(save(b, "new through b", &inPlace) == S_OK && inPlace, "b: in place");
        found.check(contentOf(a) == "new through b", "a sees b's save");
        found.check(save(viaLink, std::string(9000, 'n'), &inPlace) == S_OK && inPlace,
                    "a link to a linked file: in place");
        found.check(contentOf(b) == std::string(9000, 'n'), "b sees the save through the link");
        found.check(namesIn(backup).empty(), "no backup once the bytes are on disk");

        found.check(save(dir.file("alone.lay"), "alone", &inPlace) == S_OK && !inPlace,
                    "a file of one name is replaced as usual");
        return found.text;
    }));
    EXPECT_EQ(namesIn(dir.path()), names) << "nothing beside the names";

    // A disk with room for part of the new bytes, or for none.
    for (rlim_t limit : {rlim_t{0}, rlim_t{4000}, rlim_t{8000}}) {
        ASSERT_TRUE(linked());
        const auto before = inode(a);
        EXPECT_CHILD_CLEAN(inChild([&] {
            tsSetBackupFolder(backup);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            Findings found;
            found.check(save(a, std::string(12000, 'n')) == HRESULT_FROM_WIN32(EFBIG),
                        "limit " + std::to_string(limit) + ": the failure is reported");
            return found.text;
        }));
        EXPECT_EQ(contentOf(a), old) << limit;
        EXPECT_EQ(contentOf(b), old) << limit;
        EXPECT_EQ(inode(b), before) << "still one file of two names";
        EXPECT_TRUE(namesIn(backup).empty()) << "the old bytes are back: no backup stays";
    }
}
