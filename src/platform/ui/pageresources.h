#pragma once
// What a shown page may load besides itself. Pages come from the home server and are not
// trusted: the text view would read an <img src> or a style sheet whole and with blocking
// calls, so a page naming /dev/zero, a FIFO or a file of /proc could fill the memory or hold
// the window. A page gets only its images and style sheets, and only regular files of the home
// folder (for a page of the home folder) or addresses of its own web server, each within a
// size bound; anything else is left out of the page.
#include "common/localfile.h"

#include <QByteArray>
#include <QUrl>
#include <QVariant>

namespace ui {

inline constexpr qint64 kResourceLimit = common::kPageLimit;          // one image or style sheet
inline constexpr qint64 kPageResourceBudget = 4 * kResourceLimit;     // all of one page's together
inline constexpr int kMaxPageResources = 200;                         // distinct names per page
inline constexpr qint64 kMaxImagePixels = 4096LL * 4096LL;            // a decoded image

enum class ResourcePlace { LeftOut, HomeFile, PageServer };

// Where a resource of a page may come from. type is a QTextDocument::ResourceType; resource is
// already resolved against the page's address.
ResourcePlace PlaceOf(int type, const QUrl& page, const QUrl& resource);

// A file of a home folder (the home server's when it is a folder, and the program's own "home",
// where the help stands): a regular file once links are resolved, inside one of them, at most
// kResourceLimit bytes, opened without blocking. False for anything else.
bool ReadHomeFile(const QUrl& resource, QByteArray* bytes);

// The value the document takes for a resource's bytes: a decoded image (at most
// kMaxImagePixels) or a style sheet's text; the left-out value when they make none.
QVariant ResourceValue(int type, const QByteArray& bytes);
// What stands in a left-out resource's place: an empty style sheet, a transparent dot for an
// image. Never a null value, which would send the document to read the file by itself.
QVariant LeftOutResource(int type);
bool IsLeftOut(const QVariant& value);

}  // namespace ui
