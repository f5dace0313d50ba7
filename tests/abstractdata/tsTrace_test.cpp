#include "streams/tsStream.h"
#include "support/TestFiles.h"
#include "support/TraceCapture.h"
#include "tsTrace.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

using testing_support::Bytes;
using testing_support::TraceCapture;

TEST(ResultCodes, SystemErrorRule)
{
    EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
    EXPECT_EQ(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(2)), 0x80070002u);
    EXPECT_EQ(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(0x12345)), 0x80072345u);
    EXPECT_LT(E_FAIL, 0);
    EXPECT_EQ(static_cast<std::uint32_t>(E_UNEXPECTED), 0x8000FFFFu);
    EXPECT_EQ(static_cast<std::uint32_t>(E_NOTIMPL), 0x80004001u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_INVALIDARG), 0x80070057u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_OUTOFMEMORY), 0x8007000Eu);
}

TEST(Trace, ShortReadLineNamesPathLineAndCode)
{
    TraceCapture capture;
    testing_support::TempDir dir;
    {
        std::FILE* f = std::fopen(dir.file("short").c_str(), "wb");
        std::fputs("abc", f);
        std::fclose(f);
    }
    tsStream stream;
    ASSERT_EQ(stream.Open(dir.file("short").c_str(), TS_OPEN_READ), S_OK);
    char buffer[8];
    EXPECT_EQ(stream.Read(buffer, 8, nullptr), E_FAIL);

    const std::string text = capture.text();
    const std::string tail = " : Error: ASSERT_HRESULT(0x80004005)\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // One line, starting with the stream's own source file and a line number in brackets.
    EXPECT_EQ(text.find('\n'), text.size() - 1);
    const auto open = text.find("tsStream.cpp(");
    ASSERT_NE(open, std::string::npos);
    const auto close = text.find(')', open);
    ASSERT_NE(close, std::string::npos);
    const std::string line = text.substr(open + 13, close - open - 13);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos);
}

TEST(Trace, SuccessWritesNothingAndDetachedHandleDropsLines)
{
    {
        TraceCapture capture;
        ASSERT_HRESULT(S_OK);
        ASSERT_HRESULT(1);
        EXPECT_EQ(capture.text(), "");
    }

    // Detached, a failing line goes nowhere: not to the handle attached before, and not to
    // standard error either.
    TraceCapture before;
    testing_support::TempDir dir;
    std::FILE* errors = std::fopen(dir.file("stderr").c_str(), "w+b");
    ASSERT_NE(errors, nullptr);
    std::fflush(stderr);
    const int savedErrors = ::dup(2);
    ::dup2(::fileno(errors), 2);
    tsTraceAttach(-1);
    int evaluated = 0;
    ASSERT_HRESULT((++evaluated, E_FAIL));
    tsTrace(TS_TRACE_PATTERN, "t.cpp", 1, "Error: Open file '%s' failed.\n", "x");
    tsTraceAttach(::fileno(errors));
    ASSERT_HRESULT(E_UNEXPECTED); // attached again: this one is written
    ::dup2(savedErrors, 2);
    ::close(savedErrors);
    std::fclose(errors);
    EXPECT_EQ(evaluated, 1) << "the code is evaluated once, whatever happens to the line";
    EXPECT_EQ(before.text(), "");
    const Bytes written = testing_support::readFile(dir.file("stderr"));
    const std::string text(written.begin(), written.end());
    EXPECT_EQ(text.find("0x80004005"), std::string::npos) << text;
    EXPECT_EQ(text.find("Open file"), std::string::npos) << text;
    EXPECT_NE(text.find("ASSERT_HRESULT(0x8000FFFF)"), std::string::npos) << text;
}

TEST(Trace, FormattingIsLiteralForPathsAndCutAtTheBuffer)
{
    TraceCapture capture;
    tsTrace(TS_TRACE_PATTERN, "/src/100%s/%n/file.cpp", 7, "Error: ASSERT_HRESULT(0x%X)\n",
            0x80004005u);
    EXPECT_EQ(capture.text(), "/src/100%s/%n/file.cpp(7) : Error: ASSERT_HRESULT(0x80004005)\n");

    TraceCapture second;
    tsTrace(TS_TRACE_PATTERN, "m.cpp", 114, "Not supported file version.\n");
    EXPECT_EQ(second.text(), "m.cpp(114) : Not supported file version.\n");

    TraceCapture third;
    const std::string longPath(3000, 'p');
    tsTrace(TS_TRACE_PATTERN, longPath.c_str(), 1, "Error: Open file '%s' failed.\n", "x");
    EXPECT_EQ(third.text(), std::string(1023, 'p'));

    // A path of percent signs cut in the middle must not leave a conversion behind.
    TraceCapture fourth;
    const std::string percents(1500, '%');
    tsTrace(TS_TRACE_PATTERN, percents.c_str(), 1, "Error: ASSERT_HRESULT(0x%X)\n", 1u);
    EXPECT_EQ(fourth.text(), std::string(511, '%') + "(");
}

TEST(Trace, MessageArgumentsExpandOnlyInStageTwo)
{
    TraceCapture capture;
    tsTrace(TS_TRACE_PATTERN, "s.cpp", 82, "Error: Open file '%s' failed.\n", "/tmp/a%d.lay");
    EXPECT_EQ(capture.text(), "s.cpp(82) : Error: Open file '/tmp/a%d.lay' failed.\n");
}

// A failing check names the platform's cause where the code carries one; codes of our own
// keep the plain line.
TEST(Trace, FailureLinesNameTheSystemCause)
{
    struct Case
    {
        HRESULT code;
        const char* tail;
    };
    const Case cases[] = {
        {HRESULT_FROM_WIN32(ENOSPC),
         "Error: ASSERT_HRESULT(0x8007001C): No space left on device\n"},
        {HRESULT_FROM_WIN32(EACCES), "Error: ASSERT_HRESULT(0x8007000D): Permission denied\n"},
        {E_FAIL, "Error: ASSERT_HRESULT(0x80004005)\n"},
        {E_INVALIDARG, "Error: ASSERT_HRESULT(0x80070057)\n"},
        {E_OUTOFMEMORY, "Error: ASSERT_HRESULT(0x8007000E)\n"},
        {TS_E_NOT_REGULAR_FILE, "Error: ASSERT_HRESULT(0x80040200)\n"},
    };
    for (const Case& c : cases) {
        TraceCapture capture;
        ASSERT_HRESULT(c.code);
        const std::string text = capture.text();
        ASSERT_GE(text.size(), std::strlen(c.tail)) << text;
        EXPECT_EQ(text.substr(text.size() - std::strlen(c.tail)), c.tail);
        EXPECT_NE(text.find("tsTrace_test.cpp("), std::string::npos) << text;
    }
    EXPECT_EQ(tsResultText(E_FAIL), "") << "a short read or write has no cause of its own";
    EXPECT_EQ(tsResultText(TS_E_NOT_REGULAR_FILE), "not a regular file");
    EXPECT_EQ(tsResultText(E_OUTOFMEMORY), "out of memory") << "not the platform's errno 14";
    EXPECT_EQ(tsResultText(HRESULT_FROM_WIN32(ENOENT)), "No such file or directory");
}
