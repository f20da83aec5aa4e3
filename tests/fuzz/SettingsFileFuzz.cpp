// Random bytes through the settings file's reader, its encodings and the integer rule. Built
// with libFuzzer for long runs, and with FuzzSmoke.cpp for a short run in the native tests.

#include "tests/fuzz/FuzzTarget.h"

#include "settings/SettingsFile.h"
#include "settings/TextEncoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using fuzz::Require;

void CheckInteger(std::wstring_view text) {
    // Two fallbacks tell a number from no number; a number must read back from its decimal form.
    const std::int32_t first = settings::ReadInteger(text, 0);
    if (first == settings::ReadInteger(text, 1)) {
        Require(settings::ReadInteger(std::to_wstring(first), first == 0 ? 1 : 0) == first,
                "a number read does not read back from its decimal form");
    }
}

// Any name found beside the settings file: one taken for a save's file names it again.
void CheckSaveFileName(std::wstring_view name) {
    const auto parsed = settings::ParseSaveFileName(L"T.ini", name);
    if (parsed) {
        const auto again =
            settings::ParseSaveFileName(L"T.ini", settings::SaveFilePath(L"T.ini", *parsed));
        Require(again && again->run == parsed->run && again->kind == parsed->kind &&
                    again->file == parsed->file && again->copied == parsed->copied &&
                    again->completed == parsed->completed,
                "a save's file name does not read back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const auto encoding = settings::DetectByteOrderMark(bytes);
    std::wstring text;
    if (encoding) {
        const std::size_t mark = settings::ByteOrderMark(*encoding).size();
        const std::string_view body = bytes.substr(mark);
        text = settings::DecodeText(body, *encoding);
        const std::string encoded = settings::EncodeText(text, *encoding);
        if (*encoding != settings::TextEncoding::Utf8 && body.size() % 2 == 0) {
            Require(encoded == bytes, "UTF-16 text does not round-trip");
        } else {
            Require(settings::DecodeText(std::string_view(encoded).substr(mark), *encoding) == text,
                    "decoded text does not round-trip");
        }
    } else {
        // Without a mark the bytes stand for themselves: the ANSI code page needs Windows.
        text = fuzz::Widened(bytes);
    }

    settings::IniFile file = settings::IniFile::Parse(text);
    const std::wstring written = file.Text();
    Require(settings::IniFile::Parse(written).Text() == written,
            "written text reads back differently");

    file.EraseSection(L"PROGRAM");
    file.WriteString(L"PROGRAM", L"Name", L"Tavimbo.exe");
    file.WriteString(L"PROGRAM", L"name", L"T.exe");
    const std::wstring saved = file.Text();
    Require(saved.ends_with(L"[PROGRAM]\r\nName=T.exe\r\n\r\n"), "the written section is not last");

    CheckInteger(text);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        const std::wstring_view line = std::wstring_view(text).substr(start, end - start);
        const std::size_t equals = line.find(L'=');
        CheckInteger(equals == std::wstring_view::npos ? line : line.substr(equals + 1));
        CheckSaveFileName(line);
        start = end + 1;
    }
    return 0;
}
