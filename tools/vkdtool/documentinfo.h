#pragma once

#include <QJsonObject>
#include <QString>

#include <functional>

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

// Receives the lines of the outline one by one, in order, without their line ends.
using TextLineSink = std::function<void(const QString& line)>;

// The same structure as an indented outline for people, line by line, so that a large
// document's outline is written out as it is made instead of being held whole.
void WriteDocumentInfoText(const figures::Document& document,
                           const figures::ReadDocumentResult& read, const TextLineSink& out);

// The whole outline, every line ended by a line feed.
QString DocumentInfoText(const figures::Document& document,
                         const figures::ReadDocumentResult& read);

} // namespace vkdtool
