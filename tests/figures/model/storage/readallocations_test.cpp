#include "figures/model/document.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/storage/cdatamanger.h"
#include "figures/model/storage/documentformat.h"
#include "support/allocationlimit.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>

namespace figures {
namespace {

// Counts the allocations of its thread while it lives; refuses none.
class AllocationCount {
public:
    int64_t Count() const { return int64_t(limit_.Requests()); }

private:
    testsupport::AllocationLimit limit_{std::numeric_limits<size_t>::max()};
};

// Shapes of many catalogue entries, every tenth a custom one with its own program, and
// a few lines: each object has a property record, some have several.
void FillView(View& view, int count)
{
    for (int i = 0; i < count; ++i) {
        const int entry = i % 10 == 9 ? CRichGraph::kCustomShape : i % 110;
        view.AddNewShape(entry, nullptr);
        view.objects.back()->frame = {i * 10, i * 5, i * 10 + 100, i * 5 + 80};
    }
    for (int i = 0; i < count / 50; ++i) {
        auto line = std::make_unique<CRichLine>();
        line->frame = {0, i, 500, i + 300};
        view.objects.push_back(std::move(line));
    }
}

TEST(ReadAllocations, ReadingADocumentAllocatesTheObjectsAndAlmostNothingPerObjectBeyond)
{
    constexpr int kShapes = 4000;
    Document written;
    FillView(*written.ViewAt(0), kShapes);
    const std::vector<uint8_t> bytes = WriteDocument(written);
    const int objects = written.ViewAt(0)->ObjectCount();

    Document read;
    int64_t allocations = 0;
    {
        const AllocationCount count;
        ASSERT_TRUE(ReadDocument(bytes, read).ok);
        allocations = count.Count();
    }
    ASSERT_EQ(read.ViewAt(0)->ObjectCount(), objects);
    // One allocation per object is the object itself. The view's list, the record table
    // pages (one per 1024 records) and the record pool's chunks (one per few thousand
    // records) come on top; an allocation per record would be thousands more.
    EXPECT_GE(allocations, objects);
    EXPECT_LE(allocations, objects + 64) << "objects: " << objects;
    EXPECT_EQ(WriteDocument(read), bytes);
}

TEST(ReadAllocations, WritingADocumentAllocatesItsBufferOnly)
{
    Document document;
    FillView(*document.ViewAt(0), 2000);
    int64_t allocations = 0;
    {
        const AllocationCount count;
        const std::vector<uint8_t> bytes = WriteDocument(document);
        allocations = count.Count();
        ASSERT_GT(bytes.size(), 2000u * 100u);
    }
    EXPECT_LE(allocations, 2);
}

// The store that every object's properties live in: records and their edits must not
// cost a heap block each.
TEST(ReadAllocations, RecordsOfTheDataManagerComeFromPagesAndChunks)
{
    CDataManger dm;
    constexpr int kRecords = 5000;
    std::vector<int32_t> ids(kRecords);
    std::vector<uint8_t> item(40);
    std::iota(item.begin(), item.end(), uint8_t(1));
    int64_t allocations = 0;
    {
        const AllocationCount count;
        for (int32_t& id : ids) {
            id = dm.NewRecord(kItemListRecord);
            ASSERT_TRUE(dm.SetItem(id, 7, item.data(), int32_t(item.size()), true));
            ASSERT_TRUE(dm.SetItem(id, 9, item.data(), 12, true));
        }
        for (size_t i = 0; i < ids.size(); i += 2) {
            dm.ReleaseRecord(ids[i]);
        }
        for (size_t i = 0; i < ids.size(); i += 2) {
            ids[i] = dm.NewRecord(kItemListRecord);
            ASSERT_TRUE(dm.SetItem(ids[i], 3, item.data(), 30, true));
        }
        allocations = count.Count();
    }
    // 5000 records of about 70 bytes fill two 256 KB chunks; five table pages; the
    // table's page list grows a few times.
    EXPECT_LE(allocations, 24);
    const uint8_t* data = nullptr;
    EXPECT_EQ(dm.FindItem(ids[1], 9, &data), 12);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[11], 12);
    EXPECT_EQ(dm.FindItem(ids[0], 3, &data), 30);
    EXPECT_EQ(dm.FindItem(ids[0], 7, &data), 0);
}

} // namespace
} // namespace figures
