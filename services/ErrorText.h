#pragma once

#include <string>

namespace services {

// The text of the error report: the error's message, with "." appended when its last
// character's code lies above that of ".".
std::wstring ErrorReportText(std::wstring message);

} // namespace services
