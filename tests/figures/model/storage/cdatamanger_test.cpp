#include "figures/model/storage/cdatamanger.h"

#include "figures/model/storage/carchive.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace figures {
namespace {

using namespace std::string_literals;

const uint8_t* U(const std::string& s)
{
    return reinterpret_cast<const uint8_t*>(s.data());
}

std::string Data(const CDataManger& dm, int32_t id)
{
    const std::span<const uint8_t> data = dm.RecordData(id);
    return std::string(data.begin(), data.end());
}

std::string Le16(uint16_t v)
{
    return std::string{char(v & 0xFF), char(v >> 8)};
}

// One tagged item as it lies in a record: u16 tag, u16 length, data.
std::string Item(uint16_t tag, const std::string& data)
{
    return Le16(tag) + Le16(uint16_t(data.size())) + data;
}

std::string Flag(uint16_t tag, uint16_t lengthField = kFlagItemLength)
{
    return Le16(tag) + Le16(lengthField);
}

// A new record of the type holding exactly the bytes; the read-only bit is put on last.
int32_t RecordWith(CDataManger& dm, uint16_t type, const std::string& bytes)
{
    const int32_t id = dm.NewRecord(uint16_t(type & ~RT_READ_ONLY));
    if (!bytes.empty()) {
        EXPECT_TRUE(dm.InsertBytes(id, 0, U(bytes), int32_t(bytes.size())));
    }
    dm.SetRecordType(id, type);
    return id;
}

std::vector<uint8_t> Stored(CDataManger& dm, int32_t id)
{
    CArchive ar;
    dm.SerializeRecord(id, ar);
    return ar.TakeBytes();
}

std::vector<uint8_t> V(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

// Record header as the document holds it: i32 length, u16 type.
std::string RecordHeader(int32_t length, uint16_t type)
{
    const auto u = uint32_t(length);
    return std::string{char(u), char(u >> 8), char(u >> 16), char(u >> 24)} + Le16(type);
}

TEST(DataManager, NewRecordHandsOutTheNextIdWithoutBlockAndCountOne)
{
    CDataManger dm;
    const int32_t first = dm.NewRecord(kItemListRecord);
    EXPECT_EQ(first, 1);
    EXPECT_TRUE(dm.HasRecord(first));
    EXPECT_EQ(dm.StateWord(first), 0x0001000Au);
    EXPECT_EQ(dm.GetRecordType(first), 0x000A);
    EXPECT_EQ(dm.Capacity(first), 0);
    EXPECT_TRUE(dm.RecordData(first).empty());

    const int32_t second = dm.NewRecord(0x1230);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(dm.StateWord(second), 0x00011232u);
    EXPECT_EQ(dm.HighestId(), 2);

    // A new type replaces the whole low half and leaves the count alone.
    EXPECT_EQ(dm.SetRecordType(second, 0xBEEF), 0x00011232u);
    EXPECT_EQ(dm.StateWord(second), 0x0001BEEFu);
}

TEST(DataManager, ReleasedRecordIdIsHandedOutAgainOnlyWhenHighest)
{
    CDataManger dm;
    const int32_t a = dm.NewRecord(kItemListRecord);
    const int32_t b = dm.NewRecord(kItemListRecord);
    const int32_t c = dm.NewRecord(kItemListRecord);
    ASSERT_TRUE(dm.InsertBytes(c, 0, U("xyz"s), 3));

    dm.ReleaseRecord(b);
    EXPECT_FALSE(dm.HasRecord(b));
    const int32_t d = dm.NewRecord(kItemListRecord);
    EXPECT_EQ(d, 4);

    dm.ReleaseRecord(d);
    EXPECT_EQ(dm.NewRecord(kItemListRecord), d);

    // Releasing the highest record also frees its block, block-less or not.
    dm.ReleaseRecord(d);
    dm.ReleaseRecord(c);
    EXPECT_EQ(dm.Capacity(c), 0);
    EXPECT_EQ(dm.Lookup(c), nullptr);
    EXPECT_EQ(dm.NewRecord(kItemListRecord), c);

    dm.ReleaseRecord(a);
    EXPECT_EQ(dm.NewRecord(kItemListRecord), 4);

    const int32_t highest = dm.HighestId();
    dm.ReleaseRecord(0);
    dm.ReleaseRecord(99);
    dm.ReleaseRecord(-4);
    EXPECT_EQ(dm.HighestId(), highest);
}

TEST(DataManager, OperationsOnIdsWithoutRecordFailAndCreateNothing)
{
    CDataManger dm;
    const int32_t live = dm.NewRecord(kItemListRecord);
    const int32_t released = dm.NewRecord(kItemListRecord);
    dm.ReleaseRecord(released);
    const std::string src = "abcd";

    for (const int32_t id : {0, released, 77, -1}) {
        SCOPED_TRACE(id);
        const uint8_t* item = U(src);
        EXPECT_FALSE(dm.InsertBytes(id, 0, U(src), 4));
        EXPECT_FALSE(dm.ReplaceBytes(id, 0, 2, U(src), 4));
        EXPECT_FALSE(dm.DeleteBytes(id, 0, 1));
        EXPECT_FALSE(dm.SetRecordLength(id, 3));
        EXPECT_FALSE(dm.ClearRecord(id, true));
        EXPECT_FALSE(dm.SetItem(id, 1, U(src), 4, true));
        EXPECT_FALSE(dm.RemoveItem(id, 1));
        EXPECT_EQ(dm.FindItem(id, 1, &item), 0);
        EXPECT_EQ(item, nullptr);
        EXPECT_EQ(dm.SetRecordType(id, kItemListRecord), 0u);
        EXPECT_EQ(dm.GetRecordType(id), 0);
        EXPECT_EQ(dm.StateWord(id), 0u);
        EXPECT_TRUE(dm.RecordData(id).empty());
        EXPECT_FALSE(dm.HasRecord(id));
        EXPECT_EQ(dm.Capacity(id), 0);
    }
    EXPECT_EQ(dm.HighestId(), live);
    EXPECT_EQ(dm.NewRecord(kItemListRecord), live + 1);
}

TEST(DataManager, InsertBytesIntoBlocklessRecordZeroFillsThePrefix)
{
    CDataManger dm;
    const int32_t id = dm.NewRecord(kItemListRecord);
    EXPECT_TRUE(dm.InsertBytes(id, 0, U("zz"s), 0));
    EXPECT_EQ(dm.Capacity(id), 0);

    ASSERT_TRUE(dm.InsertBytes(id, 10, U("abc"s), 3));
    EXPECT_EQ(Data(dm, id), std::string(10, '\0') + "abc");
    EXPECT_EQ(dm.Capacity(id), 21);
    EXPECT_EQ(dm.GetRecordType(id), kItemListRecord);
    EXPECT_EQ(dm.StateWord(id) >> 16, 1u);

    const int32_t zeros = dm.NewRecord(kItemListRecord);
    ASSERT_TRUE(dm.InsertBytes(zeros, 0, nullptr, 4));
    EXPECT_EQ(Data(dm, zeros), std::string(4, '\0'));
}

TEST(DataManager, InsertBytesMovesTheTailUpAndZeroFillsWithoutSource)
{
    struct Row {
        const char* name;
        int32_t pos;
        const char* src;
        int32_t n;
        std::string expected;
    };
    const Row rows[] = {
        {"front", 0, "xy", 2, "xyABCDEF"},
        {"middle", 3, "xy", 2, "ABCxyDEF"},
        {"end", 6, "xy", 2, "ABCDEFxy"},
        {"past the end", 8, "xy", 2, "ABCDEF\0\0xy"s},
        {"zeros", 2, nullptr, 3, "AB\0\0\0CDEF"s},
        {"zeros past the end", 7, nullptr, 1, "ABCDEF\0\0"s},
    };
    for (const Row& row : rows) {
        CDataManger dm;
        const int32_t id = RecordWith(dm, kItemListRecord, "ABCDEF");
        const auto* src = reinterpret_cast<const uint8_t*>(row.src);
        EXPECT_TRUE(dm.InsertBytes(id, row.pos, src, row.n)) << row.name;
        EXPECT_EQ(Data(dm, id), row.expected) << row.name;
    }
}

TEST(DataManager, InsertBytesRefusesReadOnlyRecordsNegativeAndOverflowingRanges)
{
    CDataManger dm;
    const int32_t readOnly = RecordWith(dm, kItemListRecord | RT_READ_ONLY, "ABC");
    EXPECT_FALSE(dm.InsertBytes(readOnly, 1, U("x"s), 1));
    EXPECT_FALSE(dm.InsertBytes(readOnly, 1, U("x"s), 0));
    EXPECT_EQ(Data(dm, readOnly), "ABC");

    const int32_t blockless = dm.NewRecord(kItemListRecord | RT_READ_ONLY);
    EXPECT_FALSE(dm.InsertBytes(blockless, 0, U("x"s), 1));
    EXPECT_EQ(dm.Capacity(blockless), 0);

    const int32_t kMax = std::numeric_limits<int32_t>::max();
    const int32_t id = RecordWith(dm, kItemListRecord, "ABC");
    const int32_t empty = dm.NewRecord(kItemListRecord);
    EXPECT_FALSE(dm.InsertBytes(id, -1, U("x"s), 1));
    EXPECT_FALSE(dm.InsertBytes(id, 1, U("x"s), -1));
    EXPECT_FALSE(dm.InsertBytes(id, kMax - 2, U("xyz"s), 3));
    EXPECT_FALSE(dm.InsertBytes(id, 2, nullptr, kMax));
    EXPECT_FALSE(dm.InsertBytes(empty, kMax - 1, U("xy"s), 2));
    EXPECT_EQ(Data(dm, id), "ABC");
    EXPECT_EQ(dm.Capacity(empty), 0);
}

TEST(DataManager, EditsGrowInPlaceWithinTheSlackAndShrinkToLengthPlusSlack)
{
    CDataManger dm;
    const int32_t id = RecordWith(dm, kItemListRecord, "12345678");
    EXPECT_EQ(dm.Capacity(id), 16);

    ASSERT_TRUE(dm.InsertBytes(id, 8, U("ab"s), 2)); // no spare byte: reallocates
    EXPECT_EQ(dm.Capacity(id), 28);
    const uint8_t* block = dm.Lookup(id);
    ASSERT_TRUE(dm.InsertBytes(id, 0, nullptr, 10)); // takes exactly the 10 spare bytes
    ASSERT_TRUE(dm.DeleteBytes(id, 0, 4));           // 4 spare bytes stay inside the band
    EXPECT_EQ(dm.Lookup(id), block);
    EXPECT_EQ(dm.Capacity(id), 28);
    ASSERT_TRUE(dm.InsertBytes(id, 0, U("!!!!!!!"s), 7));
    EXPECT_NE(dm.Lookup(id), block);
    EXPECT_EQ(dm.Capacity(id), 41);

    ASSERT_TRUE(dm.DeleteBytes(id, 0, 14)); // 24 spare bytes
    EXPECT_EQ(Data(dm, id), "2345678ab");
    EXPECT_EQ(dm.Capacity(id), 27);
    ASSERT_TRUE(dm.DeleteBytes(id, 0, 5)); // 15 spare bytes
    EXPECT_EQ(Data(dm, id), "78ab");
    EXPECT_EQ(dm.Capacity(id), 22);

    ASSERT_TRUE(dm.ReplaceBytes(id, 1, 2, U("0123456789ABCDEF"s), 16));
    EXPECT_EQ(Data(dm, id), "70123456789ABCDEFb");
    EXPECT_EQ(dm.Capacity(id), 36);
    ASSERT_TRUE(dm.ReplaceBytes(id, 1, 16, U("z"s), 1));
    EXPECT_EQ(Data(dm, id), "7zb");
    EXPECT_EQ(dm.Capacity(id), 21);
}

TEST(DataManager, EditsAcceptSourcesInsideTheRecordItself)
{
    CDataManger dm;
    const int32_t id = RecordWith(dm, kItemListRecord, "ABCDEFGH");
    // No spare bytes: the block moves while the bytes are inserted.
    ASSERT_TRUE(dm.InsertBytes(id, 0, dm.Lookup(id) + 5, 3));
    EXPECT_EQ(Data(dm, id), "FGHABCDEFGH");
    // Inside the slack the tail shifts over the source.
    ASSERT_TRUE(dm.InsertBytes(id, 1, dm.Lookup(id) + 0, 4));
    EXPECT_EQ(Data(dm, id), "FFGHAGHABCDEFGH");
    ASSERT_TRUE(dm.ReplaceBytes(id, 0, 2, dm.Lookup(id) + 8, 7));
    EXPECT_EQ(Data(dm, id), "BCDEFGHGHAGHABCDEFGH");
    ASSERT_TRUE(dm.ReplaceBytes(id, 3, 10, dm.Lookup(id) + 0, 3));
    EXPECT_EQ(Data(dm, id), "BCDBCDBCDEFGH");
}

TEST(DataManager, ReplaceBytesReplacesInsertsOrDeletesAsTheRangeSays)
{
    struct Row {
        const char* name;
        int32_t pos;
        int32_t oldLength;
        const char* src;
        int32_t newLength;
        std::string expected;
    };
    const Row rows[] = {
        {"shorter", 2, 3, "xy", 2, "ABxyFGH"},
        {"longer", 2, 2, "wxyz", 4, "ABwxyzEFGH"},
        {"same length", 0, 2, "xy", 2, "xyCDEFGH"},
        {"old length clipped at the end", 6, 10, "xyz", 3, "ABCDEFxyz"},
        {"nothing replaced inserts", 3, 0, "xy", 2, "ABCxyDEFGH"},
        {"at the end inserts", 8, 3, "xy", 2, "ABCDEFGHxy"},
        {"past the end inserts", 10, 3, "xy", 2, "ABCDEFGH\0\0xy"s},
        {"no source deletes", 2, 3, nullptr, 2, "ABFGH"},
        {"no new bytes deletes", 2, 3, "xy", 0, "ABFGH"},
    };
    for (const Row& row : rows) {
        CDataManger dm;
        const int32_t id = RecordWith(dm, kItemListRecord, "ABCDEFGH");
        const auto* src = reinterpret_cast<const uint8_t*>(row.src);
        EXPECT_TRUE(dm.ReplaceBytes(id, row.pos, row.oldLength, src, row.newLength))
            << row.name;
        EXPECT_EQ(Data(dm, id), row.expected) << row.name;
    }

    CDataManger dm;
    const int32_t blockless = dm.NewRecord(kItemListRecord);
    ASSERT_TRUE(dm.ReplaceBytes(blockless, 2, 5, U("xy"s), 2));
    EXPECT_EQ(Data(dm, blockless), "\0\0xy"s);
}

TEST(DataManager, ReplaceBytesRefusesReadOnlyRecordsAndNegativeRanges)
{
    CDataManger dm;
    const int32_t readOnly = RecordWith(dm, kItemListRecord | RT_READ_ONLY, "ABCDEF");
    EXPECT_FALSE(dm.ReplaceBytes(readOnly, 1, 2, U("xyz"s), 3));
    EXPECT_FALSE(dm.ReplaceBytes(readOnly, 1, 0, U("xyz"s), 3));
    EXPECT_FALSE(dm.ReplaceBytes(readOnly, 1, 2, nullptr, 0));
    EXPECT_EQ(Data(dm, readOnly), "ABCDEF");

    const int32_t id = RecordWith(dm, kItemListRecord, "ABCDEF");
    EXPECT_FALSE(dm.ReplaceBytes(id, -1, 2, U("xy"s), 2));
    EXPECT_FALSE(dm.ReplaceBytes(id, 1, -2, U("xy"s), 2));
    EXPECT_FALSE(dm.ReplaceBytes(id, 1, 2, U("xy"s), -2));
    EXPECT_FALSE(dm.ReplaceBytes(id, 1, 2, U("xy"s), std::numeric_limits<int32_t>::max()));
    EXPECT_EQ(Data(dm, id), "ABCDEF");
}

TEST(DataManager, DeleteBytesClipsToTheEndAndRefusesPositionsOutsideTheData)
{
    struct Row {
        const char* name;
        int32_t pos;
        int32_t n;
        bool ok;
        std::string expected;
    };
    const Row rows[] = {
        {"front", 0, 2, true, "CDEFGH"},
        {"middle", 3, 2, true, "ABCFGH"},
        {"clipped", 6, 10, true, "ABCDEF"},
        {"all", 0, 8, true, ""},
        {"nothing", 3, 0, true, "ABCDEFGH"},
        {"at the end", 8, 1, false, "ABCDEFGH"},
        {"nothing at the end", 8, 0, false, "ABCDEFGH"},
        {"negative position", -1, 2, false, "ABCDEFGH"},
        {"negative length", 2, -1, false, "ABCDEFGH"},
    };
    for (const Row& row : rows) {
        CDataManger dm;
        const int32_t id = RecordWith(dm, kItemListRecord, "ABCDEFGH");
        EXPECT_EQ(dm.DeleteBytes(id, row.pos, row.n), row.ok) << row.name;
        EXPECT_EQ(Data(dm, id), row.expected) << row.name;
    }

    CDataManger dm;
    const int32_t blockless = dm.NewRecord(kItemListRecord);
    EXPECT_FALSE(dm.DeleteBytes(blockless, 0, 0));
    const int32_t readOnly = RecordWith(dm, kItemListRecord | RT_READ_ONLY, "ABC");
    EXPECT_FALSE(dm.DeleteBytes(readOnly, 0, 1));
    EXPECT_EQ(Data(dm, readOnly), "ABC");
}

TEST(DataManager, SetRecordLengthCutsTheTailOrAppendsZeros)
{
    CDataManger dm;
    const int32_t id = RecordWith(dm, kItemListRecord, "ABCDEF");
    ASSERT_TRUE(dm.SetRecordLength(id, 4));
    EXPECT_EQ(Data(dm, id), "ABCD");
    ASSERT_TRUE(dm.SetRecordLength(id, 7));
    EXPECT_EQ(Data(dm, id), "ABCD\0\0\0"s);
    EXPECT_TRUE(dm.SetRecordLength(id, 7));

    // Length 0 keeps the block for the next fill.
    const int32_t capacity = dm.Capacity(id);
    ASSERT_TRUE(dm.SetRecordLength(id, 0));
    EXPECT_EQ(dm.GetLength(id), 0);
    EXPECT_EQ(dm.Capacity(id), capacity);

    const int32_t blockless = dm.NewRecord(kItemListRecord);
    ASSERT_TRUE(dm.SetRecordLength(blockless, 3));
    EXPECT_EQ(Data(dm, blockless), "\0\0\0"s);

    const int32_t readOnly = RecordWith(dm, kItemListRecord | RT_READ_ONLY, "ABC");
    EXPECT_FALSE(dm.SetRecordLength(readOnly, 1));
    EXPECT_FALSE(dm.SetRecordLength(readOnly, 5));
    EXPECT_FALSE(dm.SetRecordLength(readOnly, 0));
    EXPECT_FALSE(dm.SetRecordLength(id, -1));
    EXPECT_EQ(Data(dm, readOnly), "ABC");
}

TEST(DataManager, ClearRecordEmptiesTheDataAndShrinksTheBlockOnRequest)
{
    CDataManger dm;
    const int32_t id = RecordWith(dm, kItemListRecord, std::string(40, 'x'));
    EXPECT_EQ(dm.Capacity(id), 48);
    ASSERT_TRUE(dm.ClearRecord(id, false));
    EXPECT_EQ(dm.GetLength(id), 0);
    EXPECT_EQ(dm.Capacity(id), 48);
    ASSERT_TRUE(dm.ClearRecord(id, true));
    EXPECT_EQ(dm.Capacity(id), 18);
    EXPECT_TRUE(dm.HasRecord(id));

    const int32_t blockless = dm.NewRecord(kItemListRecord);
    EXPECT_TRUE(dm.ClearRecord(blockless, true));
    EXPECT_EQ(dm.Capacity(blockless), 0);

    const int32_t readOnly = RecordWith(dm, kItemListRecord | RT_READ_ONLY, "ABC");
    EXPECT_FALSE(dm.ClearRecord(readOnly, false));
    EXPECT_FALSE(dm.ClearRecord(readOnly, true));
    EXPECT_EQ(Data(dm, readOnly), "ABC");
}

TEST(DataManager, SetItemAppendsOverwritesResizesAndRemovesItems)
{
    CDataManger dm;
    const int32_t id = dm.NewRecord(kItemListRecord);
    ASSERT_TRUE(dm.SetItem(id, 1, U("ab"s), 2, true));
    ASSERT_TRUE(dm.SetItem(id, 2, U("cde"s), 3, true));
    ASSERT_TRUE(dm.SetItem(id, 0x0305, U("f"s), 1, true));
    EXPECT_EQ(Data(dm, id), Item(1, "ab") + Item(2, "cde") + Item(0x0305, "f"));

    const uint8_t* data = nullptr;
    ASSERT_EQ(dm.FindItem(id, 2, &data), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), 3), "cde");
    EXPECT_EQ(dm.FindItem(id, 4, &data), 0);
    EXPECT_EQ(data, nullptr);

    const uint8_t* block = dm.Lookup(id);
    ASSERT_TRUE(dm.SetItem(id, 1, U("zz"s), 2, false));
    EXPECT_EQ(dm.Lookup(id), block);
    ASSERT_TRUE(dm.SetItem(id, 2, U("WXYZ12"s), 6, false));
    EXPECT_EQ(Data(dm, id), Item(1, "zz") + Item(2, "WXYZ12") + Item(0x0305, "f"));
    ASSERT_TRUE(dm.SetItem(id, 2, U("q"s), 1, true));
    EXPECT_EQ(Data(dm, id), Item(1, "zz") + Item(2, "q") + Item(0x0305, "f"));

    ASSERT_TRUE(dm.RemoveItem(id, 2));
    EXPECT_EQ(Data(dm, id), Item(1, "zz") + Item(0x0305, "f"));
    ASSERT_TRUE(dm.SetItem(id, 0x0305, nullptr, 0, false));
    EXPECT_EQ(Data(dm, id), Item(1, "zz"));
    EXPECT_FALSE(dm.RemoveItem(id, 0x0305));
    EXPECT_FALSE(dm.SetItem(id, 0x0305, U("x"s), 0, true));

    // Data taken from the record itself survives the block moving.
    ASSERT_EQ(dm.FindItem(id, 1, &data), 2);
    ASSERT_TRUE(dm.SetItem(id, 9, data, 2, true));
    ASSERT_EQ(dm.FindItem(id, 9, &data), 2);
    ASSERT_TRUE(dm.SetItem(id, 1, data, 1, true));
    EXPECT_EQ(Data(dm, id), Item(1, "z") + Item(9, "zz"));
}

TEST(DataManager, SetItemLengthsUpToFFFCAreDataLargerOnesAreRefused)
{
    CDataManger dm;
    const int32_t id = dm.NewRecord(kItemListRecord);
    const std::string big(0xFFFC, 'b');
    ASSERT_TRUE(dm.SetItem(id, 1, U(big), 0xFFFC, true));
    const uint8_t* data = nullptr;
    EXPECT_EQ(dm.FindItem(id, 1, &data), 0xFFFC);
    EXPECT_NE(data, nullptr);
    const std::string bigger(0xFFFD, 'c');
    EXPECT_FALSE(dm.SetItem(id, 2, U(bigger), 0xFFFD, true));
    EXPECT_FALSE(dm.SetItem(id, 1, U(bigger), 0xFFFD, true));
    EXPECT_FALSE(dm.SetItem(id, 2, U(bigger), -1, true));
    EXPECT_EQ(dm.GetLength(id), 4 + 0xFFFC);
}

TEST(DataManager, SetItemFlagItemsCarryNoDataAndStayFlags)
{
    CDataManger dm;
    const int32_t id = dm.NewRecord(kItemListRecord);
    ASSERT_TRUE(dm.SetItem(id, 7, nullptr, 1, true));
    EXPECT_EQ(Data(dm, id), "\x07\x00\xFE\xFF"s);
    const uint8_t sentinel = 0;
    const uint8_t* data = &sentinel;
    EXPECT_EQ(dm.FindItem(id, 7, &data), 0xFFFE);
    EXPECT_EQ(data, nullptr);

    EXPECT_TRUE(dm.SetItem(id, 7, nullptr, 1, false));
    EXPECT_FALSE(dm.SetItem(id, 7, U("a"s), 1, true));
    EXPECT_FALSE(dm.SetItem(id, 7, U("ab"s), 2, true));
    EXPECT_FALSE(dm.SetItem(id, 7, nullptr, 2, true));
    EXPECT_EQ(Data(dm, id), Flag(7));

    // A data item set without source is reserved as zeros and then needs a source.
    ASSERT_TRUE(dm.SetItem(id, 8, nullptr, 3, true));
    EXPECT_EQ(Data(dm, id), Flag(7) + Item(8, "\0\0\0"s));
    EXPECT_FALSE(dm.SetItem(id, 8, nullptr, 1, true));
    EXPECT_FALSE(dm.SetItem(id, 8, nullptr, 3, true));
    EXPECT_FALSE(dm.SetItem(id, 9, U("x"s), 1, false));

    ASSERT_TRUE(dm.RemoveItem(id, 7));
    EXPECT_EQ(Data(dm, id), Item(8, "\0\0\0"s));
}

TEST(DataManager, ItemsAreRefusedOnRecordsThatAreNotWritableItemLists)
{
    CDataManger dm;
    const std::string items = Item(1, "ab");
    const int32_t plain = RecordWith(dm, 0x0001, items);
    const uint8_t* data = nullptr;
    EXPECT_EQ(dm.FindItem(plain, 1, &data), 0);
    EXPECT_EQ(data, nullptr);
    EXPECT_FALSE(dm.SetItem(plain, 1, U("cd"s), 2, true));
    EXPECT_FALSE(dm.SetItem(plain, 2, U("cd"s), 2, true));
    EXPECT_FALSE(dm.RemoveItem(plain, 1));
    EXPECT_EQ(Data(dm, plain), items);

    const int32_t readOnly = RecordWith(dm, kItemListRecord | RT_READ_ONLY, items);
    EXPECT_EQ(dm.FindItem(readOnly, 1, &data), 2);
    EXPECT_FALSE(dm.SetItem(readOnly, 1, U("cd"s), 2, true));
    EXPECT_FALSE(dm.SetItem(readOnly, 1, U("cde"s), 3, true));
    EXPECT_FALSE(dm.SetItem(readOnly, 2, U("cd"s), 2, true));
    EXPECT_FALSE(dm.SetItem(readOnly, 3, nullptr, 1, true));
    EXPECT_FALSE(dm.RemoveItem(readOnly, 1));
    EXPECT_EQ(Data(dm, readOnly), items);

    const int32_t blockless = dm.NewRecord(kItemListRecord);
    EXPECT_EQ(dm.FindItem(blockless, 0, &data), 0);
    EXPECT_FALSE(dm.RemoveItem(blockless, 0));
    EXPECT_FALSE(dm.SetItem(blockless, 0, U("x"s), 1, false));
    EXPECT_EQ(dm.Capacity(blockless), 0);
}

// Item lists read from documents may be damaged; the walk never leaves the data.
TEST(DataManager, ItemWalkStopsAtAnItemThatOverrunsTheData)
{
    struct Row {
        const char* name;
        std::string record;
        uint16_t tag;
        uint16_t expectedLength;
        std::string expectedData;
    };
    const std::string good = Item(1, "ab");
    const Row rows[] = {
        {"item before the damage", good + Le16(2) + Le16(100) + "xyz", 1, 2, "ab"},
        {"length overruns", good + Le16(2) + Le16(100) + "xyz", 2, 0, ""},
        {"overrun by one byte", good + Le16(2) + Le16(4) + "xyz", 2, 0, ""},
        {"largest length overruns", Le16(2) + Le16(0xFFFC) + "xyz", 2, 0, ""},
        {"item swallowed by its neighbour", good + Le16(2) + Le16(3) + "x" + Item(3, "c"), 3, 0,
         ""},
        {"header cut short", good + Le16(5), 5, 0, ""},
        {"exact fit", good + Item(2, "xyz"), 2, 3, "xyz"},
        {"empty data item", Item(1, "") + Item(2, "cd"), 1, 0, ""},
        {"after empty data item", Item(1, "") + Item(2, "cd"), 2, 2, "cd"},
        {"flag FFFD", Flag(1, 0xFFFD) + Item(2, "cd"), 1, 0xFFFD, ""},
        {"after flag FFFD", Flag(1, 0xFFFD) + Item(2, "cd"), 2, 2, "cd"},
        {"after flag FFFF", Flag(1, 0xFFFF) + Item(2, "cd"), 2, 2, "cd"},
        {"flag at the very end", good + Flag(4), 4, 0xFFFE, ""},
    };
    for (const Row& row : rows) {
        CDataManger dm;
        const int32_t id = RecordWith(dm, kItemListRecord, row.record);
        const uint8_t* data = nullptr;
        EXPECT_EQ(dm.FindItem(id, row.tag, &data), row.expectedLength) << row.name;
        if (row.expectedData.empty()) {
            EXPECT_EQ(data, nullptr) << row.name;
        } else {
            ASSERT_NE(data, nullptr) << row.name;
            const auto* chars = reinterpret_cast<const char*>(data);
            EXPECT_EQ(std::string(chars, row.expectedData.size()), row.expectedData)
                << row.name;
        }
    }
}

TEST(DataManager, ItemEditsOfDamagedListsNeverReachPastTheData)
{
    const std::string good = Item(1, "ab");
    CDataManger dm;
    const std::string overrun = good + Le16(2) + Le16(100) + "xyz";
    const int32_t id = RecordWith(dm, kItemListRecord, overrun);
    EXPECT_FALSE(dm.RemoveItem(id, 2));
    EXPECT_FALSE(dm.SetItem(id, 2, U("QR"s), 2, false));
    EXPECT_EQ(Data(dm, id), overrun);

    // A new item replaces the unreadable tail so that it can be found again.
    ASSERT_TRUE(dm.SetItem(id, 2, U("QR"s), 2, true));
    EXPECT_EQ(Data(dm, id), good + Item(2, "QR"));
    const uint8_t* data = nullptr;
    EXPECT_EQ(dm.FindItem(id, 2, &data), 2);

    const int32_t cut = RecordWith(dm, kItemListRecord, good + Le16(5));
    ASSERT_TRUE(dm.SetItem(cut, 6, nullptr, 1, true));
    EXPECT_EQ(Data(dm, cut), good + Flag(6));

    // Items of other lengths are resized in place; damage behind them stays untouched.
    const int32_t tail = RecordWith(dm, kItemListRecord, overrun);
    ASSERT_TRUE(dm.SetItem(tail, 1, U("abcd"s), 4, false));
    EXPECT_EQ(Data(dm, tail), Item(1, "abcd") + Le16(2) + Le16(100) + "xyz");
    ASSERT_TRUE(dm.RemoveItem(tail, 1));
    EXPECT_EQ(Data(dm, tail), Le16(2) + Le16(100) + "xyz");
}

TEST(DataManager, SerializeRecordStoresLengthTypeAndDataOrMinusOne)
{
    CDataManger dm;
    const std::string items = Item(3, "xyz");
    const int32_t id = RecordWith(dm, kItemListRecord, items);
    EXPECT_EQ(Stored(dm, id), V(RecordHeader(7, kItemListRecord) + items));

    const std::vector<uint8_t> none = V("\xFF\xFF\xFF\xFF\x00\x00"s);
    EXPECT_EQ(Stored(dm, dm.NewRecord(kItemListRecord)), none);
    EXPECT_EQ(Stored(dm, 0), none);
    EXPECT_EQ(Stored(dm, 55), none);

    // An emptied record still has its block and is written as an empty record.
    ASSERT_TRUE(dm.ClearRecord(id, true));
    EXPECT_EQ(Stored(dm, id), V(RecordHeader(0, kItemListRecord)));
}

TEST(DataManager, SerializeRecordLoadsIntoNewOrExistingRecords)
{
    CDataManger dm;
    const std::string items = Item(2, "hello") + Flag(9);
    const std::vector<uint8_t> bytes = V(RecordHeader(int32_t(items.size()), 0x0108) + items);

    int32_t fresh = 0;
    CArchive in(bytes);
    dm.SerializeRecord(fresh, in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(fresh, 1);
    EXPECT_EQ(dm.StateWord(fresh), 0x00010108u);
    EXPECT_EQ(Data(dm, fresh), items);
    EXPECT_EQ(Stored(dm, fresh), bytes);

    // Loading into a live record replaces its data and type and keeps its id.
    const int32_t live = RecordWith(dm, kItemListRecord, std::string(30, 'o'));
    int32_t id = live;
    CArchive again(bytes);
    dm.SerializeRecord(id, again);
    EXPECT_EQ(id, live);
    EXPECT_EQ(dm.GetRecordType(id), 0x0108);
    EXPECT_EQ(Data(dm, id), items);

    // An id whose record has gone gets a new record instead of nothing.
    int32_t stale = 40;
    CArchive third(bytes);
    dm.SerializeRecord(stale, third);
    EXPECT_EQ(stale, live + 1);
    EXPECT_EQ(Data(dm, stale), items);
}

TEST(DataManager, SerializeRecordMinusOneReleasesAndZeroLengthLeavesNoBlock)
{
    CDataManger dm;
    const std::vector<uint8_t> none = V("\xFF\xFF\xFF\xFF\x00\x00"s);
    const int32_t owned = RecordWith(dm, kItemListRecord, Item(1, "a"));
    int32_t id = owned;
    CArchive in(none);
    dm.SerializeRecord(id, in);
    EXPECT_EQ(id, 0);
    EXPECT_FALSE(dm.HasRecord(owned));
    EXPECT_EQ(dm.Capacity(owned), 0);

    CArchive noneAgain(none);
    dm.SerializeRecord(id, noneAgain);
    EXPECT_EQ(id, 0);

    const std::vector<uint8_t> empty = V(RecordHeader(0, kItemListRecord));
    CArchive emptyIn(empty);
    dm.SerializeRecord(id, emptyIn);
    ASSERT_NE(id, 0);
    EXPECT_TRUE(dm.HasRecord(id));
    EXPECT_EQ(dm.Capacity(id), 0);
    EXPECT_EQ(dm.GetRecordType(id), kItemListRecord | RT_NO_BLOCK);
    EXPECT_EQ(Stored(dm, id), none);
}

TEST(DataManager, SerializeRecordReadOnlyTypeLoadsItsDataButRefusesEdits)
{
    CDataManger dm;
    const std::string items = Item(4, "ro");
    const uint16_t type = kItemListRecord | RT_READ_ONLY;
    const std::vector<uint8_t> bytes = V(RecordHeader(int32_t(items.size()), type) + items);

    int32_t id = 0;
    CArchive in(bytes);
    dm.SerializeRecord(id, in);
    EXPECT_EQ(dm.GetRecordType(id), type);
    EXPECT_EQ(Data(dm, id), items);
    EXPECT_FALSE(dm.SetItem(id, 4, U("rw"s), 2, true));

    // A read-only record that is read again takes the new bytes, not old + new.
    const std::string other = Item(5, "second");
    const std::vector<uint8_t> next = V(RecordHeader(int32_t(other.size()), type) + other);
    CArchive nextIn(next);
    dm.SerializeRecord(id, nextIn);
    EXPECT_EQ(Data(dm, id), other);
    EXPECT_EQ(dm.GetRecordType(id), type);
}

TEST(DataManager, SerializeRecordDamagedArchiveRaisesAndLeavesTheRecord)
{
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"data cut short", RecordHeader(10, kItemListRecord) + "abc"},
        {"length beyond any buffer", RecordHeader(0x7FFFFFFF, kItemListRecord) + "abc"},
        {"length below -1", RecordHeader(-2, kItemListRecord) + "abc"},
        {"most negative length", RecordHeader(std::numeric_limits<int32_t>::min(), 8)},
        {"type cut short", RecordHeader(3, kItemListRecord).substr(0, 5)},
        {"length cut short", "\x03\x00"s},
        {"nothing", ""},
    };
    for (const Row& row : rows) {
        CDataManger dm;
        const std::string items = Item(1, "keep");
        const int32_t live = RecordWith(dm, kItemListRecord, items);
        const std::vector<uint8_t> bytes = V(row.bytes);

        int32_t id = live;
        CArchive in(bytes);
        EXPECT_THROW(dm.SerializeRecord(id, in), ArchiveError) << row.name;
        EXPECT_EQ(id, live) << row.name;
        EXPECT_EQ(Data(dm, live), items) << row.name;

        int32_t none = 0;
        CArchive fresh(bytes);
        EXPECT_THROW(dm.SerializeRecord(none, fresh), ArchiveError) << row.name;
        EXPECT_EQ(none, 0) << row.name;
        EXPECT_EQ(dm.HighestId(), live) << row.name;
    }
}

} // namespace
} // namespace figures
