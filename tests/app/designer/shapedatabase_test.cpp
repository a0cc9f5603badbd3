#include "app/designer/ansicodepage.h"
#include "app/designer/shapedatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

namespace designer {
namespace {

namespace fs = std::filesystem;

class ShapeDatabaseFile : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("shapedb-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = (folder_ / "mygraphs.sdb").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    ShapeDatabase OpenOrFail()
    {
        std::string error;
        std::optional<ShapeDatabase> database = ShapeDatabase::Open(path_, error);
        EXPECT_TRUE(database.has_value()) << error;
        return std::move(*database);
    }

    // The table's definition as the file holds it, read back in UTF-8.
    std::string StoredSchema()
    {
        sqlite3* connection = nullptr;
        sqlite3_open_v2(path_.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(connection, "select sql from sqlite_master", -1, &statement, nullptr);
        std::string schema;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            schema += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            schema += "\n";
        }
        sqlite3_finalize(statement);
        sqlite3_close(connection);
        return Utf8FromAnsi(schema);
    }

    fs::path folder_;
    std::string path_;
};

TEST_F(ShapeDatabaseFile, FirstOpenCreatesTheTableAndASecondKeepsIt)
{
    {
        ShapeDatabase database = OpenOrFail();
        EXPECT_FALSE(database.TableExisted());
        ASSERT_TRUE(database.Create(AnsiFromUtf8("图形1")).has_value());
    }
    EXPECT_EQ(StoredSchema(), "CREATE TABLE 图形 (编号 INTEGER PRIMARY KEY, 名称, 绘图数据, 备注)\n");
    ShapeDatabase again = OpenOrFail();
    EXPECT_TRUE(again.TableExisted());
    ASSERT_EQ(again.List().size(), 1u);
    EXPECT_EQ(Utf8FromAnsi(again.List()[0].name), "图形1");
}

TEST_F(ShapeDatabaseFile, NamesAreStoredExactlyAsTypedWhateverTheyHold)
{
    ShapeDatabase database = OpenOrFail();
    const std::string names[] = {"say \"hi\"", "it's", "a; DROP TABLE 图形; --", "--",
                                 "名称 ' \" ; --"};
    std::vector<int64_t> ids;
    for (const std::string& name : names) {
        const auto id = database.Create(AnsiFromUtf8(name));
        ASSERT_TRUE(id.has_value()) << name << ": " << database.LastError();
        ids.push_back(*id);
    }
    const std::vector<ShapeRow> rows = database.List();
    ASSERT_EQ(rows.size(), std::size(names));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].id, ids[i]);
        EXPECT_EQ(Utf8FromAnsi(rows[i].name), names[i]);
    }
    ASSERT_TRUE(database.Rename(ids[0], AnsiFromUtf8("it's \"renamed\"")));
    EXPECT_EQ(Utf8FromAnsi(database.List()[0].name), "it's \"renamed\"");
}

TEST_F(ShapeDatabaseFile, StepsStoreAndLoadAndAnEmptyListIsNull)
{
    ShapeDatabase database = OpenOrFail();
    const int64_t id = *database.Create("a");
    const std::vector<uint8_t> blob = {1, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(database.Store(id, blob));
    EXPECT_EQ(database.Load(id), blob);
    ASSERT_TRUE(database.Store(id, {}));
    EXPECT_EQ(database.Load(id), std::vector<uint8_t>());

    sqlite3* connection = nullptr;
    sqlite3_open_v2(path_.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(connection, AnsiFromUtf8("select typeof(绘图数据) from 图形").c_str(), -1,
                       &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "null");
    sqlite3_finalize(statement);
    sqlite3_close(connection);
}

TEST_F(ShapeDatabaseFile, OperationsOnAShapeThatIsGoneReportFailure)
{
    ShapeDatabase database = OpenOrFail();
    const int64_t id = *database.Create("only");
    ASSERT_TRUE(database.Delete(id));
    EXPECT_TRUE(database.List().empty());
    const std::vector<uint8_t> blob = {1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(database.Store(id, blob));
    EXPECT_NE(database.LastError().find("no shape"), std::string::npos);
    EXPECT_FALSE(database.Rename(id, "x"));
    EXPECT_FALSE(database.Delete(id));
    EXPECT_FALSE(database.Load(id).has_value());
}

TEST_F(ShapeDatabaseFile, NumbersFollowInsertionAndSurviveDeletes)
{
    ShapeDatabase database = OpenOrFail();
    const int64_t first = *database.Create("1");
    const int64_t second = *database.Create("2");
    const int64_t third = *database.Create("3");
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    ASSERT_TRUE(database.Delete(second));
    const std::vector<ShapeRow> rows = database.List();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, first);
    EXPECT_EQ(rows[1].id, third);
    EXPECT_EQ(rows[1].name, "3");
}

TEST_F(ShapeDatabaseFile, FilesThatCannotBeOpenedSayWhy)
{
    std::string error;
    EXPECT_FALSE(ShapeDatabase::Open((folder_ / "missing" / "x.sdb").string(), error));
    EXPECT_FALSE(error.empty());

    const std::string notADatabase = (folder_ / "text.sdb").string();
    std::ofstream(notADatabase) << "this is not a database file, only some text to fill a page";
    error.clear();
    EXPECT_FALSE(ShapeDatabase::Open(notADatabase, error));
    EXPECT_NE(error.find("not a database"), std::string::npos) << error;
}

} // namespace
} // namespace designer
