#include "platform/ui/pageresources.h"

#include "common/paths.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QStringList>
#include <QTextDocument>

namespace ui {
namespace {

const QString kLeftOutKey = QStringLiteral("sifmora-left-out");

bool IsWeb(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

// The home folders with their links resolved; a folder that does not exist has none.
QStringList HomeFolders() {
    QStringList folders;
    const QUrl home(common::HomeUrl());
    for (const QString& folder : {home.isLocalFile() ? home.toLocalFile() : QString(),
                                  common::ProgramFile(QStringLiteral("home"))}) {
        const QString canonical = folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty() && !folders.contains(canonical)) folders << canonical;
    }
    return folders;
}

}  // namespace

ResourcePlace PlaceOf(int type, const QUrl& page, const QUrl& resource) {
    if (type != QTextDocument::ImageResource && type != QTextDocument::StyleSheetResource)
        return ResourcePlace::LeftOut;
    if (page.isLocalFile() && resource.isLocalFile()) return ResourcePlace::HomeFile;
    // The page's own server: the same scheme, host and port.
    if (IsWeb(page) && IsWeb(resource) && resource.scheme() == page.scheme() && !page.host().isEmpty()
        && resource.host().compare(page.host(), Qt::CaseInsensitive) == 0
        && resource.port(page.scheme() == QLatin1String("https") ? 443 : 80)
               == page.port(page.scheme() == QLatin1String("https") ? 443 : 80))
        return ResourcePlace::PageServer;
    return ResourcePlace::LeftOut;
}

bool ReadHomeFile(const QUrl& resource, QByteArray* bytes) {
    // Links resolved first, so a link inside the folder to a file outside it stays outside;
    // only stat() is called on the way, which no FIFO or device answers by blocking.
    const QString path = QFileInfo(resource.toLocalFile()).canonicalFilePath();
    if (path.isEmpty()) return false;
    bool inside = false;
    for (const QString& folder : HomeFolders())
        inside = inside || path.startsWith(folder + QLatin1Char('/'));
    // A regular file only, opened without blocking and checked again once open, read to the bound.
    return inside && common::ReadRegularFile(path, kResourceLimit, bytes);
}

QVariant ResourceValue(int type, const QByteArray& bytes) {
    if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A small file can announce a huge picture: its size is read from the head before decoding,
    // and a format that tells none is held to the memory such a picture takes.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxImagePixels) return LeftOutResource(type);
    reader.setAllocationLimit(int(kMaxImagePixels * 4 / (1024 * 1024)));
    const QImage image = reader.read();
    return image.isNull() ? LeftOutResource(type) : QVariant(image);
}

QVariant LeftOutResource(int type) {
    if (type == QTextDocument::ImageResource) {
        QImage dot(1, 1, QImage::Format_ARGB32);
        dot.fill(Qt::transparent);
        dot.setText(kLeftOutKey, QStringLiteral("1"));
        return dot;
    }
    if (type == QTextDocument::StyleSheetResource) return QString(QLatin1String(""));
    return QByteArray("");
}

bool IsLeftOut(const QVariant& value) {
    if (value.userType() == QMetaType::QImage) return !value.value<QImage>().text(kLeftOutKey).isEmpty();
    if (value.userType() == QMetaType::QString) return value.toString().isEmpty();
    return value.userType() == QMetaType::QByteArray && value.toByteArray().isEmpty();
}

}  // namespace ui
