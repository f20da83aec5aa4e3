#pragma once

#include <cstdint>

namespace services {

// Windows' numbers for the errors that window-free code tells apart; every other number is
// passed on as it came.
using SystemError = std::uint32_t;
namespace errors {
inline constexpr SystemError FileNotFound = 2;
inline constexpr SystemError PathNotFound = 3;
inline constexpr SystemError WriteFault = 29;
inline constexpr SystemError SharingViolation = 32;
inline constexpr SystemError HandleDiskFull = 39;
inline constexpr SystemError DiskFull = 112;
// ReplaceFileW's error for a file that another program holds without delete sharing.
inline constexpr SystemError UnableToRemoveReplaced = 1175;
inline constexpr SystemError UnableToMoveReplacement2 = 1177;
} // namespace errors

} // namespace services
