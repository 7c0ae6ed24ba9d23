#include "Removal/DuplicatesRootRemover.h"

#include "Platform/AuthorizationManager.h"
#include "Removal/PrivilegedRemovalProtocol.h"
#include "Removal/ScannedCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Protocol = PrivilegedRemovalProtocol;

namespace {

constexpr int kGreetingTimeoutMs = 1000;
constexpr int kPollStepMs = 100;

// The process that owns the listening end of a connected socket.
pid_t peerProcess(int fd) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return 0;
    return credentials.pid;
}

} // namespace

DuplicatesRootRemover& DuplicatesRootRemover::GetInstance() {
    static DuplicatesRootRemover remover;
    return remover;
}

QString DuplicatesRootRemover::defaultToolPath() {
    return toolPathForApplicationFolder(QCoreApplication::applicationDirPath());
}

QString DuplicatesRootRemover::toolPathForApplicationFolder(const QString& folder) {
    // A clean path: pkexec matches the polkit action by the exact path it is given.
    const QString installed =
        QDir::cleanPath(folder + QStringLiteral("/" SORVANTA_TOOL_FROM_BINDIR "/Tarvique"));
    const QString beside = QDir::cleanPath(folder + QStringLiteral("/Tarvique"));
    for (const QString& path : {installed, beside})
        if (QFileInfo(path).isExecutable() && QFileInfo(path).isFile())
            return path;
    return installed;
}

DuplicatesRootRemover::DuplicatesRootRemover(QString toolPath)
    : m_toolPath(std::move(toolPath)), m_sRootRemoverServerName(generateRootRemoverServerName()) {}

DuplicatesRootRemover::~DuplicatesRootRemover() {
    std::lock_guard lock(m_mutex);
    dropConnection();
    if (m_toolPid > 0)
        m_endedTools.append(m_toolPid);
    // The tool ends as soon as its connection is gone; give it a moment to be collected.
    for (int i = 0; i < 20 && !m_endedTools.isEmpty(); ++i) {
        collectEndedTools();
        if (!m_endedTools.isEmpty())
            QThread::msleep(10);
    }
}

QString DuplicatesRootRemover::generateRootRemoverServerName() {
    const quint32 number = QRandomGenerator::system()->generate() % 899999 + 100000;
    return QStringLiteral("%1.%2").arg(QLatin1String(Protocol::kServerNamePrefix)).arg(number);
}

QString DuplicatesRootRemover::serverName() const {
    std::lock_guard lock(m_mutex);
    return m_sRootRemoverServerName;
}

pid_t DuplicatesRootRemover::toolProcessId() const {
    std::lock_guard lock(m_mutex);
    return m_toolPid;
}

int DuplicatesRootRemover::lastToolError() const {
    std::lock_guard lock(m_mutex);
    return m_lastToolError;
}

std::optional<DuplicatesRootRemover::Identity>
DuplicatesRootRemover::identityOfScannedCopy(const ScannedCopy& copy) {
    if (copy.device == 0 && copy.inode == 0)
        return std::nullopt;
    Identity identity;
    identity.device = copy.device;
    identity.inode = copy.inode;
    identity.kind = copy.isFolder ? Identity::Folder : Identity::File;
    if (copy.isFolder) {
        for (const ScannedCopy::Entry& entry : copy.entries)
            identity.size += entry.isFolder ? 0 : std::uint64_t(entry.size);
    } else {
        identity.size = std::uint64_t(copy.size);
    }
    return identity;
}

std::optional<DuplicatesRootRemover::Identity>
DuplicatesRootRemover::identityOfEmptyFolder(int dirFd, const char* name) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return Identity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), Identity::Folder, 0};
}

bool DuplicatesRootRemover::removeFileAtPath(const QByteArray& path, const Identity& identity) {
    return removeAsRootFileAtPath(path, identity);
}

bool DuplicatesRootRemover::removeAsRootFileAtPath(const QByteArray& path,
                                                   const Identity& identity) {
    std::lock_guard lock(m_mutex);
    if (path.isEmpty() || std::uint32_t(path.size()) > Protocol::kMaxPathLength)
        return false;
    const int fd = getRootRemover();
    if (fd < 0)
        return false;
    unsigned char header[Protocol::kRequestHeaderLength];
    Protocol::putRequestHeader(header, std::uint32_t(path.size()), identity);
    QByteArray request(reinterpret_cast<const char*>(header), sizeof(header));
    request.append(path);
    unsigned char answer[5];
    // A large folder may take the tool a while; the wait ends early only when the tool's
    // end closes the connection.
    if (!Protocol::writeFully(fd, request.constData(), std::size_t(request.size())) ||
        !Protocol::readFully(fd, answer, sizeof(answer), -1)) {
        dropConnection();
        return false;
    }
    m_lastToolError = int(Protocol::getUint32(answer + 1));
    return answer[0] == static_cast<unsigned char>(Protocol::kAnswerYes);
}

int DuplicatesRootRemover::getRootRemover() {
    const int connected = getConnectedRootRemover();
    if (connected >= 0)
        return connected;
    return createNewRootRemover();
}

int DuplicatesRootRemover::getConnectedRootRemover() {
    if (m_connection >= 0) {
        // Between requests the tool sends nothing: anything readable is its end.
        pollfd pfd{m_connection, POLLIN, 0};
        if (::poll(&pfd, 1, 0) == 0)
            return m_connection;
        dropConnection();
        giveUpTool();
        return -1;
    }
    if (m_toolPid <= 0)
        return -1;
    sockaddr_un address{};
    socklen_t length = 0;
    if (!Protocol::makeAddress(m_sRootRemoverServerName.toStdString(), &address, &length))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    char greeting[Protocol::kGreetingLength];
    // Only the process we launched may answer under the name; anything else is a squatter.
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        peerProcess(fd) != m_toolPid ||
        !Protocol::readFully(fd, greeting, sizeof(greeting), kGreetingTimeoutMs) ||
        std::memcmp(greeting, Protocol::kGreeting, sizeof(greeting)) != 0) {
        ::close(fd);
        return -1;
    }
    m_connection = fd;
    return m_connection;
}

int DuplicatesRootRemover::createNewRootRemover() {
    giveUpTool();
    collectEndedTools();
    m_sRootRemoverServerName = generateRootRemoverServerName();
    const QStringList args{m_sRootRemoverServerName, QStringLiteral("%1").arg(::getpid())};
    pid_t pid = 0;
    if (!AuthorizationManager::GetInstance().executeCommandWithArgsAndType(m_toolPath, args, 0,
                                                                           &pid))
        return -1;
    m_toolPid = pid;
    double waited = 0.0;
    for (;;) {
        const int fd = getConnectedRootRemover();
        if (fd >= 0)
            return fd;
        int status = 0;
        if (::waitpid(m_toolPid, &status, WNOHANG) == m_toolPid) {
            // The tool ended without answering: no point in waiting out the rest.
            m_toolPid = 0;
            return -1;
        }
        QThread::msleep(kPollStepMs);
        waited += 0.1;
        if (!(waited < double(m_nMaxTimeWait)))
            break;
    }
    giveUpTool();
    return -1;
}

void DuplicatesRootRemover::dropConnection() {
    if (m_connection >= 0)
        ::close(m_connection);
    m_connection = -1;
}

// Stops waiting for the current tool. One that never answered is asked to end (which
// fails harmlessly when it runs as root); it is collected once it has ended.
void DuplicatesRootRemover::giveUpTool() {
    if (m_toolPid <= 0)
        return;
    if (m_connection < 0 && m_toolPid > 0)
        ::kill(m_toolPid, SIGTERM);
    dropConnection();
    m_endedTools.append(m_toolPid);
    m_toolPid = 0;
    collectEndedTools();
}

void DuplicatesRootRemover::collectEndedTools() {
    for (qsizetype i = m_endedTools.size() - 1; i >= 0; --i) {
        int status = 0;
        const pid_t result = ::waitpid(m_endedTools[i], &status, WNOHANG);
        if (result == m_endedTools[i] || (result < 0 && errno == ECHILD))
            m_endedTools.removeAt(i);
    }
}
