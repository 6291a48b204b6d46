#pragma once
// What a shown page may load besides itself. Pages come from the home server and are not
// trusted: the text view would read an <img src> or a style sheet whole and with blocking
// calls, so a page naming /dev/zero, a FIFO or a file of /proc could fill the memory or hold
// the window. A page gets only its images and style sheets, and only regular files of the home
// folder (for a page of the home folder) or addresses of its own web server, each within a
// size bound; anything else is left out of the page.
//
// What a page costs is counted in what it takes, not in its file bytes: a small picture file
// can decode to hundreds of megabytes, and the text view lays out a paragraph of many inline
// elements, or tables nested deep, in time that grows far faster than the page. So the pictures
// of a page share a budget of decoded bytes, and a page is laid out only up to an element count,
// an image count, a table depth and a text length (PageWithinBudget).
#include "common/localfile.h"

#include <QByteArray>
#include <QUrl>
#include <QVariant>

namespace ui {

inline constexpr qint64 kResourceLimit = common::kPageLimit;          // one image or style sheet
inline constexpr qint64 kPageResourceBudget = 4 * kResourceLimit;     // all of one page's together
inline constexpr int kMaxPageResources = 200;                         // distinct names per page
inline constexpr qint64 kMaxImagePixels = 4096LL * 4096LL;            // a decoded image
inline constexpr qint64 kPagePictureBudget = 128LL * 1024 * 1024;      // decoded bytes of one page's pictures
// What one page lays out: at this machine's pace a paragraph of 2,000 inline elements takes
// about a third of a second, 300 images a few milliseconds, tables nested 8 deep some tens.
inline constexpr int kMaxPageElements = 2000;   // start tags
inline constexpr int kMaxPageImages = 300;      // <img> elements, repeated names counted each time
inline constexpr int kMaxTableDepth = 8;        // tables inside tables
inline constexpr qsizetype kMaxPageText = 512 * 1024;  // characters of the page's source

enum class ResourcePlace { LeftOut, HomeFile, PageServer };

// Where a resource of a page may come from. type is a QTextDocument::ResourceType; resource is
// already resolved against the page's address.
ResourcePlace PlaceOf(int type, const QUrl& page, const QUrl& resource);

// A file of a home folder (the home server's when it is a folder, and the program's own "home",
// where the help stands): a regular file once links are resolved, inside one of them, at most
// kResourceLimit bytes, opened without blocking. False for anything else.
bool ReadHomeFile(const QUrl& resource, QByteArray* bytes);

// The bytes a picture takes once decoded (four per pixel), read from its head without decoding
// it; -1 when its format does not tell.
qint64 DecodedPictureBytes(const QByteArray& bytes);

// The value the document takes for a resource's bytes: a decoded image (at most
// kMaxImagePixels, and at most maxDecodedBytes once decoded) or a style sheet's text; the
// left-out value when they make none or the picture passes those bounds.
QVariant ResourceValue(int type, const QByteArray& bytes, qint64 maxDecodedBytes = kPagePictureBudget);

// What one page's resources have taken: the bytes read or fetched (kPageResourceBudget) and the
// bytes their pictures take decoded (kPagePictureBudget). take() gives the value of a resource
// that fits both, and the left-out value for one that passes either, which then takes nothing.
class PageBudget {
public:
    QVariant take(int type, const QByteArray& bytes);
    qint64 fileBytes() const { return fileBytes_; }
    qint64 decodedBytes() const { return decodedBytes_; }
    void reset() { fileBytes_ = decodedBytes_ = 0; }

private:
    qint64 fileBytes_ = 0;
    qint64 decodedBytes_ = 0;
};

// The part of a page's HTML the view lays out: at most kMaxPageImages images (later ones left
// out), tables nested at most kMaxTableDepth deep (deeper ones shown as their cells' content),
// and the page cut after kMaxPageElements start tags or kMaxPageText characters, with a line
// saying the rest is not shown. A page within those bounds comes back as it was.
QString PageWithinBudget(const QString& html);
// What stands in a left-out resource's place: an empty style sheet, a transparent dot for an
// image. Never a null value, which would send the document to read the file by itself.
QVariant LeftOutResource(int type);
bool IsLeftOut(const QVariant& value);

}  // namespace ui
