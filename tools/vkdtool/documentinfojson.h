#pragma once

namespace figures {
class Document;
struct ReadDocumentResult;
} // namespace figures

namespace vkdtool {

class JsonStream;

// Writes the structure of a read document to out as it walks the objects: the same
// text, byte for byte, as the indented QJsonDocument of DocumentInfoJson, in memory that
// does not grow with the number of objects.
void WriteDocumentInfoJson(const figures::Document& document,
                           const figures::ReadDocumentResult& read, JsonStream& out);

} // namespace vkdtool
