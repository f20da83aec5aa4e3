#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace services {

// The decimal digits of a number, with a minus sign when it is negative: what std::to_wstring
// gives, without the C library's formatted printing, which would add some 20 KB to the program.
std::wstring NumberText(std::int64_t value);

// The number in exactly that many (at most 16) upper-case hexadecimal digits, and back: only
// such digits, at most 16 of them, are read.
std::wstring HexText(std::uint64_t value, std::size_t digits);
std::optional<std::uint64_t> ReadHexText(std::wstring_view digits);

} // namespace services
