#include "Promo/PromoDownloads.h"

#include "Promo/PromoSettings.h"

#include <QEventLoop>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>

namespace {

std::atomic<bool> g_cancelled{false};

// The replies under way. A reply is entered before its loop runs and taken out, under the
// same lock, before it is deleted, so cancel() only ever touches live replies.
QMutex& runningLock() {
    static QMutex lock;
    return lock;
}
QSet<QNetworkReply*>& running() {
    static QSet<QNetworkReply*> replies;
    return replies;
}

void abortSoon(QNetworkReply* reply) {
    // The reply lives in its download's thread: it is aborted there, by that thread's loop.
    QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
}

} // namespace

PromoDownloads::Result PromoDownloads::fetch(const QUrl& url, qint64 maxBytes) {
    Result result;
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return result;
    if (isCancelled()) {
        result.outcome = Outcome::Cancelled;
        return result;
    }
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setTransferTimeout(PromoSettings::transferTimeoutMs());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    bool overLimit = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, maxBytes, &overLimit] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes) {
            overLimit = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, maxBytes, &overLimit](qint64 received, qint64) {
                         if (received > maxBytes) {
                             overLimit = true;
                             reply->abort();
                         }
                     });
    {
        const QMutexLocker locker(&runningLock());
        running().insert(reply);
        // A cancel() between the check above and this point would have missed the reply.
        if (isCancelled())
            abortSoon(reply);
    }
    if (!reply->isFinished())
        loop.exec();
    {
        const QMutexLocker locker(&runningLock());
        running().remove(reply);
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (overLimit) {
        result.outcome = Outcome::OverLimit;
    } else if (isCancelled()) {
        result.outcome = Outcome::Cancelled;
    } else if (reply->error() == QNetworkReply::NoError && status == 200) {
        result.body = reply->readAll();
        if (result.body.size() > maxBytes) {
            result.body.clear();
            result.outcome = Outcome::OverLimit;
        } else {
            result.outcome = Outcome::Fetched;
        }
    }
    delete reply;
    return result;
}

void PromoDownloads::cancel() {
    g_cancelled.store(true);
    const QMutexLocker locker(&runningLock());
    for (QNetworkReply* reply : std::as_const(running()))
        abortSoon(reply);
}

bool PromoDownloads::isCancelled() {
    return g_cancelled.load();
}

const std::atomic<bool>* PromoDownloads::cancelledFlag() {
    return &g_cancelled;
}

void PromoDownloads::resetForTesting() {
    g_cancelled.store(false);
}
