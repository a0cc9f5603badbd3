#include "figures/model/storage/documentformat.h"

#include "figures/model/storage/carchive.h"
#include "figures/model/document.h"
#include "figures/model/objects/objectregistry.h"

#include <algorithm>

namespace figures {

namespace {

constexpr int32_t kFormatVersion = 1;

// A shape with its property record takes about 240 bytes; reserving a little more per
// object up front means a typical document is written without the buffer ever moving.
constexpr size_t kTypicalObjectBytes = 256;
// No object record is shorter than its root part's eleven 32-bit fields.
constexpr size_t kSmallestObjectBytes = 44;

bool IsReadableVersion(int32_t version)
{
    return version == 0 || version == 1;
}

void WriteView(const View& view, CArchive& ar)
{
    ar.WriteI32(kViewMagic);
    ar.WriteI32(kFormatVersion);
    ar.WriteI32(view.zoomX);
    ar.WriteI32(view.zoomY);
    ar.WriteString(view.name);
    ar.WriteI32(view.ObjectCount());
    for (const auto& object : view.objects) {
        object->Serialize(ar);
    }
}

// Reads a view record's header into view and returns its object count. A bad header
// raises ArchiveError.
int32_t ReadViewHeader(CArchive& ar, View& view)
{
    if (ar.ReadI32() != kViewMagic) {
        throw ArchiveError("not a view record (wrong magic)");
    }
    const int32_t version = ar.ReadI32();
    if (!IsReadableVersion(version)) {
        throw ArchiveError("unsupported view version " + std::to_string(version));
    }
    view.zoomX = ar.ReadI32();
    view.zoomY = ar.ReadI32();
    view.name = ar.ReadString();
    const int32_t count = ar.ReadI32();
    if (count < 0) {
        throw ArchiveError("negative object count");
    }
    return count;
}

// Reads the count object records of view number viewNumber (from 1) into view. An
// object of an unknown type id or version ends the view quietly; an unregistered group
// member raises ArchiveError, data that ends inside an object TruncatedDataError, the
// objects before it staying in view.
void ReadViewObjects(CArchive& ar, View& view, int32_t count, int32_t viewNumber)
{
    // The count is weighed against the bytes left, so a hostile one reserves nothing big.
    view.objects.reserve(std::min(size_t(count), ar.Remaining() / kSmallestObjectBytes));
    for (int32_t i = 0; i < count; ++i) {
        ReadObjectResult read = ReadObject(ar);
        if (read.truncated) {
            throw TruncatedDataError("the data ends inside object " + std::to_string(i + 1) +
                                     " of " + std::to_string(count) + " of view " +
                                     std::to_string(viewNumber) + " (" + read.error + ")");
        }
        if (read.documentError) {
            throw ArchiveError(read.error);
        }
        if (!read.object) {
            break;
        }
        view.objects.push_back(std::move(read.object));
    }
}

} // namespace

std::vector<uint8_t> WriteDocument(const Document& document)
{
    CArchive ar;
    size_t objects = 0;
    for (int i = 0; i < document.ViewCount(); ++i) {
        objects += document.ViewAt(i)->objects.size();
    }
    ar.Reserve(64 + objects * kTypicalObjectBytes);
    ar.WriteI32(kDocumentMagic);
    ar.WriteI32(kFormatVersion);
    ar.WriteI32(document.ViewCount());
    for (int i = 0; i < document.ViewCount(); ++i) {
        WriteView(*document.ViewAt(i), ar);
    }
    return ar.TakeBytes();
}

ReadDocumentResult ReadDocument(std::span<const uint8_t> bytes, Document& document)
{
    if (bytes.empty()) {
        document.ResetDocument();
        return {true, {}, kFormatVersion};
    }
    document.Clear();
    ReadDocumentResult result;
    try {
        CArchive ar(bytes);
        if (ar.ReadI32() != kDocumentMagic) {
            throw ArchiveError("not a drawing document (wrong magic)");
        }
        const int32_t version = ar.ReadI32();
        if (!IsReadableVersion(version)) {
            throw ArchiveError("unsupported document version " + std::to_string(version));
        }
        result.version = version;
        const int32_t count = ar.ReadI32();
        if (count < 0) {
            throw ArchiveError("negative view count");
        }
        for (int32_t i = 0; i < count; ++i) {
            auto view = std::make_unique<View>();
            const int32_t objects = ReadViewHeader(ar, *view);
            try {
                ReadViewObjects(ar, *view, objects, i + 1);
            } catch (const TruncatedDataError&) {
                // The objects read before the cut stay with their view, so that saving
                // what was read loses nothing beyond what the cut took.
                document.AppendView(std::move(view));
                throw;
            }
            document.AppendView(std::move(view));
        }
        result.ok = true;
    } catch (const ArchiveError& e) {
        result.error = e.what();
    } catch (const std::bad_alloc&) {
        result.error = "out of memory";
    }
    document.SelectView(0);
    return result;
}

} // namespace figures
