// A mutation fuzz run of the promotional feed's XML reader and of the panel archive's zip
// unpacking. Seeds are built here (feed documents; archives made with minizip's writing
// half), mutated at random, and fed to the real code; under the sanitizers any read past a
// buffer or undefined behaviour stops the run with a report. The zip run also checks after
// every archive that nothing appeared outside the destination and no link was made.
//
// Usage: promofuzz xml|zip [seconds=60] [seed]
//        promofuzz parse-bench   (a benchmark, not a test: build it without sanitizers)
// The parse bench times the reader on 1 MiB adversarial feeds (best of several runs) and
// reports the peak resident memory each parse adds.
#include "Promo/SSZipArchive.h"
#include "Promo/TBXML.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <random>
#include <vector>

namespace {

const QList<QByteArray> kTokens{"<",
                                ">",
                                "</",
                                "/>",
                                "<!--",
                                "-->",
                                "<![CDATA[",
                                "]]>",
                                "<?",
                                "?>",
                                "=",
                                "\"",
                                "'",
                                QByteArray(1, '\0'),
                                " ",
                                "\n",
                                "\r",
                                "<a>",
                                "</a>",
                                "&amp;",
                                "\xff",
                                "\xc3",
                                "notification",
                                "<id>9</id>",
                                "zembrook"};

class Mutator {
public:
    explicit Mutator(quint64 seed) : m_random(seed) {}

    quint64 below(quint64 n) { return n == 0 ? 0 : m_random() % n; }

    QByteArray mutate(QByteArray data, const std::vector<QByteArray>& pool) {
        const int steps = 1 + static_cast<int>(below(8));
        for (int i = 0; i < steps; ++i) {
            const qsizetype size = data.size();
            const qsizetype at = static_cast<qsizetype>(below(static_cast<quint64>(size) + 1));
            switch (below(8)) {
            case 0:
                if (size > 0)
                    data[at % size] = static_cast<char>(data[at % size] ^ (1 << below(8)));
                break;
            case 1:
                if (size > 0)
                    data[at % size] = static_cast<char>(below(256));
                break;
            case 2:
                data.insert(at, kTokens[static_cast<qsizetype>(below(kTokens.size()))]);
                break;
            case 3:
                if (size > 0)
                    data.remove(at % size, static_cast<qsizetype>(below(16) + 1));
                break;
            case 4:
                if (size > 0) {
                    const qsizetype from = static_cast<qsizetype>(below(size));
                    data.insert(at, data.mid(from, static_cast<qsizetype>(below(32) + 1)));
                }
                break;
            case 5:
                data.truncate(at);
                break;
            case 6: {
                const QByteArray& other = pool[below(pool.size())];
                if (!other.isEmpty()) {
                    const qsizetype from = static_cast<qsizetype>(below(other.size()));
                    data.insert(at, other.mid(from, static_cast<qsizetype>(below(64) + 1)));
                }
                break;
            }
            default:
                // Overwrite a 16- or 32-bit field with an extreme value (sizes, offsets).
                if (size >= 4) {
                    const quint32 values[] = {0,           0xFFFFFFFFu,
                                              0x7FFFFFFFu, 0x80000000u,
                                              1,           static_cast<quint32>(below(1u << 20))};
                    const quint32 v = values[below(6)];
                    const qsizetype p = at % (size - 3);
                    for (int k = 0; k < 4; ++k)
                        data[p + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
                }
                break;
            }
            if (data.size() > 1 << 20)
                data.truncate(1 << 20);
        }
        return data;
    }

private:
    std::mt19937_64 m_random;
};

// Walks every element the reader found, using every lookup.
quint64 walk(const TBXMLElement* element, int depth) {
    quint64 count = 0;
    for (; element && depth < 200; element = element->nextSibling) {
        ++count;
        const QByteArray name = TBXML::elementName(element);
        (void)TBXML::textForElement(element);
        (void)TBXML::attributesOf(element);
        (void)TBXML::childElementNamed(QString::fromUtf8(name), element->parentElement);
        (void)TBXML::nextSiblingNamed(QStringLiteral("notification"), element);
        (void)TBXML::childElementNamed(QStringLiteral("id"), element);
        count += walk(element->firstChild, depth + 1);
    }
    return count;
}

std::vector<QByteArray> xmlSeeds() {
    return {
        "<?xml version=\"1.0\"?><promo><notifications_list><notification><id>5</id>"
        "<title>T</title><subtitle>S</subtitle><text>X &amp; Y</text><ok_button_name>Open"
        "</ok_button_name><ok_button_link><![CDATA[https://e.org/?a=1&b=2]]></ok_button_link>"
        "<cancel_button_name>Close</cancel_button_name><bundleid/><open_bundle_button_name>L"
        "</open_bundle_button_name></notification></notifications_list></promo>",
        "<tools><zembrook><version>3</version><url>https://e.org/p.zip</url><width>800px"
        "</width><height>-5</height></zembrook></tools>",
        "<r a=\"1\" b='<![CDATA[x>y]]>'><!-- c --><a>t<b/>u</a><![CDATA[<<>>]]><c\r\n>v</c></r>",
        "<!DOCTYPE r><?pi x?><r><a><![CDATA[1]]><![CDATA[2]]></a></r>",
        "<a><b><c><d><e>deep</e></d></c></b></a>",
    };
}

int fuzzXml(Mutator& mutator, qint64 seconds) {
    std::vector<QByteArray> pool = xmlSeeds();
    QElapsedTimer timer;
    timer.start();
    quint64 runs = 0;
    quint64 elements = 0;
    quint64 withRoot = 0;
    while (timer.elapsed() < seconds * 1000) {
        const QByteArray input = mutator.mutate(pool[mutator.below(pool.size())], pool);
        int error = 0;
        const std::unique_ptr<TBXML> xml = TBXML::newTBXMLWithXMLData(input, &error);
        if (xml->rootXMLElement())
            ++withRoot;
        elements += walk(xml->rootXMLElement(), 0);
        ++runs;
        // Keep a few inputs that still parse, so mutations build on each other.
        if (xml->rootXMLElement() && mutator.below(64) == 0) {
            if (pool.size() < 256)
                pool.push_back(input);
            else
                pool[5 + mutator.below(pool.size() - 5)] = input;
        }
    }
    std::printf("xml: %llu inputs in %.1f s (%.0f/s), %llu with a root, %llu elements walked\n",
                static_cast<unsigned long long>(runs), timer.elapsed() / 1000.0,
                runs * 1000.0 / static_cast<double>(timer.elapsed()),
                static_cast<unsigned long long>(withRoot),
                static_cast<unsigned long long>(elements));
    return 0;
}

QByteArray makeArchive(const QString& path, const QList<QPair<QByteArray, QByteArray>>& entries,
                       int method, quint32 externalAttributes = 0) {
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    for (const auto& [name, data] : entries) {
        zip_fileinfo info{};
        info.dosDate = 0x5A2E6000;
        info.external_fa = externalAttributes;
        zipOpenNewFileInZip(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                            method ? Z_DEFAULT_COMPRESSION : 0);
        if (!data.isEmpty())
            zipWriteInFileInZip(zip, data.constData(), static_cast<unsigned>(data.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Nothing under `root` but the archive, the destination's parent and the destination's own
// contents; and no link anywhere.
bool sandboxIsClean(const QString& root, const QString& destination, const QString& archive) {
    const QString parent = QFileInfo(destination).absolutePath();
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path == archive || path == parent)
            continue;
        if (path != destination && !path.startsWith(destination + QLatin1Char('/'))) {
            std::printf("written outside the destination: %s\n", qPrintable(path));
            return false;
        }
        if (QFileInfo(path).isSymLink()) {
            std::printf("a link was made: %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

int fuzzZip(Mutator& mutator, qint64 seconds) {
    QTemporaryDir sandbox;
    const QString root = sandbox.filePath(QStringLiteral("root"));
    const QString destination = root + QStringLiteral("/in/dest");
    const QString archive = root + QStringLiteral("/a.zip");
    QDir().mkpath(root);
    const QString scratch = sandbox.filePath(QStringLiteral("seed.zip"));
    std::vector<QByteArray> pool{
        makeArchive(scratch,
                    {{"zembrook.html", "<html>page</html>"},
                     {"img/", {}},
                     {"img/a.svg", QByteArray(5000, 'a')}},
                    Z_DEFLATED),
        makeArchive(scratch, {{"a\\b\\c.txt", "backslashes"}, {"d/", {}}}, 0),
        makeArchive(scratch, {{"link", "../../x"}}, 0, 0120777u << 16),
        makeArchive(scratch, {{"../x", "climb"}, {"ok", "fine"}}, Z_DEFLATED),
        makeArchive(scratch, {{"big", QByteArray(200000, '\0')}}, Z_DEFLATED),
    };
    QElapsedTimer timer;
    timer.start();
    quint64 runs = 0;
    quint64 succeeded = 0;
    while (timer.elapsed() < seconds * 1000) {
        const QByteArray input = mutator.mutate(pool[mutator.below(pool.size())], pool);
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 2;
        file.write(input);
        file.close();
        QDir(root + QStringLiteral("/in")).removeRecursively();
        QDir().mkpath(destination);
        if (SSZipArchive::unzipFileAtPath(archive, destination, 200, 4 * 1024 * 1024))
            ++succeeded;
        ++runs;
        if (!sandboxIsClean(root, destination, archive))
            return 1;
    }
    std::printf("zip: %llu archives in %.1f s (%.0f/s), %llu unpacked without error, nothing "
                "outside the destination, no link made\n",
                static_cast<unsigned long long>(runs), timer.elapsed() / 1000.0,
                runs * 1000.0 / static_cast<double>(timer.elapsed()),
                static_cast<unsigned long long>(succeeded));
    return 0;
}

// Peak resident memory, in KiB, since the last resetPeakMemory() (Linux).
qint64 statusField(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                .trimmed()
                .split(' ')
                .value(0)
                .toLongLong();
    }
    return -1;
}

void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QByteArray fill(const QByteArray& head, const QByteArray& piece, const QByteArray& tail,
                qsizetype size) {
    QByteArray out = head;
    while (out.size() + piece.size() + tail.size() <= size)
        out += piece;
    out += tail;
    return out;
}

int parseBench() {
    constexpr qsizetype kSize = 1024 * 1024;
    const QByteArray open = "<promo><notifications_list><notification><text>";
    const QByteArray close = "</text></notification></notifications_list></promo>";
    QByteArray attributes = "<promo><notifications_list><notification";
    for (int i = 0; attributes.size() < kSize - 64; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"v\"";
    attributes += "/></notifications_list></promo>";
    const struct {
        const char* what;
        QByteArray document;
    } feeds[] = {
        {"CDATA run", fill(open, "<![CDATA[ab<]]>", close, kSize)},
        {"CDATA run, text between", fill(open, "<![CDATA[a]]>b", close, kSize)},
        {"siblings", fill("<promo>", "<n/>", "</promo>", kSize)},
        {"siblings within the record limit",
         fill("<promo>", QByteArray("<n>") + QByteArray(52, 'x') + "</n>", "</promo>", kSize)},
        {"nesting with text", fill("<promo>", "<a>t", "", kSize)},
        {"attributes", attributes},
        {"one long attribute", "<promo v=\"" + QByteArray(kSize - 32, 'x') + "\"/>"},
        {"comments", fill("<promo>", "<!-- c -->", "</promo>", kSize)},
        {"unterminated tags", fill("<promo>", "<", "", kSize)},
    };
    for (const auto& feed : feeds) {
        double best = 1e9;
        qint64 peakKiB = 0;
        int error = 0;
        bool root = false;
        for (int run = 0; run < 7; ++run) {
            // Freed memory goes back to the system first, so each run's peak is its own.
            ::malloc_trim(0);
            const qint64 before = statusField("VmRSS:");
            resetPeakMemory();
            QElapsedTimer timer;
            timer.start();
            const std::unique_ptr<TBXML> xml = TBXML::newTBXMLWithXMLData(feed.document, &error);
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            root = xml->rootXMLElement() != nullptr;
            peakKiB = std::max(peakKiB, statusField("VmHWM:") - before);
            best = std::min(best, ms);
        }
        std::printf(
            "parse %-34s %7.0f KiB in %7.2f ms, peak +%6lld KiB (%.1fx), %s\n", feed.what,
            feed.document.size() / 1024.0, best, static_cast<long long>(peakKiB),
            static_cast<double>(peakKiB) / (feed.document.size() / 1024.0),
            root ? "parsed"
                 : (error == TBXML::MemoryAllocationFailure ? "refused (limit)" : "no root"));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("parse-bench"))
        return parseBench();
    const qint64 seconds = args.size() > 2 ? args[2].toLongLong() : 60;
    const quint64 seed = args.size() > 3 ? args[3].toULongLong() : std::random_device{}();
    std::printf("seed %llu\n", static_cast<unsigned long long>(seed));
    Mutator mutator(seed);
    if (mode == QLatin1String("xml"))
        return fuzzXml(mutator, seconds);
    if (mode == QLatin1String("zip"))
        return fuzzZip(mutator, seconds);
    std::fprintf(stderr, "usage: promofuzz xml|zip [seconds] [seed] | parse-bench\n");
    return 2;
}
