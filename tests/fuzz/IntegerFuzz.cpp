// The settings file's integer rule: every 32-bit value reads back from each of its written
// forms, and arbitrary text reads as the standard library's own conversion of it says.

#include "tests/fuzz/FuzzTarget.h"

#include "settings/SettingsFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

using fuzz::Require;

// Two fallbacks tell a number from no number.
std::optional<std::int32_t> Read(std::wstring_view text) {
    const std::int32_t value = settings::ReadInteger(text, 0);
    if (value != settings::ReadInteger(text, 1)) {
        return std::nullopt;
    }
    return value;
}

// What the text should read as, from std::from_chars on its digits: leading spaces, a sign,
// "$", "x" or "0x" for up to eight hexadecimal digits as a 32-bit pattern, else a decimal
// number that fits in 32 bits once its sign is applied.
std::optional<std::int32_t> Expected(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    int base = 10;
    for (std::string_view prefix : {"$", "x", "X", "0x", "0X"}) {
        if (text.starts_with(prefix)) {
            base = 16;
            text.remove_prefix(prefix.size());
            break;
        }
    }
    if (base == 16 && text.size() > 8) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    if (base == 10 && magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
        return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

std::wstring Hex(std::uint32_t bits, bool upper) {
    char digits[9] = {};
    std::to_chars(digits, digits + 8, bits, 16);
    std::wstring text;
    for (const char* digit = digits; *digit != '\0'; ++digit) {
        text += static_cast<wchar_t>(upper && *digit >= 'a' ? *digit - 'a' + 'A' : *digit);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    Require(Read(fuzz::Widened(bytes)) == Expected(bytes),
            "the text reads differently from its conversion by the standard library");

    std::uint32_t bits = 0;
    std::memcpy(&bits, data, std::min(size, sizeof bits));
    const auto value = static_cast<std::int32_t>(bits);
    const std::wstring forms[] = {
        std::to_wstring(value),
        (value < 0 ? L"  " : L"  +") + std::to_wstring(value),
        L"$" + Hex(bits, true),
        L" 0x" + Hex(bits, false),
        L"X" + std::wstring(8 - Hex(bits, false).size(), L'0') + Hex(bits, false),
        L"-$" + Hex(0u - bits, false),
        L"-0X" + Hex(0u - bits, true),
    };
    for (const std::wstring& form : forms) {
        Require(Read(form) == value, "a written form of a value does not read back as that value");
        Require(!Read(form + L"g"), "a number with a stray letter after it still reads");
    }
    return 0;
}
