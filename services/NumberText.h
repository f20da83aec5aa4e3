#pragma once

#include <cstdint>
#include <string>

namespace services {

// The decimal digits of a number, with a minus sign when it is negative: what std::to_wstring
// gives, without the C library's formatted printing, which would add some 20 KB to the program.
std::wstring NumberText(std::int64_t value);

} // namespace services
