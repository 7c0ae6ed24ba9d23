// What the privileged tool refuses to remove, asked through the real client with crafted
// requests. The tool runs with the test's own rights (no launcher), so whatever it would
// wrongly remove is within the test's reach: each refusal is checked on disk.
#include "Platform/AuthorizationManager.h"
#include "PrivilegedRemovalSupport.h"
#include "Removal/DuplicatesRootRemover.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using PrivilegedRemovalSupport::exists;
using PrivilegedRemovalSupport::identityOf;
using PrivilegedRemovalSupport::shallowIdentityOf;
using PrivilegedRemovalSupport::toolPath;
using Identity = PrivilegedRemovalSupport::Identity;

QByteArray contents(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class PrivilegedRemovalRulesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AuthorizationManager::GetInstance().setLauncher({}); }
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(toolPath())) << toolPath().toStdString();
        ASSERT_TRUE(m_dir.isValid());
        m_root = QFile::encodeName(QDir(m_dir.path()).canonicalPath());
    }
    QByteArray path(const char* relative) const { return m_root + "/" + relative; }

    QTemporaryDir m_dir;
    QByteArray m_root;
};

// Asked with their true identity, so that only the rule stands in the way. None of these is
// opened beyond its identity, let alone walked.
TEST_F(PrivilegedRemovalRulesTest, TopLevelFoldersHomeFoldersAndTheirParentsAreRefused) {
    std::vector<QByteArray> paths = {"/home",  "/opt", "/srv", "/mnt",
                                     "/media", "/tmp", "/run", "/root"};
    // Refused by rule before anything is looked at: no such folder is needed.
    const QByteArray unknownHome = "/home/sorvanta-no-user-" + QByteArray::number(::getpid());
    ::setpwent();
    while (const passwd* entry = ::getpwent()) {
        if (entry->pw_dir && entry->pw_dir[0] == '/' && exists(entry->pw_dir))
            paths.push_back(entry->pw_dir);
    }
    ::endpwent();

    DuplicatesRootRemover remover(toolPath());
    for (const QByteArray& p : paths) {
        if (!exists(p))
            continue;
        const Identity identity = shallowIdentityOf(p);
        EXPECT_FALSE(remover.removeFileAtPath(p, identity)) << p.constData();
        EXPECT_EQ(remover.lastToolError(), EPERM) << p.constData();
        EXPECT_TRUE(exists(p)) << p.constData();
        EXPECT_EQ(shallowIdentityOf(p), identity) << p.constData();
    }
    EXPECT_FALSE(remover.removeFileAtPath(unknownHome, Identity{}));
    EXPECT_EQ(remover.lastToolError(), EPERM) << "a rule, not a missing folder";

    // The tool still removes what it may.
    ASSERT_TRUE(TestSupport::writeFile(path("copy"), "copy"));
    EXPECT_TRUE(remover.removeFileAtPath(path("copy"), identityOf(path("copy"))));
    EXPECT_FALSE(exists(path("copy")));
}

TEST_F(PrivilegedRemovalRulesTest, AnItemThatIsNotTheOneScannedIsRefused) {
    struct Case {
        const char* name;
        QByteArray path;
        // Changes the disk after the identity was recorded.
        std::function<void()> change;
        // Turns the recorded identity into the request's.
        std::function<void(Identity&)> request;
        std::vector<QByteArray> survivors;
    };
    const auto write = [](const QByteArray& p, const QByteArray& data) {
        ASSERT_TRUE(TestSupport::writeFile(p, data)) << p.constData();
    };
    write(path("replaced"), "1234");
    write(path("grown"), "1234");
    write(path("file-as-folder"), "1234");
    write(path("folder-as-file/x"), "x");
    write(path("folder-grown/x"), "x");
    write(path("folder-replaced/x"), "x");
    write(path("other-device"), "1234");
    const std::vector<Case> cases = {
        {"a file replaced by another of the same size",
         path("replaced"),
         [&] {
             write(path("replaced.new"), "abcd");
             ASSERT_EQ(::rename(path("replaced.new").constData(), path("replaced").constData()), 0);
         },
         nullptr,
         {path("replaced")}},
        {"a file that grew",
         path("grown"),
         [&] { write(path("grown"), "12345"); },
         nullptr,
         {path("grown")}},
        {"a file asked for as a folder",
         path("file-as-folder"),
         nullptr,
         [](Identity& i) { i.kind = Identity::Folder; },
         {path("file-as-folder")}},
        {"a folder asked for as a file",
         path("folder-as-file"),
         nullptr,
         [](Identity& i) { i.kind = Identity::File; },
         {path("folder-as-file/x")}},
        {"a folder that gained a file",
         path("folder-grown"),
         [&] { write(path("folder-grown/y"), "y"); },
         nullptr,
         {path("folder-grown/x"), path("folder-grown/y")}},
        // The old one is kept aside, so the new one cannot reuse its inode.
        {"a folder replaced by an equal one",
         path("folder-replaced"),
         [&] {
             ASSERT_EQ(::rename(path("folder-replaced").constData(),
                                path("folder-replaced.old").constData()),
                       0);
             write(path("folder-replaced/x"), "x");
         },
         nullptr,
         {path("folder-replaced/x"), path("folder-replaced.old/x")}},
        {"another device's inode",
         path("other-device"),
         nullptr,
         [](Identity& i) { i.device ^= 1; },
         {path("other-device")}},
    };
    DuplicatesRootRemover remover(toolPath());
    for (const Case& c : cases) {
        Identity identity = identityOf(c.path);
        ASSERT_NE(identity.inode, 0u) << c.name;
        if (c.change)
            c.change();
        if (c.request)
            c.request(identity);
        EXPECT_FALSE(remover.removeFileAtPath(c.path, identity)) << c.name;
        EXPECT_EQ(remover.lastToolError(), ESTALE) << c.name;
        for (const QByteArray& survivor : c.survivors)
            EXPECT_TRUE(exists(survivor)) << c.name << ": " << survivor.constData();
    }
    EXPECT_EQ(contents(path("replaced")), "abcd");

    // A folder that lost files since the scan (an attempt without rights removed part of it)
    // is still the one asked for.
    write(path("folder-shrunk/x"), "x");
    write(path("folder-shrunk/sub/y"), "y");
    const Identity shrunk = identityOf(path("folder-shrunk"));
    ASSERT_TRUE(TestSupport::removeTree(path("folder-shrunk/sub")));
    EXPECT_TRUE(remover.removeFileAtPath(path("folder-shrunk"), shrunk));
    EXPECT_FALSE(exists(path("folder-shrunk")));
    // Asked again as they are now, they go.
    EXPECT_TRUE(remover.removeFileAtPath(path("replaced"), identityOf(path("replaced"))));
    EXPECT_TRUE(remover.removeFileAtPath(path("folder-grown"), identityOf(path("folder-grown"))));
    EXPECT_FALSE(exists(path("replaced")));
    EXPECT_FALSE(exists(path("folder-grown")));
}

TEST_F(PrivilegedRemovalRulesTest, APathThroughALinkIsRefused) {
    ASSERT_TRUE(TestSupport::writeFile(path("real/folder/file"), "f"));
    ASSERT_EQ(::symlink(path("real").constData(), path("via").constData()), 0);
    ASSERT_EQ(::symlink(path("real/folder").constData(), path("folder-link").constData()), 0);
    const Identity folder = identityOf(path("real/folder"));
    const Identity file = identityOf(path("real/folder/file"));

    DuplicatesRootRemover remover(toolPath());
    // The identities are the real items': only the links are in the way, which the kernel
    // reports as ELOOP or, where a folder was asked for, ENOTDIR.
    const auto isLinkError = [](int error) { return error == ELOOP || error == ENOTDIR; };
    EXPECT_FALSE(remover.removeFileAtPath(path("via/folder"), folder));
    EXPECT_PRED1(isLinkError, remover.lastToolError());
    EXPECT_FALSE(remover.removeFileAtPath(path("via/folder/file"), file));
    EXPECT_PRED1(isLinkError, remover.lastToolError());
    EXPECT_FALSE(remover.removeFileAtPath(path("folder-link"), folder));
    EXPECT_NE(remover.lastToolError(), 0);
    EXPECT_TRUE(exists(path("real/folder/file")));
    EXPECT_TRUE(exists(path("folder-link")));
}

// Mounts are made in a child with a mount namespace of its own (and, for an ordinary user,
// a user namespace), which also starts the tool: nothing is mounted where the rest of the
// system could see it, and everything is gone with the child. The same namespace gives the
// tool a password database that names folders of the test as homes.
TEST_F(PrivilegedRemovalRulesTest, MountPointsAndHomeFoldersOfThePasswordDatabaseAreRefused) {
    for (const char* folder :
         {"mnt", "tree/inner", "source", "bind", "home-of-a", "holder/b", "plain"})
        ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path(folder))));
    ASSERT_TRUE(TestSupport::writeFile(path("tree/kept"), "kept"));
    ASSERT_TRUE(TestSupport::writeFile(path("source/original"), "original"));
    ASSERT_TRUE(TestSupport::writeFile(path("home-of-a/file"), "a"));
    ASSERT_TRUE(TestSupport::writeFile(path("holder/b/file"), "b"));
    ASSERT_TRUE(TestSupport::writeFile(path("plain/file"), "plain"));
    QByteArray passwd = contents("/etc/passwd");
    passwd += "sorvanta-a:x:4201:4201::" + path("home-of-a") + ":/bin/false\n";
    passwd += "sorvanta-b:x:4202:4202::" + path("holder/b") + ":/bin/false\n";
    ASSERT_TRUE(TestSupport::writeFile(path("passwd"), passwd));

    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        QByteArray out;
        const auto skip = [&](const char* what) {
            out = QByteArray(what) + ": " + std::strerror(errno);
            (void)!::write(report[1], out.constData(), size_t(out.size()));
            ::_exit(200);
        };
        if (uid != 0) {
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                skip("no user namespace");
            const auto put = [&](const char* file, const QByteArray& text) {
                const int fd = ::open(file, O_WRONLY);
                if (fd < 0 || ::write(fd, text.constData(), size_t(text.size())) != text.size())
                    skip(file);
                ::close(fd);
            };
            put("/proc/self/setgroups", "deny");
            put("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1");
            put("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1");
        } else if (::unshare(CLONE_NEWNS) != 0) {
            skip("no mount namespace");
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", path("mnt").constData(), "tmpfs", 0, "size=1m") != 0 ||
            ::mount("tmpfs", path("tree/inner").constData(), "tmpfs", 0, "size=1m") != 0 ||
            ::mount(path("source").constData(), path("bind").constData(), nullptr, MS_BIND,
                    nullptr) != 0 ||
            ::mount(path("passwd").constData(), "/etc/passwd", nullptr, MS_BIND, nullptr) != 0)
            skip("cannot mount");
        if (!TestSupport::writeFile(path("mnt/file"), "m") ||
            !TestSupport::writeFile(path("tree/inner/file"), "i"))
            skip("cannot write on the mounts");

        struct Case {
            const char* path;
            int error;
            const char* survivor;
        };
        const Case cases[] = {
            {"mnt", EBUSY, "mnt/file"},         {"bind", EBUSY, "source/original"},
            {"tree", EBUSY, "tree/kept"},       {"home-of-a", EPERM, "home-of-a/file"},
            {"holder", EPERM, "holder/b/file"}, {"plain", 0, nullptr},
            {"mnt/file", 0, nullptr},
        };
        DuplicatesRootRemover remover(toolPath());
        for (const Case& c : cases) {
            const bool removed = remover.removeFileAtPath(path(c.path), identityOf(path(c.path)));
            if (removed != (c.error == 0) || remover.lastToolError() != c.error)
                out += QByteArray(c.path) + ": error " +
                       QByteArray::number(remover.lastToolError()) + ", expected " +
                       QByteArray::number(c.error) + "\n";
            if (c.survivor ? !exists(path(c.survivor)) : exists(path(c.path)))
                out += QByteArray(c.path) + (c.survivor ? ": removed\n" : ": still there\n");
        }
        (void)!::write(report[1], out.constData(), size_t(out.size()));
        ::_exit(0);
    }
    ::close(report[1]);
    QByteArray out;
    char buffer[512];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof(buffer))) > 0;)
        out.append(buffer, n);
    ::close(report[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 200)
        GTEST_SKIP() << "this test needs a private mount namespace: " << out.constData();
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(out, QByteArray()) << out.constData();
    // Nothing of it is seen out here.
    EXPECT_TRUE(exists(path("bind")) && !exists(path("bind/original")));
    EXPECT_TRUE(exists(path("mnt")) && !exists(path("mnt/file")));
}

} // namespace
