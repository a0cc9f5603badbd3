#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace designer {

// How many parameter texts every step carries, whatever its action uses.
constexpr int kStepParameters = 9;
constexpr int kActionCount = 26;

// One drawing action a designer step can take. The action's code is its index in
// ActionTable() and is the opcode of the shape program the step becomes; parameterCount
// is the number of words that follow the opcode there. Texts are UTF-8, as shown to the
// user.
struct DrawingAction {
    std::string_view name;
    int parameterCount = 0;
    std::array<std::string_view, kStepParameters> parameterNames{}; // empty past the count
    std::string_view defaultRemark;                                 // may be empty
};

const std::array<DrawingAction, kActionCount>& ActionTable();

// The action of code, or nullptr for a code outside 0..25 (which a damaged blob may hold).
const DrawingAction* FindAction(int32_t code);

} // namespace designer
