#pragma once

#include <QJsonObject>
#include <QString>

namespace figures {
class Document;
struct ReadDocumentResult;
} // namespace figures

namespace vkdtool {

// The structure of a read document as JSON: read_ok, error, version and every view
// with every object, texts converted from GBK. The shape is relied on by other
// programs; keep it stable.
QJsonObject DocumentInfoJson(const figures::Document& document,
                             const figures::ReadDocumentResult& read);

// The same structure as an indented outline for people.
QString DocumentInfoText(const figures::Document& document,
                         const figures::ReadDocumentResult& read);

} // namespace vkdtool
