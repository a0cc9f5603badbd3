#include "figures/model/storage/cdatamanger.h"

#include "figures/model/storage/carchive.h"
#include "figures/render/littleendian.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace figures {

namespace {

constexpr uint32_t kCountOne = 0x00010000;
constexpr uint32_t kTypeMask = 0x0000FFFF;
constexpr int32_t kItemHeaderSize = 4;
// Lengths from here up mark a flag item; real data items are at most 0xFFFC bytes.
constexpr uint16_t kFirstFlagLength = 0xFFFD;
constexpr int32_t kMaxItemLength = 0xFFFC;
constexpr int64_t kMaxInt32 = std::numeric_limits<int32_t>::max();

// Where an item sits in a record's data. `end` is where the readable item sequence
// stops: the data's end for a well-formed list, otherwise the first item whose header
// is cut short or whose length overruns the data.
struct ItemLocation {
    bool found = false;
    int32_t offset = 0; // of the item's 4-byte header
    uint16_t lengthField = 0;
    int32_t dataSize = 0; // 0 for a flag item
    int32_t end = 0;
};

ItemLocation LocateItem(std::span<const uint8_t> data, uint16_t tag)
{
    ItemLocation loc;
    const int64_t size = int64_t(data.size());
    int64_t pos = 0;
    while (size - pos >= kItemHeaderSize) {
        const uint16_t itemTag = LoadU16(data.data() + pos);
        const uint16_t length = LoadU16(data.data() + pos + 2);
        const int32_t dataSize = length >= kFirstFlagLength ? 0 : length;
        if (dataSize > size - pos - kItemHeaderSize) {
            break;
        }
        if (itemTag == tag) {
            loc.found = true;
            loc.offset = int32_t(pos);
            loc.lengthField = length;
            loc.dataSize = dataSize;
            return loc;
        }
        pos += kItemHeaderSize + dataSize;
    }
    loc.end = int32_t(pos);
    return loc;
}

// A source inside the record itself would move under the edit (the block may be
// reallocated, its bytes shifted), so such a source is copied aside first.
const uint8_t* StableSource(std::span<const uint8_t> block, const uint8_t* src, int32_t n,
                            std::vector<uint8_t>& staging)
{
    if (!src || block.empty() || n <= 0) {
        return src;
    }
    const std::less<const uint8_t*> before;
    const uint8_t* blockEnd = block.data() + block.size();
    if (before(src, blockEnd) && before(block.data(), src + n)) {
        staging.assign(src, src + n);
        return staging.data();
    }
    return src;
}

} // namespace

int32_t CDataManger::NewRecord(uint16_t type)
{
    if (highestId_ == std::numeric_limits<int32_t>::max()) {
        return 0;
    }
    const int32_t id = highestId_ + 1;
    if (!SetWord(id, kCountOne | type | RT_NO_BLOCK)) {
        return 0;
    }
    highestId_ = id;
    return id;
}

// Only the last reference frees the record; its block goes with it, and Free also gives
// the id back when it is the highest one handed out.
void CDataManger::ReleaseRecord(int32_t id)
{
    const uint32_t state = Word(id);
    if (state == 0) {
        return;
    }
    if ((state >> 16) > 1) {
        SetWord(id, state - kCountOne);
        return;
    }
    SetWord(id, 0);
    Free(id);
}

bool CDataManger::HasRecord(int32_t id) const
{
    return Word(id) != 0;
}

uint16_t CDataManger::GetRecordType(int32_t id) const
{
    return uint16_t(StateWord(id) & kTypeMask);
}

uint32_t CDataManger::SetRecordType(int32_t id, uint16_t type)
{
    const uint32_t previous = Word(id);
    if (previous != 0) {
        SetWord(id, (previous & ~kTypeMask) | type);
    }
    return previous;
}

uint32_t CDataManger::StateWord(int32_t id) const
{
    return Word(id);
}

bool CDataManger::IsEditable(int32_t id) const
{
    const uint32_t state = Word(id);
    return state != 0 && (state & RT_READ_ONLY) == 0;
}

void CDataManger::ClearNoBlockBit(int32_t id)
{
    SetWord(id, Word(id) & ~uint32_t(RT_NO_BLOCK));
}

// A record without a block gets one of exactly pos + n bytes, so inserting past the end
// of an empty record leaves zeros in front of the new bytes. Without a source the
// inserted range is zero-filled.
bool CDataManger::InsertBytes(int32_t id, int32_t pos, const uint8_t* src, int32_t n)
{
    if (!IsEditable(id) || pos < 0 || n < 0) {
        return false;
    }
    if (n == 0) {
        return true;
    }
    int32_t length = 0;
    uint8_t* data = Lookup(id, &length);
    if (!data) {
        if (int64_t(pos) + n > kMaxInt32) {
            return false;
        }
        data = Allocate(id, pos + n);
        if (!data) {
            return false;
        }
        if (src) {
            std::memcpy(data + pos, src, size_t(n));
        }
        ClearNoBlockBit(id);
        return true;
    }
    const int64_t newLength = int64_t(std::max(length, pos)) + n;
    if (newLength > kMaxInt32) {
        return false;
    }
    std::vector<uint8_t> staging;
    src = StableSource({data, size_t(length)}, src, n, staging);
    data = Resize(id, int32_t(newLength));
    if (!data) {
        return false;
    }
    if (pos < length) {
        std::memmove(data + pos + n, data + pos, size_t(length - pos));
    }
    if (src) {
        std::memcpy(data + pos, src, size_t(n));
    } else {
        std::memset(data + pos, 0, size_t(n));
    }
    ClearNoBlockBit(id);
    return true;
}

bool CDataManger::ReplaceBytes(int32_t id, int32_t pos, int32_t oldLength, const uint8_t* src,
                               int32_t newLength)
{
    if (pos < 0 || oldLength < 0 || newLength < 0) {
        return false;
    }
    int32_t length = 0;
    uint8_t* data = Lookup(id, &length);
    if (oldLength == 0 || pos >= length) {
        return InsertBytes(id, pos, src, newLength);
    }
    if (!src || newLength == 0) {
        return DeleteBytes(id, pos, oldLength);
    }
    if (!IsEditable(id) || !data) {
        return false;
    }
    oldLength = std::min(oldLength, length - pos);
    const int32_t tail = length - pos - oldLength;
    const int64_t resultLength = int64_t(length) - oldLength + newLength;
    if (resultLength > kMaxInt32) {
        return false;
    }
    std::vector<uint8_t> staging;
    src = StableSource({data, size_t(length)}, src, newLength, staging);
    if (newLength > oldLength) {
        data = Resize(id, int32_t(resultLength));
        if (!data) {
            return false;
        }
        std::memmove(data + pos + newLength, data + pos + oldLength, size_t(tail));
    } else {
        std::memmove(data + pos + newLength, data + pos + oldLength, size_t(tail));
        data = ShrinkTo(id, int32_t(resultLength));
    }
    std::memcpy(data + pos, src, size_t(newLength));
    return true;
}

bool CDataManger::DeleteBytes(int32_t id, int32_t pos, int32_t n)
{
    int32_t length = 0;
    uint8_t* data = Lookup(id, &length);
    if (!IsEditable(id) || !data || pos < 0 || n < 0 || pos >= length) {
        return false;
    }
    if (n == 0) {
        return true;
    }
    n = std::min(n, length - pos);
    std::memmove(data + pos, data + pos + n, size_t(length - pos - n));
    ShrinkTo(id, length - n);
    return true;
}

// A shorter record follows the slack rule like a longer one, so a list that lost most of
// its items gives the memory back. Should that reallocation fail, the record simply
// keeps its larger block: shrinking never fails.
uint8_t* CDataManger::ShrinkTo(int32_t id, int32_t n)
{
    if (uint8_t* data = Resize(id, n)) {
        return data;
    }
    SetLength(id, n, false);
    return Lookup(id);
}

bool CDataManger::SetRecordLength(int32_t id, int32_t n)
{
    if (n < 0 || !IsEditable(id)) {
        return false;
    }
    const int32_t length = GetLength(id);
    if (n == 0) {
        return ClearRecord(id, false);
    }
    if (n < length) {
        return DeleteBytes(id, n, length - n);
    }
    if (n > length) {
        return InsertBytes(id, length, nullptr, n - length);
    }
    return true;
}

bool CDataManger::ClearRecord(int32_t id, bool releaseMemory)
{
    if (!IsEditable(id)) {
        return false;
    }
    if (!Lookup(id)) {
        return true;
    }
    if (releaseMemory) {
        ShrinkTo(id, 0);
    } else {
        SetLength(id, 0, false);
    }
    return true;
}

std::span<const uint8_t> CDataManger::RecordData(int32_t id) const
{
    int32_t length = 0;
    const uint8_t* data = Lookup(id, &length);
    return data ? std::span<const uint8_t>(data, size_t(length)) : std::span<const uint8_t>();
}

std::span<const uint8_t> CDataManger::ItemListData(int32_t id) const
{
    if ((GetRecordType(id) & RT_ITEM_LIST) == 0) {
        return {};
    }
    return RecordData(id);
}

uint16_t CDataManger::FindItem(int32_t id, uint16_t tag, const uint8_t** data) const
{
    if (data) {
        *data = nullptr;
    }
    const std::span<const uint8_t> items = ItemListData(id);
    const ItemLocation loc = LocateItem(items, tag);
    if (!loc.found || loc.lengthField == 0) {
        return 0;
    }
    if (data && loc.dataSize > 0) {
        *data = items.data() + loc.offset + kItemHeaderSize;
    }
    return loc.lengthField;
}

// A flag item (no source, length 1) records only that the tag is present. A new item is
// appended after the last readable item; bytes behind it that no walk could read (a
// header cut short, a length overrunning the data) are dropped, since an item written
// after them could never be found again.
bool CDataManger::SetItem(int32_t id, uint16_t tag, const uint8_t* src, int32_t length, bool create)
{
    if (length == 0) {
        return RemoveItem(id, tag);
    }
    if (length < 0 || length > kMaxItemLength || !IsEditable(id) ||
        (GetRecordType(id) & RT_ITEM_LIST) == 0) {
        return false;
    }
    const bool asFlag = !src && length == 1;
    const std::span<const uint8_t> items = RecordData(id);
    const ItemLocation loc = LocateItem(items, tag);
    if (loc.found) {
        if (loc.lengthField >= kFirstFlagLength) {
            return asFlag;
        }
        if (!src) {
            return false;
        }
        const int32_t dataPos = loc.offset + kItemHeaderSize;
        if (loc.dataSize == length) {
            std::memmove(Lookup(id) + dataPos, src, size_t(length));
            return true;
        }
        if (!ReplaceBytes(id, dataPos, loc.dataSize, src, length)) {
            return false;
        }
        StoreU16(Lookup(id) + loc.offset + 2, uint16_t(length));
        return true;
    }
    if (!create) {
        return false;
    }
    const int32_t dataSize = asFlag ? 0 : length;
    const size_t itemSize = size_t(kItemHeaderSize + dataSize);
    // Items are assembled on the stack unless they are large: a property edit should not
    // cost a heap allocation.
    std::array<uint8_t, 256> small{};
    std::vector<uint8_t> large(itemSize > small.size() ? itemSize : 0);
    uint8_t* item = itemSize > small.size() ? large.data() : small.data();
    StoreU16(item, tag);
    StoreU16(item + 2, asFlag ? kFlagItemLength : uint16_t(length));
    if (src && dataSize > 0) {
        std::memcpy(item + kItemHeaderSize, src, size_t(dataSize));
    }
    // One edit for the whole item: when it cannot be made, the record stays as it was.
    const int32_t unreadable = int32_t(items.size()) - loc.end;
    return ReplaceBytes(id, loc.end, unreadable, item, int32_t(itemSize));
}

bool CDataManger::RemoveItem(int32_t id, uint16_t tag)
{
    const ItemLocation loc = LocateItem(ItemListData(id), tag);
    if (!loc.found) {
        return false;
    }
    return DeleteBytes(id, loc.offset, kItemHeaderSize + loc.dataSize);
}

void CDataManger::SerializeRecord(int32_t& id, CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreRecord(id, ar);
    } else {
        LoadRecord(id, ar);
    }
}

void CDataManger::StoreRecord(int32_t id, CArchive& ar) const
{
    if (id == 0 || !Lookup(id)) {
        ar.WriteI32(-1);
        ar.WriteU16(0);
        return;
    }
    const std::span<const uint8_t> data = RecordData(id);
    ar.WriteI32(int32_t(data.size()));
    ar.WriteU16(GetRecordType(id));
    ar.WriteBytes(data);
}

// The archive's bytes and type replace whatever the record held. A read-only type
// governs the program's later edits, not the reading itself, so the bit is put on only
// once the data is in place.
void CDataManger::LoadRecord(int32_t& id, CArchive& ar)
{
    const int32_t length = ar.ReadI32();
    const uint16_t type = ar.ReadU16();
    if (length == -1) {
        ReleaseRecord(id);
        id = 0;
        return;
    }
    if (length < -1) {
        throw ArchiveError("negative property record length");
    }
    if (size_t(length) > ar.Remaining()) {
        throw TruncatedDataError("property record longer than the data left");
    }
    const std::span<const uint8_t> bytes = ar.ReadView(size_t(length));
    const uint16_t writableType = uint16_t(type & ~RT_READ_ONLY);
    if (id == 0 || !HasRecord(id)) {
        id = NewRecord(writableType);
        if (id == 0) {
            throw ArchiveError("no property record id left");
        }
    } else {
        SetRecordType(id, writableType);
        ClearRecord(id, true);
    }
    if (length > 0 && !InsertBytes(id, 0, bytes.data(), length)) {
        throw ArchiveError("out of memory reading a property record");
    }
    // The no-block bit tells whether the record still waits for its block, whatever the
    // archive said.
    const uint16_t blockBit = Lookup(id) ? 0 : RT_NO_BLOCK;
    SetRecordType(id, uint16_t((type & ~RT_NO_BLOCK) | blockBit));
}

CDataManger& DataManager()
{
    static CDataManger manager;
    return manager;
}

} // namespace figures
