#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace services {

// Which run of the program made a file: the computer, and the process by its number and the
// time it started (numbers are reused, and are per computer). A file named with it is provably
// the program's; the program touches no other file it finds.
struct RunTag {
    std::wstring computer;
    std::uint32_t processId = 0;
    std::uint64_t startTime = 0; // FILETIME's count

    bool operator==(const RunTag&) const = default;
};

// "COMPUTER-0000ABCD-01DB23456789ABCD": the process number and start time in fixed-width upper
// case hexadecimal, so that the name is read from its end whatever the computer's name holds.
std::wstring RunTagText(const RunTag& tag);
std::optional<RunTag> ParseRunTag(std::wstring_view text);

} // namespace services
