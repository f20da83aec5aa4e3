#include "services/RunTag.h"

#include "services/NumberText.h"

namespace services {
namespace {

constexpr std::size_t ProcessDigits = 8;
constexpr std::size_t TimeDigits = 16;
// "-" before each number.
constexpr std::size_t NumbersLength = ProcessDigits + TimeDigits + 2;

} // namespace

std::wstring RunTagText(const RunTag& tag) {
    return tag.computer + L'-' + HexText(tag.processId, ProcessDigits) + L'-' +
           HexText(tag.startTime, TimeDigits);
}

std::optional<RunTag> ParseRunTag(std::wstring_view text) {
    if (text.size() <= NumbersLength) {
        return std::nullopt;
    }
    const std::wstring_view numbers = text.substr(text.size() - NumbersLength);
    const std::optional<std::uint64_t> processId = ReadHexText(numbers.substr(1, ProcessDigits));
    const std::optional<std::uint64_t> startTime = ReadHexText(numbers.substr(ProcessDigits + 2));
    if (numbers[0] != L'-' || numbers[ProcessDigits + 1] != L'-' || !processId || !startTime) {
        return std::nullopt;
    }
    return RunTag{std::wstring(text.substr(0, text.size() - NumbersLength)),
                  static_cast<std::uint32_t>(*processId), *startTime};
}

} // namespace services
