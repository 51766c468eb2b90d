#pragma once

#include <string_view>
#include <vector>

namespace kelda::cli {

inline constexpr int kExitDataError = 1;
inline constexpr int kExitCannotOpen = 2;
inline constexpr int kExitUsage = 64;

// kelda run FILE.kl4d... [-o DIR] [-j N] [-q]
int runCommand(const std::vector<std::string_view>& args);

} // namespace kelda::cli
