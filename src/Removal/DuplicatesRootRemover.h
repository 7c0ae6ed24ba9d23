#pragma once

#include "Removal/PrivilegedRemovalProtocol.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <mutex>
#include <optional>
#include <sys/types.h>

struct ScannedCopy;

// Removes paths with administrator rights through the privileged tool "Tarvique" (see
// PrivilegedRemovalProtocol.h for the channel). The tool is started through the
// AuthorizationManager with two arguments, a server name made up for that launch and this
// process's number, and is then reused for every later path as long as it answers. Only
// when it no longer answers is a new one started, under a new name.
//
// Calls block: starting the tool may wait for the administrator password and then up to
// about 5 s for the tool to answer, and each removal waits for the tool's answer. They come
// from the remover's serial queues; every call is serialised.
class DuplicatesRootRemover final {
public:
    // The process-wide remover, with the tool of toolPathForApplicationFolder().
    static DuplicatesRootRemover& GetInstance();
    static QString defaultToolPath();
    // Where the tool of an application whose executable lies in |folder| is: installed, in
    // the libexec folder of the application's own prefix (the path the polkit action
    // names); in the build tree, beside the executable. The installed place when neither
    // holds one.
    static QString toolPathForApplicationFolder(const QString& folder);

    explicit DuplicatesRootRemover(QString toolPath = defaultToolPath());
    // Closes the connection, which ends the tool, and collects it if it ends soon.
    ~DuplicatesRootRemover();
    DuplicatesRootRemover(const DuplicatesRootRemover&) = delete;
    DuplicatesRootRemover& operator=(const DuplicatesRootRemover&) = delete;

    using Identity = PrivilegedRemovalProtocol::ItemIdentity;

    // True when the tool reports that it removed the path. The tool removes only the item
    // `identity` describes, as the scan saw it (see PrivilegedRemovalProtocol.h); anything
    // else found at the path is refused.
    bool removeFileAtPath(const QByteArray& path, const Identity& identity);
    bool removeAsRootFileAtPath(const QByteArray& path, const Identity& identity);

    // The identity of a copy as its scan recorded it; a folder's size is the sum of its
    // scanned files. Nothing when the scan could not read the item's device and inode.
    static std::optional<Identity> identityOfScannedCopy(const ScannedCopy& copy);
    // The identity of an emptied folder as it is now (it holds no scanned file, so its size
    // is 0): `name` inside the open folder `dirFd`, never followed if a link. Nothing when it
    // cannot be read or is no folder.
    static std::optional<Identity> identityOfEmptyFolder(int dirFd, const char* name);

    // "com.velquor.duplicates.cleaner." and a random number from 100000 to 999998.
    static QString generateRootRemoverServerName();

    QString serverName() const;
    // The process number of the running tool, 0 when none was started or it was given up.
    pid_t toolProcessId() const;
    // The errno value of the tool's last refusal or failure (0 after a success).
    int lastToolError() const;

private:
    int getRootRemover();
    int getConnectedRootRemover();
    int createNewRootRemover();
    void dropConnection();
    void collectEndedTools();
    void giveUpTool();

    mutable std::mutex m_mutex;
    QString m_toolPath;
    QString m_sRootRemoverServerName;
    int m_nMaxTimeWait = 5;
    int m_connection = -1;
    pid_t m_toolPid = 0;
    int m_lastToolError = 0;
    // Tools started earlier that have not been collected yet. Only these processes are
    // ever waited for, and never blockingly, so no other child is taken away from Qt.
    QList<pid_t> m_endedTools;
};
