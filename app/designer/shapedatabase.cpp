#include "app/designer/shapedatabase.h"

#include "app/designer/ansicodepage.h"

#include <sqlite3.h>

#include <memory>
#include <utility>

namespace designer {

namespace {

// The statements, written in UTF-8 here and run in GBK, the code page the table's name
// and columns were created in by every version of the designer.
std::string Sql(const char* utf8)
{
    return AnsiFromUtf8(utf8);
}

std::string ColumnText(sqlite3_stmt* statement, int column)
{
    const auto* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string()
                           : std::string(reinterpret_cast<const char*>(text),
                                         size_t(sqlite3_column_bytes(statement, column)));
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text)
{
    sqlite3_bind_text(statement, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

} // namespace

std::optional<ShapeDatabase> ShapeDatabase::Open(const std::string& path, std::string& error)
{
    sqlite3* connection = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &connection,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        error = connection != nullptr ? sqlite3_errmsg(connection) : sqlite3_errstr(opened);
        sqlite3_close(connection);
        return std::nullopt;
    }
    ShapeDatabase database(connection);
    // Opening is lazy: a file that is no database shows here, at the first statement.
    database.tableExisted_ = database.HasShapeTable();
    if (!database.lastError_.empty()) {
        error = database.lastError_;
        return std::nullopt;
    }
    if (!database.tableExisted_ &&
        !database.Execute("CREATE TABLE 图形 (编号 INTEGER PRIMARY KEY, 名称, 绘图数据, 备注)")) {
        error = database.lastError_;
        return std::nullopt;
    }
    return database;
}

ShapeDatabase::ShapeDatabase(ShapeDatabase&& other) noexcept
    : connection_(std::exchange(other.connection_, nullptr)),
      lastError_(std::move(other.lastError_)), tableExisted_(other.tableExisted_)
{
}

ShapeDatabase& ShapeDatabase::operator=(ShapeDatabase&& other) noexcept
{
    if (this != &other) {
        sqlite3_close(connection_);
        connection_ = std::exchange(other.connection_, nullptr);
        lastError_ = std::move(other.lastError_);
        tableExisted_ = other.tableExisted_;
    }
    return *this;
}

ShapeDatabase::~ShapeDatabase()
{
    sqlite3_close(connection_);
}

void ShapeDatabase::StatementCloser::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

bool ShapeDatabase::Fail()
{
    lastError_ = connection_ != nullptr ? sqlite3_errmsg(connection_) : "no database";
    return false;
}

bool ShapeDatabase::Execute(const char* utf8Sql)
{
    char* message = nullptr;
    if (sqlite3_exec(connection_, Sql(utf8Sql).c_str(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        lastError_ = message != nullptr ? message : "statement failed";
        sqlite3_free(message);
        return false;
    }
    return true;
}

ShapeDatabase::Statement ShapeDatabase::Prepare(const char* utf8Sql)
{
    sqlite3_stmt* raw = nullptr;
    const std::string sql = Sql(utf8Sql);
    if (sqlite3_prepare_v2(connection_, sql.c_str(), int(sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(raw);
        Fail();
        return nullptr;
    }
    return Statement(raw);
}

bool ShapeDatabase::ChangeOneRow(sqlite3_stmt* statement, int64_t id)
{
    if (sqlite3_step(statement) != SQLITE_DONE) {
        return Fail();
    }
    if (sqlite3_changes(connection_) != 1) {
        lastError_ = "no shape has number " + std::to_string(id);
        return false;
    }
    return true;
}

bool ShapeDatabase::HasShapeTable()
{
    const Statement statement = Prepare(
        "SELECT name FROM sqlite_master  WHERE name LIKE '图形' AND type IN ('table','view') ");
    if (!statement) {
        return false;
    }
    const int stepped = sqlite3_step(statement.get());
    if (stepped != SQLITE_ROW && stepped != SQLITE_DONE) {
        return Fail();
    }
    return stepped == SQLITE_ROW;
}

std::vector<ShapeRow> ShapeDatabase::List()
{
    std::vector<ShapeRow> rows;
    const Statement statement = Prepare("select 编号, 名称 from 图形 order by 编号");
    if (!statement) {
        return rows;
    }
    int stepped = SQLITE_ROW;
    while ((stepped = sqlite3_step(statement.get())) == SQLITE_ROW) {
        rows.push_back({sqlite3_column_int64(statement.get(), 0), ColumnText(statement.get(), 1)});
    }
    if (stepped != SQLITE_DONE) {
        Fail();
    }
    return rows;
}

std::optional<int64_t> ShapeDatabase::Create(const std::string& name)
{
    const Statement statement = Prepare("insert into 图形('名称') values(?1)");
    if (!statement) {
        return std::nullopt;
    }
    BindText(statement.get(), 1, name);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        Fail();
        return std::nullopt;
    }
    // 编号 is the table's INTEGER PRIMARY KEY, so the row id is the shape's number.
    return sqlite3_last_insert_rowid(connection_);
}

bool ShapeDatabase::Rename(int64_t id, const std::string& name)
{
    const Statement statement = Prepare("update 图形 set 名称 = ?1 where 编号 = ?2");
    if (!statement) {
        return false;
    }
    BindText(statement.get(), 1, name);
    sqlite3_bind_int64(statement.get(), 2, id);
    return ChangeOneRow(statement.get(), id);
}

bool ShapeDatabase::Delete(int64_t id)
{
    const Statement statement = Prepare("delete from 图形 where 编号 = ?1");
    if (!statement) {
        return false;
    }
    sqlite3_bind_int64(statement.get(), 1, id);
    return ChangeOneRow(statement.get(), id);
}

std::optional<std::vector<uint8_t>> ShapeDatabase::Load(int64_t id)
{
    const Statement statement = Prepare("select 绘图数据 from 图形 where 编号 = ?1");
    if (!statement) {
        return std::nullopt;
    }
    sqlite3_bind_int64(statement.get(), 1, id);
    const int stepped = sqlite3_step(statement.get());
    if (stepped == SQLITE_DONE) {
        lastError_ = "no shape has number " + std::to_string(id);
        return std::nullopt;
    }
    if (stepped != SQLITE_ROW) {
        Fail();
        return std::nullopt;
    }
    // A NULL or empty column is a shape without steps.
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement.get(), 0));
    const int size = sqlite3_column_bytes(statement.get(), 0);
    if (data == nullptr || size <= 0) {
        return std::vector<uint8_t>();
    }
    return std::vector<uint8_t>(data, data + size);
}

bool ShapeDatabase::Store(int64_t id, std::span<const uint8_t> stepList)
{
    const Statement statement = Prepare("update 图形 set 绘图数据 = $data where 编号 = $id");
    if (!statement) {
        return false;
    }
    // An empty step list binds nothing, which leaves the column NULL.
    if (!stepList.empty()) {
        sqlite3_bind_blob64(statement.get(), sqlite3_bind_parameter_index(statement.get(), "$data"),
                            stepList.data(), stepList.size(), SQLITE_TRANSIENT);
    }
    sqlite3_bind_int64(statement.get(), sqlite3_bind_parameter_index(statement.get(), "$id"), id);
    return ChangeOneRow(statement.get(), id);
}

} // namespace designer
