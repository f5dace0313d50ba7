#include "DocumentFixture.h"
#include "support/LayoutBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace testing_support;

namespace {

using SaveFaultsTest = DocumentFixture;

Bytes layoutOf(std::size_t controls, const std::string& name)
{
    LayoutBytes bytes(2, static_cast<std::uint32_t>(controls));
    for (std::size_t i = 0; i < controls; ++i)
        bytes.record(static_cast<std::uint32_t>(i), name, 1, 2, 3, 4, 5, 6);
    return bytes.bytes;
}

} // namespace

// The disk fills at the head, inside a name and at the last float: the old file survives
// byte for byte, the user hears of it once, and the document still holds its changes.
TEST_F(SaveFaultsTest, DiskFullAtEveryStageOfASave)
{
    const Bytes old = layoutOf(3, "OLD");
    writeFile(files.file("a.lay"), old);
    CKarveloDoc* doc = open("a.lay");
    ASSERT_NE(doc, nullptr);
    doc->m_newControl.m_name = "ADDED";
    doc->AddNewControl();
    const std::size_t total = 24 + 3 * (29 + 3) + (29 + 5);
    for (rlim_t limit : {rlim_t{10}, rlim_t{24 + 4 + 3}, rlim_t{total - 2}}) {
        const std::size_t before = log.boxes.size();
        // In the child: the save fails, one message says so, the changes are still unsaved.
        const int reported = runWithFileSizeLimit(limit, [&] {
            const bool saved = doc->DoFileSave();
            return !saved && log.boxes.size() == before + 1 &&
                   log.boxes.back().text ==
                       QString::fromUtf8("Die Datei konnte nicht gespeichert werden!") &&
                   log.boxes.back().details.endsWith(QStringLiteral("File too large")) &&
                   doc->IsModified();
        });
        EXPECT_EQ(reported, 1) << limit;
        EXPECT_EQ(readFile(files.file("a.lay")), old) << limit;
    }
    ASSERT_TRUE(doc->DoFileSave()) << "with room, the same save works";
    EXPECT_EQ(readFile(files.file("a.lay")).size(), total);
}

TEST_F(SaveFaultsTest, ATargetAnotherStreamReadsIsNotReplaced)
{
    const Bytes old = layoutOf(2, "HELD");
    writeFile(files.file("held.lay"), old);
    CKarveloDoc* doc = open("held.lay");
    ASSERT_NE(doc, nullptr);
    doc->AddNewControl();
    tsStream reader;
    ASSERT_EQ(reader.Open(files.file("held.lay").c_str(), TS_OPEN_READ), S_OK);
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(log.texts(), std::vector<QString>{
                               QString::fromUtf8("Die Datei konnte nicht gespeichert werden!")});
    EXPECT_EQ(readFile(files.file("held.lay")), old);
    EXPECT_TRUE(doc->IsModified());
    reader.Close();
    EXPECT_TRUE(doc->DoFileSave());
}

// A save killed at any moment leaves either the old layout or the new one, complete.
TEST_F(SaveFaultsTest, ASaveKilledAnywhereLeavesOldOrNew)
{
    const Bytes old = layoutOf(2, "OLD");
    writeFile(files.file("big.lay"), old);
    CKarveloDoc* doc = open("big.lay");
    ASSERT_NE(doc, nullptr);
    doc->m_newControl.m_name = std::string(40, 'N');
    for (int i = 0; i < 60000; ++i)
        doc->AddNewControl();

    // How long one save takes, to spread the kills over it.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_GE(doc->SaveLayout(path("probe.lay")), 0);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const Bytes fresh = readFile(files.file("probe.lay"));

    std::mt19937 random(12345);
    std::uniform_int_distribution<long> moment(0, std::max<long>(took.count(), 1000));
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 20; ++round) {
        writeFile(files.file("big.lay"), old);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            doc->SaveLayout(path("big.lay"));
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const Bytes now = readFile(files.file("big.lay"));
        ASSERT_TRUE(now == old || now == fresh)
            << "round " << round << ": " << now.size() << " bytes";
        (now == old ? sawOld : sawNew)++;
    }
    EXPECT_EQ(sawOld + sawNew, 20);
}
