#pragma once

#include <functional>

namespace services {

// Calls action until it returns true, again after a short pause while it fails (GetLastError)
// because another program holds the file; at most a few times. Its last result.
bool RetryWhileShared(const std::function<bool()>& action);

} // namespace services
