#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace figures {

class Document;

// Magic numbers that open a document record and each view record.
constexpr int32_t kDocumentMagic = 0x0BC2BAAE;
constexpr int32_t kViewMagic = 0x0BC2BAAF;

struct ReadDocumentResult {
    bool ok = false;
    std::string error;    // readable reason when not ok
    int32_t version = -1; // the document record's version, -1 when not read
};

// The document as one byte buffer: version 1, its views in order, each with its zoom,
// name and objects in drawing order.
std::vector<uint8_t> WriteDocument(const Document& document);

// Replaces the document's views with those in bytes. Empty bytes reset the document
// to one new view. When the bytes are bad, the read fails and the views read completely
// before the fault stay. An object of an unknown type id or version ends its view
// without failing the document (so that newer documents stay readable). Data that ends
// inside an object or a view record fails the read too: the views read before the cut
// stay, and so does the view it cut into, with the objects read whole before the cut,
// once its header was read. The first view (if any) becomes current either way.
ReadDocumentResult ReadDocument(std::span<const uint8_t> bytes, Document& document);

} // namespace figures
