#include "platform/ui/pageresources.h"

#include "common/paths.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QStringList>
#include <QTextDocument>

#include <algorithm>

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

// What a picture of this size takes decoded (four bytes a pixel); -1 for no size.
qint64 DecodedBytes(QSize size) { return size.isValid() ? qint64(size.width()) * size.height() * 4 : -1; }

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

qint64 DecodedPictureBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodedBytes(QImageReader(&buffer).size());
}

QVariant ResourceValue(int type, const QByteArray& bytes, qint64 maxDecodedBytes) {
    if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(bytes);
    const qint64 bound = std::min(kMaxImagePixels * 4, maxDecodedBytes);
    // A small file can announce a huge picture: its size is read from the head before decoding,
    // and a format that tells none is held to the memory left (in whole megabytes, at least one:
    // Qt takes 0 for no limit) and measured once decoded.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (DecodedBytes(reader.size()) > bound) return LeftOutResource(type);
    constexpr qint64 kMegabyte = 1024 * 1024;
    reader.setAllocationLimit(int(std::max<qint64>(1, (bound + kMegabyte - 1) / kMegabyte)));
    const QImage image = reader.read();
    if (image.isNull() || DecodedBytes(image.size()) > bound) return LeftOutResource(type);
    return image;
}

QVariant PageBudget::take(int type, const QByteArray& bytes) {
    if (fileBytes_ + bytes.size() > kPageResourceBudget) return LeftOutResource(type);
    const QVariant value = ResourceValue(type, bytes, kPagePictureBudget - decodedBytes_);
    if (IsLeftOut(value)) return value;
    fileBytes_ += bytes.size();
    if (value.userType() == QMetaType::QImage) {
        decodedBytes_ += DecodedBytes(value.value<QImage>().size());
    }
    return value;
}

namespace {

// The tag name after "<" or "</", lower-cased; empty for a comment, a declaration or a lone "<".
QString TagName(const QString& tag) {
    qsizetype i = tag.startsWith(QLatin1String("</")) ? 2 : 1;
    const qsizetype start = i;
    while (i < tag.size() && tag.at(i).isLetterOrNumber() && tag.at(i).unicode() < 128) ++i;
    if (i == start || !tag.at(start).isLetter()) return {};
    return tag.mid(start, i - start).toLower();
}

bool IsTablePart(const QString& name) {
    static const QStringList parts = {QStringLiteral("table"), QStringLiteral("tr"),      QStringLiteral("td"),
                                      QStringLiteral("th"),    QStringLiteral("thead"),   QStringLiteral("tbody"),
                                      QStringLiteral("tfoot"), QStringLiteral("caption"), QStringLiteral("col"),
                                      QStringLiteral("colgroup")};
    return parts.contains(name);
}

}  // namespace

QString PageWithinBudget(const QString& html) {
    QString out;
    out.reserve(std::min(html.size(), kMaxPageText));
    int elements = 0;
    int images = 0;
    int tableDepth = 0;
    int flattened = 0;  // tables open past kMaxTableDepth, whose own tags are left out
    bool cut = false;
    qsizetype pos = 0;
    while (pos < html.size()) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), pos);
        const qsizetype textEnd = lt < 0 ? html.size() : lt;
        if (const qsizetype room = kMaxPageText - out.size(); textEnd - pos > room) {
            out += QStringView(html).mid(pos, std::max<qsizetype>(0, room));
            cut = true;
            break;
        }
        out += QStringView(html).mid(pos, textEnd - pos);
        if (lt < 0) break;
        // A comment is copied whole: a tag in it is no element, and no cut may fall inside it.
        if (QStringView(html).mid(lt, 4) == QLatin1String("<!--")) {
            const qsizetype close = html.indexOf(QLatin1String("-->"), lt + 4);
            pos = close < 0 ? html.size() : close + 3;
            out += QStringView(html).mid(lt, pos - lt);
            continue;
        }
        const qsizetype gt = html.indexOf(QLatin1Char('>'), lt);
        const qsizetype tagEnd = gt < 0 ? html.size() : gt + 1;
        const QString tag = html.mid(lt, tagEnd - lt);
        pos = tagEnd;
        const QString name = TagName(tag);
        const bool closing = tag.startsWith(QLatin1String("</"));
        if (name == QLatin1String("img") && !closing && ++images > kMaxPageImages) continue;
        if (!name.isEmpty() && !closing && ++elements > kMaxPageElements) {
            cut = true;
            break;
        }
        if (name == QLatin1String("table")) {
            if (!closing && (flattened > 0 || tableDepth >= kMaxTableDepth)) {
                ++flattened;
                continue;
            }
            if (closing && flattened > 0) {
                --flattened;
                continue;
            }
            tableDepth = std::max(0, tableDepth + (closing ? -1 : 1));
        }
        if (flattened > 0 && IsTablePart(name)) continue;
        out += tag;
    }
    if (cut) out += QStringLiteral("<p>（页面过长，其余部分没有显示）</p>");
    return out;
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
