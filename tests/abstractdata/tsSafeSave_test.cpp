#include "abstractdata/SafeSaveHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::Bytes;
using testing_support::contentOf;
using testing_support::namesIn;
using testing_support::readFile;
using testing_support::save;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

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

namespace {

// The names that appear in folder while body runs.
std::vector<std::string> namesAddedBy(const TempDir& dir, const std::function<void()>& body)
{
    const auto before = testing_support::namesIn(dir.path());
    body();
    std::vector<std::string> added;
    for (const std::string& name : testing_support::namesIn(dir.path()))
        if (std::find(before.begin(), before.end(), name) == before.end())
            added.push_back(name);
    return added;
}

// A save of path killed after its first bytes, as a crash or a kill leaves one.
void killedSave(const std::string& path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        tsSafeSave saving;
        if (saving.Begin(path.c_str()) >= 0)
            saving.Stream()->Write("partial", 7);
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

bool exists(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

// A killed save leaves a hidden file beside its target. The next good save of the same
// target removes such files when no running save holds them, and nothing else.
TEST(SafeSave, LeftoversOfKilledSavesGoWithTheNextSaveOfTheirTarget)
{
    TempDir dir;
    const std::string longA = std::string(200, 'x') + "-one.lay";
    const std::string longB = std::string(200, 'x') + "-two.lay";
    for (const std::string& name : {std::string("a.lay"), std::string("b.lay"), longA, longB})
        writeFile(dir.file(name), std::string("old"));

    const auto leftA = namesAddedBy(dir, [&] {
        killedSave(dir.file("a.lay"));
        killedSave(dir.file("a.lay"));
    });
    ASSERT_EQ(leftA.size(), 2u) << "a killed save leaves its file behind";
    const auto leftB = namesAddedBy(dir, [&] { killedSave(dir.file("b.lay")); });
    const auto leftLongB = namesAddedBy(dir, [&] { killedSave(dir.file(longB)); });
    ASSERT_EQ(leftB.size(), 1u);
    ASSERT_EQ(leftLongB.size(), 1u);
    for (const auto& name : {leftA[0], leftB[0], leftLongB[0]})
        EXPECT_LE(name.size(), 100u) << name;

    // Files that only resemble a leftover of a.lay: a user's, a link, a folder, a longer name.
    // Its last character changed: never the leftover's own, whatever the random part ended in.
    const auto lookalike = [&](char last) {
        return leftA[0].substr(0, leftA[0].size() - 1) +
               (last == leftA[0].back() ? static_cast<char>(last + 1) : last);
    };
    const std::vector<std::string> others = {".a.lay.ABC123", "a.lay~",       ".a.lay.swp",
                                             leftA[0] + "x",  lookalike('!'), lookalike('L'),
                                             lookalike('D')};
    for (std::size_t i = 0; i < 5; ++i)
        writeFile(dir.file(others[i]), std::string("keep"));
    ASSERT_EQ(::symlink("a.lay", dir.file(lookalike('L')).c_str()), 0);
    std::filesystem::create_directory(dir.file(lookalike('D')));

    EXPECT_EQ(save(dir.file("a.lay"), "new"), S_OK);
    EXPECT_EQ(contentOf(dir.file("a.lay")), "new");
    for (const auto& name : leftA)
        EXPECT_FALSE(exists(dir.file(name))) << name;
    for (const auto& name : others)
        EXPECT_TRUE(exists(dir.file(name))) << name;
    EXPECT_TRUE(exists(dir.file(leftB[0]))) << "another target's leftover stays";
    EXPECT_TRUE(exists(dir.file(leftLongB[0]))) << "a name with the same beginning is another's";

    EXPECT_EQ(save(dir.file(longA), "new"), S_OK);
    EXPECT_TRUE(exists(dir.file(leftLongB[0])));
    EXPECT_EQ(save(dir.file(longB), "new"), S_OK);
    EXPECT_FALSE(exists(dir.file(leftLongB[0])));
}

// Two saves of a file that does not exist yet: the one that finishes first leaves the other's
// file alone, because that save holds its lock.
TEST(SafeSave, ARunningSavesFileIsNoLeftover)
{
    TempDir dir;
    const std::string target = dir.file("c.lay");
    tsSafeSave running;
    std::vector<std::string> held;
    held = namesAddedBy(dir, [&] { ASSERT_EQ(running.Begin(target.c_str()), S_OK); });
    ASSERT_EQ(held.size(), 1u);
    ASSERT_EQ(running.Stream()->Write("later", 5), S_OK);
    killedSave(target);

    EXPECT_EQ(save(target, "first"), S_OK);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{held[0], "c.lay"}))
        << "the killed save's file went, the running one's stays";
    EXPECT_EQ(running.Commit(), S_OK);
    EXPECT_EQ(contentOf(target), "later");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"c.lay"});
}
