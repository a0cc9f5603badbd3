#pragma once

#include "figures/model/storage/cstorageallocer.h"

#include <cstdint>
#include <span>

namespace figures {

class CArchive;

// Record type bits kept in the low half of a record's state word.
enum RecordTypeBits : uint16_t {
    RT_NO_BLOCK = 0x0002,  // the record has no block yet
    RT_READ_ONLY = 0x0004, // every edit fails
    RT_ITEM_LIST = 0x0008, // the data is a tagged-item list
};

// The only record type the program creates itself: a tagged-item list.
constexpr uint16_t kItemListRecord = RT_ITEM_LIST;

// Item lengths from 0xFFFD to 0xFFFF mark a flag item, which carries no data;
// 0xFFFE is the one written.
constexpr uint16_t kFlagItemLength = 0xFFFE;

// The class name keeps its historical spelling on purpose: it is the name the object
// model and its stored records are known by, so it is not corrected to "Manager".
//
// The store of the objects' property records: growable byte records addressed by a
// positive id, each with a state word (type in the low 16 bits, reference count in
// the high 16), editable by byte ranges or as a tagged-item list
// (u16 tag, u16 length, data; a flag item has no data). Operations on ids without a
// record fail quietly and never create entries; read-only records refuse every edit.
// Record data may come from documents, so every walk of an item list stops at the end
// of the data: an item whose declared length overruns the record is never returned.
// The state words live beside the blocks in the allocator's table, so a record costs no
// allocation of its own.
class CDataManger : public CStorageAllocer {
public:
    CDataManger() = default;

    // A new record of the given type without a block; returns its id (highest + 1).
    int32_t NewRecord(uint16_t type);
    void ReleaseRecord(int32_t id);
    bool HasRecord(int32_t id) const;
    uint16_t GetRecordType(int32_t id) const;
    // Replaces the low 16 bits of the state word; returns the previous state word.
    uint32_t SetRecordType(int32_t id, uint16_t type);
    uint32_t StateWord(int32_t id) const;

    bool InsertBytes(int32_t id, int32_t pos, const uint8_t* src, int32_t n);
    bool ReplaceBytes(int32_t id, int32_t pos, int32_t oldLength, const uint8_t* src,
                      int32_t newLength);
    bool DeleteBytes(int32_t id, int32_t pos, int32_t n);
    bool SetRecordLength(int32_t id, int32_t n);
    bool ClearRecord(int32_t id, bool releaseMemory);
    // The record's bytes (empty without a block).
    std::span<const uint8_t> RecordData(int32_t id) const;

    // Length field of the first item with the tag (0 when absent or when the record is
    // not an item list); data receives the item's bytes, or null for a flag item.
    uint16_t FindItem(int32_t id, uint16_t tag, const uint8_t** data) const;
    bool SetItem(int32_t id, uint16_t tag, const uint8_t* src, int32_t length, bool create);
    bool RemoveItem(int32_t id, uint16_t tag);

    // Writes or reads one property record: i32 length (-1 for none) and u16 type, then
    // the data. Loading into id 0 creates a record; loading "none" releases the record
    // and sets id to 0. Raises ArchiveError on truncated data.
    void SerializeRecord(int32_t& id, CArchive& ar);

private:
    bool IsEditable(int32_t id) const;
    // The record's data when it is a tagged-item list, else empty.
    std::span<const uint8_t> ItemListData(int32_t id) const;
    uint8_t* ShrinkTo(int32_t id, int32_t n);
    void StoreRecord(int32_t id, CArchive& ar) const;
    void LoadRecord(int32_t& id, CArchive& ar);
    void ClearNoBlockBit(int32_t id);
};

// The one data manager that holds the property records of every drawing object in
// the process. Tests may construct their own CDataManger for the record operations.
CDataManger& DataManager();

} // namespace figures
