#include "app/designer/expressionevaluator.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace designer {

namespace {

// Pure functions an expression may call: arithmetic, text and the math library. Nothing
// that reads outside the statement, allocates by a caller-given size (zeroblob,
// randomblob, printf widths are limited by the length limit anyway) or has side effects.
constexpr std::array<const char*, 43> kAllowedFunctions = {
    "abs",   "round", "min",   "max",    "coalesce", "ifnull",  "iif",    "nullif",
    "length", "substr", "substring", "trim", "ltrim", "rtrim", "upper", "lower",
    "instr", "replace", "hex", "unicode", "char", "typeof", "sign", "likely",
    "unlikely", "acos", "asin", "atan", "atan2", "cos", "sin", "tan",
    "sqrt", "pow", "power", "exp", "ln", "log", "floor", "ceil", "pi", "like", "glob"};

bool IsAllowedFunction(const char* name)
{
    if (name == nullptr) {
        return false;
    }
    return std::any_of(kAllowedFunctions.begin(), kAllowedFunctions.end(),
                       [name](const char* allowed) { return sqlite3_stricmp(name, allowed) == 0; });
}

int Authorize(void*, int action, const char* first, const char* second, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        // The function's name comes as the second argument.
        return IsAllowedFunction(second) ? SQLITE_OK : SQLITE_DENY;
    default:
        (void)first;
        return SQLITE_DENY;
    }
}

bool IsBlank(const char* text)
{
    for (; text != nullptr && *text != 0; ++text) {
        if (std::strchr(" \t\r\n\f\v", *text) == nullptr) {
            return false;
        }
    }
    return true;
}

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

} // namespace

ExpressionEvaluator::ExpressionEvaluator()
{
    if (sqlite3_open_v2(":memory:", &connection_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(connection_);
        connection_ = nullptr;
        return;
    }
    sqlite3_limit(connection_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    sqlite3_limit(connection_, SQLITE_LIMIT_SQL_LENGTH, kMaxStatementBytes);
    sqlite3_limit(connection_, SQLITE_LIMIT_EXPR_DEPTH, kMaxExpressionDepth);
    sqlite3_limit(connection_, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(connection_, SQLITE_LIMIT_COMPOUND_SELECT, 1);
    sqlite3_db_config(connection_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_db_config(connection_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_set_authorizer(connection_, Authorize, nullptr);
    sqlite3_progress_handler(
        connection_, kStepsPerLook,
        [](void* self) -> int {
            auto* evaluator = static_cast<ExpressionEvaluator*>(self);
            return ++evaluator->looks_ > kLooksAllowed ? 1 : 0;
        },
        this);
}

ExpressionEvaluator::~ExpressionEvaluator()
{
    sqlite3_close(connection_);
}

int32_t ExpressionEvaluator::Evaluate(std::string_view text)
{
    if (connection_ == nullptr || text.size() > size_t(kMaxStatementBytes)) {
        return 0;
    }
    const std::string statementText = "select " + std::string(text) + " as v";
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(connection_, statementText.c_str(), int(statementText.size()), &raw,
                           &tail) != SQLITE_OK ||
        raw == nullptr || !IsBlank(tail)) {
        // A tail means the text closed the select and began another statement: a parameter
        // is one expression, never a script.
        sqlite3_finalize(raw);
        return 0;
    }
    std::unique_ptr<sqlite3_stmt, StatementCloser> statement(raw);
    looks_ = 0;
    if (sqlite3_step(statement.get()) != SQLITE_ROW) {
        return 0;
    }
    return sqlite3_column_int(statement.get(), 0);
}

} // namespace designer
