// Runs test code in a forked child: as an unprivileged user, in a mount namespace of its own,
// or where it might hang. The child's findings come back as text; gtest checks them.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <grp.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

// The unprivileged account the tests switch to when they run as root.
constexpr uid_t NOBODY = 65534;
constexpr gid_t NOGROUP = 65534;

// Findings of a child: every failed check adds a line.
struct Findings
{
    std::string text;
    void check(bool condition, const std::string& what)
    {
        if (!condition)
            text += what + "\n";
    }
};

// Runs body in a child with timeoutSeconds to finish; returns body's findings, or why the child
// did not finish. A finding that starts with "SKIP: " asks the caller to skip.
inline std::string inChild(const std::function<std::string()>& body, unsigned timeoutSeconds = 60)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ::alarm(timeoutSeconds); // a hang ends as SIGALRM
        const std::string text = body();
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t put = ::write(pipeEnds[1], text.data() + done, text.size() - done);
            if (put <= 0)
                break;
            done += static_cast<std::size_t>(put);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return "the child could not be started";
    if (WIFSIGNALED(status))
        return text + "the child ended by signal " + std::to_string(WTERMSIG(status)) +
               (WTERMSIG(status) == SIGALRM ? " (it hung)" : "");
    return text;
}

// In a child: becomes the unprivileged user when running as root. False when that failed.
inline bool dropPrivileges()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(NOGROUP) == 0 && ::setuid(NOBODY) == 0 &&
           ::geteuid() == NOBODY;
}

// In a child: a mount namespace of its own, so its mounts vanish with it. Returns "" or why
// not (no privilege to mount here).
inline std::string privateMounts()
{
    if (::unshare(CLONE_NEWNS) != 0)
        return std::string("SKIP: no mount namespace: ") + std::strerror(errno);
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("SKIP: mounts cannot be made private: ") + std::strerror(errno);
    return {};
}

// In a child with privateMounts: a tmpfs of size bytes on folder.
inline std::string mountTmpfs(const std::string& folder, std::size_t size)
{
    const std::string options = "size=" + std::to_string(size) + ",mode=0755";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return std::string("SKIP: no tmpfs can be mounted: ") + std::strerror(errno);
    return {};
}

} // namespace testing_support

// Skips the test when the child asked for it, fails it on any other finding.
#define EXPECT_CHILD_CLEAN(findings)                                                               \
    do {                                                                                           \
        const std::string childFindings_ = (findings);                                             \
        if (childFindings_.rfind("SKIP: ", 0) == 0)                                                \
            GTEST_SKIP() << childFindings_.substr(6);                                              \
        EXPECT_EQ(childFindings_, "");                                                             \
    } while (0)
