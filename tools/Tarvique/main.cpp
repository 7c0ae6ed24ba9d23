// Tarvique: the privileged removal tool. The application starts it with administrator
// rights (through pkexec) as
//
//     Tarvique <server name> <the application's process number>
//
// and then asks it, over a private socket, to remove paths that the user may not remove.
// It serves only the process that started it, one connection in its life, and ends when
// that process ends, when its one client disconnects, or when no client came in time.
// How a request's path and identity are checked and the item removed: SafeRemoval.h.

#include "Removal/PrivilegedRemovalProtocol.h"
#include "SafeRemoval.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

namespace Protocol = PrivilegedRemovalProtocol;

// A tool whose starter gave up waiting for it must not linger with root rights.
constexpr int kFirstClientTimeoutMs = 30000;
constexpr int kStarterCheckIntervalMs = 500;

enum ExitCode { ExitDone = 0, ExitUsage = 2, ExitNotStarter = 3, ExitSocket = 4 };

bool parseProcessId(const char* text, pid_t* pid) {
    if (!text || !*text)
        return false;
    long long value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + (*c - '0');
        if (value > 0x3fffffff)
            return false;
    }
    if (value <= 1)
        return false;
    *pid = pid_t(value);
    return true;
}

// A descriptor that becomes readable when the process ends; -1 where pidfd is missing, in
// which case the parent link is polled instead.
int openProcessFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

bool peerIsStarter(int fd, pid_t starter) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.pid == starter;
}

// Serves one request. False when the connection is over.
bool serveRequest(int client) {
    unsigned char header[Protocol::kRequestHeaderLength];
    // The first byte may be long in coming; the rest follows at once.
    if (!Protocol::readFully(client, header, 1, -1) ||
        !Protocol::readFully(client, header + 1, sizeof(header) - 1, 5000))
        return false;
    std::uint32_t length = 0;
    Protocol::ItemIdentity identity;
    if (!Protocol::getRequestHeader(header, &length, &identity) || length == 0 ||
        length > Protocol::kMaxPathLength)
        return false;
    std::string path(length, '\0');
    if (!Protocol::readFully(client, path.data(), length, 5000))
        return false;
    const int result = SafeRemoval::removePath(path, identity);
    unsigned char answer[5];
    answer[0] =
        static_cast<unsigned char>(result == 0 ? Protocol::kAnswerYes : Protocol::kAnswerNo);
    Protocol::putUint32(answer + 1, std::uint32_t(result));
    return Protocol::writeFully(client, answer, sizeof(answer));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || !Protocol::isValidServerName(argv[1])) {
        std::fprintf(stderr, "usage: Tarvique <server name> <process number>\n");
        return ExitUsage;
    }
    pid_t starter = 0;
    if (!parseProcessId(argv[2], &starter)) {
        std::fprintf(stderr, "Tarvique: invalid process number\n");
        return ExitUsage;
    }
    // pkexec replaces itself with this tool, so the process that ran pkexec is the parent.
    // Serving any other process number would let a caller borrow someone else's rights.
    if (::getppid() != starter) {
        std::fprintf(stderr, "Tarvique: not started by process %d\n", int(starter));
        return ExitNotStarter;
    }
    std::signal(SIGPIPE, SIG_IGN);
    ::umask(077);

    const int starterFd = openProcessFd(starter);
    // Checked again after opening: had the starter ended in between, its number could have
    // been given to another process.
    if (::getppid() != starter)
        return ExitNotStarter;

    sockaddr_un address{};
    socklen_t addressLength = 0;
    Protocol::makeAddress(argv[1], &address, &addressLength);
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (server < 0 || ::bind(server, reinterpret_cast<sockaddr*>(&address), addressLength) != 0 ||
        ::listen(server, 4) != 0) {
        std::perror("Tarvique: socket");
        return ExitSocket;
    }

    int client = -1;
    int waitedForClientMs = 0;
    for (;;) {
        pollfd fds[3];
        nfds_t count = 0;
        fds[count++] = {server, POLLIN, 0};
        const nfds_t clientIndex = count;
        if (client >= 0)
            fds[count++] = {client, POLLIN, 0};
        const nfds_t starterIndex = count;
        if (starterFd >= 0)
            fds[count++] = {starterFd, POLLIN, 0};

        const int ready = ::poll(fds, count, kStarterCheckIntervalMs);
        if (ready < 0 && errno != EINTR)
            return ExitSocket;
        if (starterFd >= 0 ? (fds[starterIndex].revents != 0) : (::getppid() != starter))
            return ExitDone;
        if (client < 0) {
            waitedForClientMs += kStarterCheckIntervalMs;
            if (ready == 0 && waitedForClientMs >= kFirstClientTimeoutMs)
                return ExitDone;
        }
        if (ready <= 0)
            continue;

        if (fds[0].revents & POLLIN) {
            const int incoming = ::accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
            if (incoming >= 0) {
                if (client < 0 && peerIsStarter(incoming, starter) &&
                    Protocol::writeFully(incoming, Protocol::kGreeting,
                                         Protocol::kGreetingLength)) {
                    client = incoming;
                } else {
                    // Anyone else, or a second connection: refused without a word.
                    ::close(incoming);
                }
            }
        }
        if (client >= 0 && clientIndex < count && fds[clientIndex].fd == client &&
            fds[clientIndex].revents != 0) {
            if (!serveRequest(client))
                return ExitDone;
        }
    }
}
