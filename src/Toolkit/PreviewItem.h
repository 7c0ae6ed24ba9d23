#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QUrl>

// Something a preview can show: a file named by a URL, with a title. previewItemPath()
// gives the exact bytes of the path (a name that is not valid UTF-8 survives it, which a
// URL does not); by default it is the URL's local file.
class PreviewItem {
public:
    virtual ~PreviewItem() = default;

    virtual QUrl previewItemURL() const = 0;
    virtual QString previewItemTitle() const = 0;
    virtual QByteArray previewItemPath() const {
        return QFile::encodeName(previewItemURL().toLocalFile());
    }
};
