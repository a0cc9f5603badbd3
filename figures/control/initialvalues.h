#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace figures {

// The control's initial property values as a host keeps them with its window layout:
// little-endian i32 fields, the document as a byte count followed by its bytes.
struct InitialValuesBlock {
    static constexpr int32_t kVersion = 1;

    QByteArray document; // empty: a new document with one view
    uint32_t backColour = 0xFF000000;
    int32_t currentView = 0;
    int32_t borderStyle = 3;
    int32_t scrollBars = 1;
    int32_t zoomPercent = 100;
    int32_t reserved = 1;
    int32_t textEditing = 1;
    int32_t popupMenu = 1;

    QByteArray Write() const;
    // Versions 0 and 1 are read. A block that ends early keeps the defaults of the fields
    // it does not reach, but a document count must fit the bytes left: a block whose
    // version is unknown or whose count runs past its end gives nothing.
    static std::optional<InitialValuesBlock> Read(const QByteArray& block);
};

} // namespace figures
