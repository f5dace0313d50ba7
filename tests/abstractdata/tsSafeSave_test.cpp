#include "streams/tsSafeSave.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::Bytes;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

HRESULT save(const std::string& path, const std::string& content)
{
    tsSafeSave saving;
    HRESULT hr = saving.Begin(path.c_str());
    if (hr >= 0)
        hr = saving.Stream()->Write(content.data(), static_cast<std::uint32_t>(content.size()));
    if (hr >= 0)
        hr = saving.Commit();
    return hr;
}

std::string contentOf(const std::string& path)
{
    const Bytes bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::size_t entries(const TempDir& dir)
{
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

} // namespace

TEST(SafeSave, ReplacesOrCreatesAndLeavesNothingBehind)
{
    TempDir dir;
    EXPECT_EQ(save(dir.file("new.lay"), "fresh"), S_OK);
    EXPECT_EQ(contentOf(dir.file("new.lay")), "fresh");
    writeFile(dir.file("old.lay"), std::string("old old old"));
    EXPECT_EQ(save(dir.file("old.lay"), "new"), S_OK);
    EXPECT_EQ(contentOf(dir.file("old.lay")), "new");
    EXPECT_EQ(entries(dir), 2u);

    {
        tsSafeSave abandoned;
        ASSERT_EQ(abandoned.Begin(dir.file("old.lay").c_str()), S_OK);
        ASSERT_EQ(abandoned.Stream()->Write("partial", 7), S_OK);
    } // destroyed without Commit
    EXPECT_EQ(contentOf(dir.file("old.lay")), "new");
    EXPECT_EQ(entries(dir), 2u);
}

TEST(SafeSave, FollowsLinksAndKeepsPermissionBits)
{
    TempDir dir;
    writeFile(dir.file("real.lay"), std::string("before"));
    ::chmod(dir.file("real.lay").c_str(), 0640);
    ASSERT_EQ(::symlink("real.lay", dir.file("link.lay").c_str()), 0);
    EXPECT_EQ(save(dir.file("link.lay"), "after"), S_OK);
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(dir.file("link.lay").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
    EXPECT_EQ(contentOf(dir.file("real.lay")), "after");
    ASSERT_EQ(::stat(dir.file("real.lay").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    ASSERT_EQ(::symlink("target-to-be.lay", dir.file("dangling.lay").c_str()), 0);
    EXPECT_EQ(save(dir.file("dangling.lay"), "made"), S_OK);
    EXPECT_EQ(contentOf(dir.file("target-to-be.lay")), "made");

    writeFile(dir.file("readonly.lay"), std::string("ro"));
    ::chmod(dir.file("readonly.lay").c_str(), 0444);
    EXPECT_EQ(save(dir.file("readonly.lay"), "rw"), S_OK);
    ASSERT_EQ(::stat(dir.file("readonly.lay").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

TEST(SafeSave, RefusedTargetsKeepEveryByte)
{
    TempDir dir;
    EXPECT_EQ(static_cast<std::uint32_t>(save(dir.file("missing/x.lay"), "x")), 0x80070002u);
    std::filesystem::create_directory(dir.file("folder.lay"));
    EXPECT_LT(save(dir.file("folder.lay"), "x"), 0);

    writeFile(dir.file("held.lay"), std::string("held"));
    tsStream reader;
    ASSERT_EQ(reader.Open(dir.file("held.lay").c_str(), TS_OPEN_READ), S_OK);
    EXPECT_LT(save(dir.file("held.lay"), "stolen"), 0)
        << "a file another stream reads is not replaced";
    EXPECT_EQ(contentOf(dir.file("held.lay")), "held");
    reader.Close();
    EXPECT_EQ(entries(dir), 2u);
}

TEST(SafeSave, WritesInPlaceWhereTheFolderTakesNoNewFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may create files in a read-only folder";
    TempDir dir;
    writeFile(dir.file("a.lay"), std::string("old"));
    ::chmod(dir.path().c_str(), 0555);
    tsSafeSave saving;
    ASSERT_EQ(saving.Begin(dir.file("a.lay").c_str()), S_OK);
    EXPECT_TRUE(saving.InPlace());
    ASSERT_EQ(saving.Stream()->Write("new", 3), S_OK);
    EXPECT_EQ(saving.Commit(), S_OK);
    EXPECT_EQ(contentOf(dir.file("a.lay")), "new");
}

// The disk fills up at every byte of a save: the old file always survives whole.
TEST(SafeSave, DiskFullMidSaveKeepsTheOldFile)
{
    TempDir dir;
    const std::string target = dir.file("full.lay");
    const std::string old(100, 'o');
    const std::string replacement(300, 'n');
    for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{150}, rlim_t{299}}) {
        writeFile(target, old);
        const int failed = testing_support::runWithFileSizeLimit(
            limit, [&] { return save(target, replacement) < 0; });
        EXPECT_EQ(failed, 1) << "the save must report the failure, limit " << limit;
        EXPECT_EQ(contentOf(target), old) << limit;
        EXPECT_EQ(entries(dir), 1u) << limit;
    }
}
