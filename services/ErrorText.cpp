#include "services/ErrorText.h"

namespace services {

std::wstring ErrorReportText(std::wstring message) {
    if (!message.empty() && message.back() > L'.') {
        message += L'.';
    }
    return message;
}

} // namespace services
