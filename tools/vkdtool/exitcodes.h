#pragma once

namespace vkdtool {

// What every vkdtool command returns.
constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 1; // input missing, unreadable or damaged; output not written
constexpr int kExitUsage = 2;

} // namespace vkdtool
