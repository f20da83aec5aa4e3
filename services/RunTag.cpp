#include "services/RunTag.h"

namespace services {
namespace {

constexpr std::size_t ProcessDigits = 8;
constexpr std::size_t TimeDigits = 16;
// "-" before each number.
constexpr std::size_t NumbersLength = ProcessDigits + TimeDigits + 2;

void AppendHex(std::wstring& text, std::uint64_t value, std::size_t digits) {
    for (std::size_t shift = digits * 4; shift != 0; shift -= 4) {
        text += L"0123456789ABCDEF"[(value >> (shift - 4)) & 0xF];
    }
}

// Exactly the digits of AppendHex: upper case, no sign, no blank.
std::optional<std::uint64_t> ReadHex(std::wstring_view digits) {
    std::uint64_t value = 0;
    for (wchar_t digit : digits) {
        const int nibble = digit >= L'0' && digit <= L'9'   ? digit - L'0'
                           : digit >= L'A' && digit <= L'F' ? digit - L'A' + 10
                                                            : -1;
        if (nibble < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<unsigned>(nibble);
    }
    return value;
}

} // namespace

std::wstring RunTagText(const RunTag& tag) {
    std::wstring text = tag.computer + L'-';
    AppendHex(text, tag.processId, ProcessDigits);
    text += L'-';
    AppendHex(text, tag.startTime, TimeDigits);
    return text;
}

std::optional<RunTag> ParseRunTag(std::wstring_view text) {
    if (text.size() <= NumbersLength) {
        return std::nullopt;
    }
    const std::wstring_view numbers = text.substr(text.size() - NumbersLength);
    const std::optional<std::uint64_t> processId = ReadHex(numbers.substr(1, ProcessDigits));
    const std::optional<std::uint64_t> startTime = ReadHex(numbers.substr(ProcessDigits + 2));
    if (numbers[0] != L'-' || numbers[ProcessDigits + 1] != L'-' || !processId || !startTime) {
        return std::nullopt;
    }
    return RunTag{std::wstring(text.substr(0, text.size() - NumbersLength)),
                  static_cast<std::uint32_t>(*processId), *startTime};
}

} // namespace services
