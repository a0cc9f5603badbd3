#pragma once

#include "figures/model/storage/carchive.h"
#include "figures/model/objects/cbasecom.h"

#include <memory>
#include <string>

namespace figures {

// An object record that names a class no one registered where the format has no way
// to skip it (a group member). Unlike other archive errors it fails the whole
// document, not just the object.
class UnregisteredClassError : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

// A new, default object of the class registered under the type id, or null.
std::unique_ptr<CBaseCom> ClassFromTypeId(int32_t typeId);

struct ReadObjectResult {
    std::unique_ptr<CBaseCom> object; // null when the object could not be read
    // The failure was an unregistered group member: the document cannot be read on.
    bool documentError = false;
    // The data ended inside the record (TruncatedDataError): whatever follows is lost.
    bool truncated = false;
    std::string error;
};

// Reads one object record at the archive's position: version 0 or 1 and a registered
// type id select the class, which then reads the whole record. On failure the partly
// read object is deleted and the archive stays wherever the reading stopped; a record
// that the data ends inside, its version and type id included, is reported as truncated.
ReadObjectResult ReadObject(CArchive& ar);

// Writes one object's record.
std::vector<uint8_t> WriteObject(const CBaseCom& object);

// Copies source into target (an object of the same class) through the object record.
// False when the classes differ or the record cannot be read back.
bool CopyObject(CBaseCom& target, const CBaseCom& source);

} // namespace figures
