#pragma once

#include <cstdint>
#include <string_view>

struct sqlite3;

namespace designer {

// Evaluates a step parameter as the SQL expression it is written in: "select TEXT as v",
// the first row's v read as SQLite reads a value as a 32-bit integer (an integer's low 32
// bits, a real truncated toward zero, a text's leading integer, NULL as 0). So 8191/2 is
// 4095 (integer division) and 8191*0.5 is 4095 too.
//
// Parameters are text typed by whoever made the shape, so they run on a private in-memory
// connection that can do nothing but compute: no table, no ATTACH, no pragma, no extension
// loading, no recursive query; only plain expressions and a list of pure functions. Texts
// and results are limited in length and expression depth, and a statement that runs past a
// small budget of steps is stopped. Anything refused, invalid, stopped or without a row
// evaluates to 0, as an invalid expression always has.
class ExpressionEvaluator {
public:
    ExpressionEvaluator();
    ~ExpressionEvaluator();
    ExpressionEvaluator(const ExpressionEvaluator&) = delete;
    ExpressionEvaluator& operator=(const ExpressionEvaluator&) = delete;

    // text is GBK bytes, as steps keep it.
    int32_t Evaluate(std::string_view text);

    static constexpr int kMaxStatementBytes = 10000;
    static constexpr int kMaxValueBytes = 100000;
    static constexpr int kMaxExpressionDepth = 100;
    // Virtual-machine steps between two looks of the progress handler, and how many looks a
    // statement gets before it is stopped.
    static constexpr int kStepsPerLook = 1000;
    static constexpr int kLooksAllowed = 1000;

private:
    sqlite3* connection_ = nullptr;
    int looks_ = 0;
};

} // namespace designer
