#pragma once
// Text files are ANSI code page 936 (GBK). Never assume UTF-8.
#include "common/localfile.h"

#include <QByteArray>
#include <QString>

namespace common {

QString DecodeAnsi(const QByteArray& bytes);
QByteArray EncodeAnsi(const QString& text);

// Reads a whole file as code page 936 text; false (and text untouched) when unreadable, not a
// regular file or larger than maxBytes.
bool ReadAnsiFile(const QString& path, QString* text, QString* error = nullptr, qint64 maxBytes = kPageLimit);
// Writes text as code page 936 through a temporary file and a rename.
bool WriteAnsiFile(const QString& path, const QString& text, QString* error = nullptr);

// At most maxChars characters of a text for a message ("…" marks a cut), control characters
// as blanks: a garbage file is quoted by a short start, never whole.
QString QuoteStart(const QString& text, int maxChars = 20);

// A downloaded web page as text: code page 936 when the page's head or its Content-Type names
// gb2312, gbk or gb18030 (the home server's pages), otherwise UTF-8.
QString DecodeWebPage(const QByteArray& body, const QByteArray& contentType = QByteArray());

}  // namespace common
