#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace designer {

// One row of the shape table: the shape's number (its row id) and its name (GBK bytes).
struct ShapeRow {
    int64_t id = 0;
    std::string name;
};

// The file of custom shapes: one SQLite table "图形" (编号 INTEGER PRIMARY KEY, 名称,
// 绘图数据, 备注) whose rows are named step lists. Names and the table's own identifiers
// are GBK bytes, as files of earlier versions hold them. Every user text is bound as a
// statement parameter, so any name (quotes, semicolons, "--") is stored exactly as typed.
// Each operation reports failure through its result; LastError() then tells why.
class ShapeDatabase {
public:
    // Opens the file, creating it when it is missing, and creates the table when the file
    // has none. None when the file cannot be opened or is no database; error then says why.
    static std::optional<ShapeDatabase> Open(const std::string& path, std::string& error);

    ShapeDatabase(ShapeDatabase&& other) noexcept;
    ShapeDatabase& operator=(ShapeDatabase&& other) noexcept;
    ~ShapeDatabase();

    // Every shape in number order.
    std::vector<ShapeRow> List();
    // Inserts a shape without steps; its number, or none.
    std::optional<int64_t> Create(const std::string& name);
    // False when the statement fails or no shape has that number.
    bool Rename(int64_t id, const std::string& name);
    bool Delete(int64_t id);
    // The stored step-list bytes (empty when the shape has none); none when no shape has
    // that number.
    std::optional<std::vector<uint8_t>> Load(int64_t id);
    // Stores the bytes (an empty list stores NULL). False when no shape has that number.
    bool Store(int64_t id, std::span<const uint8_t> stepList);

    const std::string& LastError() const { return lastError_; }
    bool TableExisted() const { return tableExisted_; }

private:
    struct StatementCloser {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

    explicit ShapeDatabase(sqlite3* connection) : connection_(connection) {}
    bool HasShapeTable();
    bool Execute(const char* utf8Sql);
    // The statement written in UTF-8, prepared in GBK; null (with LastError set) on failure.
    Statement Prepare(const char* utf8Sql);
    // Steps a statement that should change exactly the row of shape id.
    bool ChangeOneRow(sqlite3_stmt* statement, int64_t id);
    bool Fail();

    sqlite3* connection_ = nullptr;
    std::string lastError_;
    bool tableExisted_ = false;
};

} // namespace designer
