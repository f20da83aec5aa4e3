#include "settings/FormSettings.h"

#include "services/AppInfo.h"
#include "services/FilePath.h"
#include "services/NumberText.h"

namespace settings {
namespace {

// Section names of the settings file; other tools may read them.
constexpr wchar_t ProgramSection[] = L"PROGRAM";
constexpr wchar_t PositionSection[] = L"POSITION";
constexpr wchar_t ModeSection[] = L"MODE";

// Sums of values read from the file wrap around instead of overflowing.
std::int32_t WrappingSum(std::int32_t left, std::int32_t right) {
    return static_cast<std::int32_t>(std::int64_t{left} + right);
}

} // namespace

FormSettings ReadFormSettings(const EntryReader& read, const Placement& current, int windowState,
                              std::int32_t workWidth, std::int32_t workHeight,
                              std::int32_t windowHeight) {
    auto readInteger = [&](const wchar_t* key, std::int32_t fallback) {
        return ReadInteger(read(PositionSection, key), fallback);
    };
    auto readBoolean = [&](const wchar_t* key) {
        return ReadBoolean(read(ModeSection, key), false);
    };
    FormSettings settings;
    Placement& placement = settings.placement;
    placement = current;
    placement.flags =
        static_cast<std::uint32_t>(readInteger(L"Flags", static_cast<std::int32_t>(current.flags)));
    placement.maxX = readInteger(L"MaxX", current.maxX);
    placement.maxY = readInteger(L"MaxY", current.maxY);
    // Top comes first: the defaults of the others are built from it.
    placement.top = readInteger(L"Top", workHeight / 3);
    placement.left = readInteger(L"Left", (workWidth - windowHeight) / 2);
    placement.right = readInteger(L"Right", WrappingSum(placement.left, placement.top));
    placement.bottom = readInteger(L"Bottom", WrappingSum(placement.top, placement.top));

    // Only the low 8 bits name a state; one that names none shows the window normally.
    const std::int32_t state = readInteger(L"state", windowState) & 0xFF;
    settings.windowState = state <= 2 ? state : 0;
    settings.closeQuery = readBoolean(L"CloseQuery");
    settings.saveStatus = readBoolean(L"SaveStatus");
    return settings;
}

void WriteFormSettings(IniFile& file, const FormSettings& settings, std::wstring_view exePath,
                       std::wstring_view closeTime) {
    file.EraseSection(ProgramSection);
    file.WriteString(ProgramSection, L"Name", services::ExtractFileName(exePath));
    file.WriteString(ProgramSection, L"Path", services::ExtractFileDirectory(exePath));
    file.WriteString(ProgramSection, L"Version", services::AppVersion);
    file.WriteString(ProgramSection, L"LastClose", closeTime);

    file.EraseSection(PositionSection);
    file.EraseSection(ModeSection);
    if (!settings.saveStatus) {
        return;
    }
    auto writeInteger = [&](const wchar_t* key, std::int32_t value) {
        file.WriteString(PositionSection, key, services::NumberText(value));
    };
    const Placement& placement = settings.placement;
    writeInteger(L"Flags", static_cast<std::int32_t>(placement.flags));
    writeInteger(L"ShowCmd", static_cast<std::int32_t>(placement.showCmd));
    writeInteger(L"MaxX", placement.maxX);
    writeInteger(L"MaxY", placement.maxY);
    writeInteger(L"Left", placement.left);
    writeInteger(L"Top", placement.top);
    writeInteger(L"Right", placement.right);
    writeInteger(L"Bottom", placement.bottom);
    writeInteger(L"State", settings.windowState);
    file.WriteString(ModeSection, L"CloseQuery", settings.closeQuery ? L"1" : L"0");
    file.WriteString(ModeSection, L"SaveStatus", L"1");
}

} // namespace settings
