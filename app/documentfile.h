#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// A document file holds exactly the canvas's document bytes; these functions move those
// bytes between a file and memory, and say why when they cannot.

struct DocumentFileRead {
    enum Status {
        Read,         // bytes hold the whole file; empty bytes are an empty document
        Unreadable,   // the file could not be opened or read; error says why
        NotADocument, // the file does not begin with the document magic AE BA C2 0B
    };
    Status status = Read;
    QByteArray bytes;
    QString error;
};

// True when bytes begin with the four bytes every document starts with.
bool HasDocumentMagic(const QByteArray& bytes);

// Reads the whole file at path. A folder, a missing file or a read error is Unreadable;
// a non-empty file without the magic is NotADocument.
DocumentFileRead ReadDocumentFile(const QString& path);

// Writes bytes to path through a temporary file in the same folder that replaces the
// target only once it is completely written, so a failure (no permission, a folder in
// the way, a full disk) leaves the previous file exactly as it was. Returns the reason of
// a failure, an empty text on success.
QString WriteDocumentFile(const QString& path, const QByteArray& bytes);

// The name a chosen file name is saved under: ".vkd" is appended unless the name already
// ends in exactly those four bytes, so "plan.VKD" becomes "plan.VKD.vkd".
QString WithDocumentExtension(const QString& name);

} // namespace app
