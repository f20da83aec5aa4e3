#pragma once

namespace services {

// Calls action until it returns true, again after a short pause while it fails (GetLastError)
// because another program holds the file; at most a few times. Its last result.
template <class Action> bool RetryWhileShared(const Action& action);

// The same, action called with context: one loop for every caller, without a std::function.
bool RetryWhileShared(bool (*action)(const void* context), const void* context);

template <class Action> bool RetryWhileShared(const Action& action) {
    return RetryWhileShared(
        [](const void* context) { return (*static_cast<const Action*>(context))(); }, &action);
}

} // namespace services
