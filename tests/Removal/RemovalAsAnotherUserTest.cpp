// The real removal run by an ordinary user, and in a private mount namespace, on a real tree
// and a real scan. This program runs itself again in a child process: dropped to uid and
// gid 65534 when the tests run as root (the test's own user otherwise), or in a mount
// namespace of its own where the test may mount. The child scans the tree, changes it as a
// user or another program would after a scan, runs the remover and writes what it was told
// to a report; the parent checks the report against the disk.
#include "RemoverFixture.h"
#include "ScanResultListener.h"

#include "Platform/AuthorizationManager.h"
#include "Removal/DuplicatesRootRemover.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"

#include <QCoreApplication>
#include <QDirIterator>

#include <climits>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kChildCannotRun = 77;
constexpr uid_t kNobody = 65534;

const char* const kTreeVariable = "SORVANTA_REMOVAL_CHILD_TREE";
const char* const kRoleVariable = "SORVANTA_REMOVAL_CHILD_ROLE";
const char* const kTrashVariable = "SORVANTA_REMOVAL_CHILD_TRASH";
const char* const kToolVariable = "SORVANTA_REMOVAL_CHILD_TOOL";

QByteArray readAll(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A folder every user may enter, for what the child must reach: the test program and the
// trees. The folders the tests make by default are closed to other users.
QByteArray sharedFolder() {
    static QByteArray folder;
    if (folder.isEmpty()) {
        QByteArray templ = QFile::encodeName(TestSupport::isolateUserFolders()) + "/shared-XXXXXX";
        if (::mkdtemp(templ.data()) && ::chmod(templ.constData(), 0755) == 0)
            folder = templ;
    }
    return folder;
}

// This test program where the child's user can run it: a hard link in the shared folder,
// or a copy where the file system takes no link.
QByteArray reachableProgram() {
    static QByteArray program;
    if (!program.isEmpty())
        return program;
    char self[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0 || sharedFolder().isEmpty())
        return {};
    const QByteArray target = sharedFolder() + "/test_Removal";
    if (::link(self, target.constData()) != 0 &&
        !QFile::copy(QFile::decodeName(self), QFile::decodeName(target)))
        return {};
    ::chmod(target.constData(), 0755);
    program = target;
    return program;
}

// Gives `path` and everything below it to `uid` (the child's user).
void giveTree(const QByteArray& path, uid_t uid) {
    ::lchown(path.constData(), uid, uid);
    QDirIterator it(QFile::decodeName(path),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::lchown(QFile::encodeName(it.next()).constData(), uid, uid);
}

struct ChildRun {
    bool ran = false;
    QString whyNot;
    int exitCode = -1;
    QByteArray report;
    QByteArray log;
};

enum class ChildSetup { OrdinaryUser, PrivateMounts };

// Runs the child role `role` of this program on `tree`.
ChildRun runChild(const QByteArray& tree, const QByteArray& role, bool toTrash, ChildSetup setup) {
    ChildRun result;
    const QByteArray program = reachableProgram();
    if (program.isEmpty()) {
        result.whyNot = QStringLiteral("the test program could not be put where the child runs it");
        return result;
    }
    const QByteArray logPath = tree + ".log";
    // Made here, for a child that may not make files next to its tree.
    const QByteArray reportPath = tree + ".report";
    if (!TestSupport::writeFile(reportPath, QByteArray()) ||
        (::geteuid() == 0 && setup == ChildSetup::OrdinaryUser &&
         ::chown(reportPath.constData(), kNobody, kNobody) != 0)) {
        result.whyNot = QStringLiteral("no report file");
        return result;
    }
    const QByteArray tool =
        QFile::encodeName(QCoreApplication::applicationDirPath() + "/../app/Tarvique");
    const int log = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0) {
        result.whyNot = QStringLiteral("no log file");
        return result;
    }
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls up to the exec.
        if (setup == ChildSetup::OrdinaryUser && uid == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                ::setresuid(kNobody, kNobody, kNobody) != 0)
                ::_exit(kChildCannotRun);
        }
        if (setup == ChildSetup::PrivateMounts) {
            if (uid != 0) {
                // An ordinary user may mount in a user namespace of its own, as its root.
                if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                    ::_exit(kChildCannotRun);
                char map[64];
                const auto writeMap = [&](const char* file, int length) {
                    const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
                    const bool ok = fd >= 0 && ::write(fd, map, size_t(length)) == length;
                    if (fd >= 0)
                        ::close(fd);
                    return ok;
                };
                const char deny[] = "deny";
                const int fd = ::open("/proc/self/setgroups", O_WRONLY | O_CLOEXEC);
                if (fd >= 0) {
                    [[maybe_unused]] const ssize_t n = ::write(fd, deny, sizeof deny - 1);
                    ::close(fd);
                }
                if (!writeMap("/proc/self/uid_map",
                              std::snprintf(map, sizeof map, "0 %u 1", unsigned(uid))) ||
                    !writeMap("/proc/self/gid_map",
                              std::snprintf(map, sizeof map, "0 %u 1", unsigned(gid))))
                    ::_exit(kChildCannotRun);
            } else if (::unshare(CLONE_NEWNS) != 0) {
                ::_exit(kChildCannotRun);
            }
            // Nothing mounted in here reaches the system's namespace.
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                ::_exit(kChildCannotRun);
        }
        ::dup2(log, 1);
        ::dup2(log, 2);
        ::setenv(kTreeVariable, tree.constData(), 1);
        ::setenv(kRoleVariable, role.constData(), 1);
        ::setenv(kTrashVariable, toTrash ? "1" : "0", 1);
        ::setenv(kToolVariable, tool.constData(), 1);
        char filter[] = "--gtest_filter=RemovalChild.DISABLED_Run";
        char alsoDisabled[] = "--gtest_also_run_disabled_tests";
        char* const argv[] = {const_cast<char*>(program.constData()), filter, alsoDisabled,
                              nullptr};
        ::execv(program.constData(), argv);
        ::_exit(kChildCannotRun + 1);
    }
    ::close(log);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        result.whyNot = QStringLiteral("no child process");
        return result;
    }
    result.log = readAll(logPath);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (result.exitCode == kChildCannotRun) {
        result.whyNot = setup == ChildSetup::OrdinaryUser
                            ? QStringLiteral("the child cannot become user 65534 here")
                            : QStringLiteral("the child may not make a mount namespace here");
        return result;
    }
    result.ran = true;
    result.report = readAll(reportPath);
    return result;
}

// The report's lines of one kind, each split at its tabs.
std::vector<QList<QByteArray>> reportLines(const QByteArray& report, const QByteArray& kind) {
    std::vector<QList<QByteArray>> lines;
    for (const QByteArray& line : report.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() > 1 && fields.front() == kind)
            lines.push_back(fields.mid(1));
    }
    return lines;
}

// A fresh tree in the shared folder.
QByteArray makeTree(const QByteArray& name) {
    const QByteArray tree = sharedFolder() + "/" + name;
    TestSupport::removeTree(tree);
    return ::mkdir(tree.constData(), 0755) == 0 ? tree : QByteArray();
}

TEST(RemovalAsAnotherUser, ACopyInAFolderItCannotEnterStaysAndOneRemovedBeforeIsGone) {
    for (const bool toTrash : {true, false}) {
        SCOPED_TRACE(toTrash ? "to the Trash" : "permanently");
        const QByteArray tree = makeTree(toTrash ? "user-trash" : "user-delete");
        ASSERT_FALSE(tree.isEmpty());
        QMap<QString, QByteArray> groups;
        for (const char* name : {"a", "b", "c"}) {
            const QByteArray contents = QByteArray("the bytes of group ") + name;
            const QByteArray file = QByteArray(name) + ".bin";
            const QByteArray removed = QByteArray(name) == "a"   ? "locked/"
                                       : QByteArray(name) == "b" ? "gone/"
                                                                 : "moved/";
            ASSERT_TRUE(TestSupport::writeFile(tree + "/keep/" + file, contents));
            ASSERT_TRUE(TestSupport::writeFile(tree + "/" + removed + file, contents));
            groups.insert(QString::fromLatin1(name), "file:" + contents);
        }
        if (::geteuid() == 0)
            giveTree(tree, kNobody);

        const ChildRun child = runChild(tree, "permissions", toTrash, ChildSetup::OrdinaryUser);
        if (!child.ran)
            GTEST_SKIP() << child.whyNot.toStdString();
        ASSERT_EQ(child.exitCode, 0) << child.log.constData();

        // The copy behind the closed folder: not removed, for want of permission, still there.
        const auto kept = reportLines(child.report, "kept");
        ASSERT_EQ(kept.size(), 1u) << child.report.constData();
        EXPECT_EQ(kept[0].value(1), tree + "/locked/a.bin");
        EXPECT_EQ(kept[0].value(0).toInt(), FileManager::NoReadPermissionError);
        EXPECT_TRUE(kept[0].value(2).contains(std::strerror(EACCES))) << kept[0].value(2).data();
        struct stat st {};
        EXPECT_EQ(::lstat((tree + "/locked/a.bin").constData(), &st), 0);
        EXPECT_EQ(readAll(tree + "/locked/a.bin"), "the bytes of group a");

        // The copies someone else took away before the run (the file, or its folder now a
        // file) count as removed, and nothing else does.
        std::vector<QByteArray> removed;
        for (const auto& line : reportLines(child.report, "removed"))
            removed.push_back(line.value(0));
        std::sort(removed.begin(), removed.end());
        EXPECT_EQ(removed, (std::vector<QByteArray>{tree + "/gone/b.bin", tree + "/moved/c.bin"}));
        EXPECT_EQ(reportLines(child.report, "size").front().value(0).toULongLong(),
                  QByteArray("the bytes of group b").size() * 2u);
        if (toTrash) {
            EXPECT_TRUE(reportLines(child.report, "trashinfo").empty()) << "no record is left";
        } else {
            // The tool was offered the copy (when the child may run it at all).
            const auto tool = reportLines(child.report, "tool");
            ASSERT_EQ(tool.size(), 1u);
            if (tool[0].value(1) == "reachable") {
                EXPECT_GT(tool[0].value(0).toLongLong(), 0);
            }
        }
        EXPECT_EQ(groupsWithoutARealCopy(tree, groups), QStringList());
        TestSupport::removeTree(tree);
    }
}

TEST(RemovalAsAnotherUser, AKeptFolderMountedOverByTheRemovedOneKeepsNothing) {
    for (const bool toTrash : {true, false}) {
        SCOPED_TRACE(toTrash ? "to the Trash" : "permanently");
        const QByteArray tree = makeTree(toTrash ? "mount-trash" : "mount-delete");
        ASSERT_FALSE(tree.isEmpty());
        ASSERT_TRUE(TestSupport::writeFile(tree + "/keep/x.bin", "the original bytes"));
        ASSERT_TRUE(TestSupport::writeFile(tree + "/rm/x.bin", "the original bytes"));
        // The two folders are no copies of each other: only the files form a group.
        ASSERT_TRUE(TestSupport::writeFile(tree + "/keep/only here.txt", "nowhere else"));

        const ChildRun child = runChild(tree, "bind", toTrash, ChildSetup::PrivateMounts);
        if (!child.ran)
            GTEST_SKIP() << child.whyNot.toStdString();
        ASSERT_EQ(child.exitCode, 0) << child.log.constData();

        const auto kept = reportLines(child.report, "kept");
        ASSERT_EQ(kept.size(), 1u) << child.report.constData();
        EXPECT_EQ(kept[0].value(1), tree + "/rm/x.bin");
        EXPECT_EQ(kept[0].value(0).toInt(), DuplicatesRemover::NoOtherCopyLeftError);
        EXPECT_EQ(kept[0].value(2), "No other copy is left");
        EXPECT_TRUE(reportLines(child.report, "removed").empty());
        // Seen from inside the namespace, where the mount hid the kept copy.
        EXPECT_TRUE(reportLines(child.report, "lost").empty()) << child.report.constData();
        EXPECT_EQ(readAll(tree + "/rm/x.bin"), "the original bytes");
        TestSupport::removeTree(tree);
    }
}

// The child's side; run only by the tests above (hence disabled in an ordinary run).
TEST(RemovalChild, DISABLED_Run) {
    const QByteArray tree = qgetenv(kTreeVariable);
    const QByteArray role = qgetenv(kRoleVariable);
    const bool toTrash = qgetenv(kTrashVariable) == "1";
    ASSERT_FALSE(tree.isEmpty()) << "started only by the RemovalAsAnotherUser tests";
    AuthorizationManager::GetInstance().setLauncher({});

    auto scanListener = std::make_shared<ScanResultListener>();
    auto scanner = FoldersScanner::create({tree}, scanListener);
    scanner->includeHiddenFiles(true);
    scanner->startScanAndUseMinimalFileSize(1);
    ASSERT_TRUE(TestSupport::waitFor([&] { return scanListener->told == 1; }, 30000));
    const auto container = scanListener->container;
    ASSERT_TRUE(container);
    const auto copyAt = [&](const QByteArray& relative) -> std::shared_ptr<DuplicateItem> {
        const auto nodes = container->findSystemItemWithPath(tree + "/" + relative);
        DuplicateItem* copy = nodes.isEmpty() ? nullptr : nodes.front()->getDuplicateItem();
        return copy ? copy->shared_from_this() : nullptr;
    };

    std::vector<std::shared_ptr<DuplicateItem>> items;
    QMap<QString, QByteArray> groups;
    const QList<QByteArray> toRemove =
        role == "bind" ? QList<QByteArray>{"rm/x.bin"}
                       : QList<QByteArray>{"locked/a.bin", "gone/b.bin", "moved/c.bin"};
    for (const QByteArray& relative : toRemove) {
        const auto copy = copyAt(relative);
        ASSERT_TRUE(copy && copy->getGroup()) << relative.constData();
        ASSERT_TRUE(copy->selectItemForced(false)) << relative.constData();
        groups.insert(QString::fromLatin1(relative), contentSignature(tree + "/" + relative));
        items.push_back(copy);
    }

    // What happens between the scan and the run.
    if (role == "bind") {
        ASSERT_EQ(::mount((tree + "/rm").constData(), (tree + "/keep").constData(), nullptr,
                          MS_BIND, nullptr),
                  0)
            << std::strerror(errno);
    } else {
        ASSERT_EQ(::chmod((tree + "/locked").constData(), 0), 0);
        ASSERT_EQ(::unlink((tree + "/gone/b.bin").constData()), 0);
        FileError error;
        ASSERT_TRUE(FileManager::defaultManager().removeItemAtPath(tree + "/moved", &error));
        ASSERT_TRUE(TestSupport::writeFile(tree + "/moved", "now a file"));
    }

    const QByteArray toolPath = qgetenv(kToolVariable);
    DuplicatesRootRemover rootRemover(QFile::decodeName(toolPath));
    auto remover = DuplicatesRemover::create(FileManager::defaultManager(), &rootRemover);
    auto listener = std::make_shared<RecordingListener>();
    listener->remover = remover;
    remover->removeDuplicateItemsFromContainerWithListenerToTrashAndRemoveEmptyFolders(
        items, container, listener, toTrash, false);
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->finished; }, 30000));

    QByteArray report;
    for (const auto& batch : listener->batches) {
        for (const QByteArray& removedPath : batch)
            report += "removed\t" + removedPath + "\n";
    }
    const std::vector<NotRemovedInfo> notRemoved =
        remover->getNotRemovedInfo().value_or(std::vector<NotRemovedInfo>());
    for (const auto& info : notRemoved) {
        report += "kept\t" + QByteArray::number(info.error ? info.error->code : 0) + "\t" +
                  (info.item ? info.item->getFileItemPath() : QByteArray()) + "\t" +
                  (info.error ? info.error->description.toUtf8() : QByteArray()) + "\n";
    }
    report += "size\t" + QByteArray::number(qulonglong(remover->getTotalRemovedSize())) + "\n";
    report += "tool\t" + QByteArray::number(qlonglong(rootRemover.toolProcessId())) + "\t" +
              (::access(toolPath.constData(), X_OK) == 0 ? "reachable" : "unreachable") + "\n";
    QDirIterator records(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/info",
                         QDir::Files | QDir::Hidden);
    while (records.hasNext())
        report += "trashinfo\t" + QFile::encodeName(records.next()) + "\n";
    // Group "a" still has its copy in the closed folder; the check by content must see it.
    if (role != "bind")
        ::chmod((tree + "/locked").constData(), 0755);
    for (const QString& lost : groupsWithoutARealCopy(tree, groups))
        report += "lost\t" + lost.toUtf8() + "\n";
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    ASSERT_TRUE(TestSupport::writeFile(tree + ".report", report));
}

} // namespace
