#include "app/ErrorText.h"

namespace app {

std::wstring ErrorReportText(std::wstring message) {
    if (!message.empty() && message.back() > L'.') {
        message += L'.';
    }
    return message;
}

} // namespace app
