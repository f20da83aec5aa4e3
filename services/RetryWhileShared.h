#pragma once

#include "services/SystemError.h"

namespace services {

// Another program (a virus scanner, an indexer, an editor) often holds a file open for a moment
// only; a few tries over a short while get past it. Calls action, which gives Windows' error
// number (0 for success), again after a pause while the file is held; at most a few times. Its
// last result.
template <class Action, class Pause>
SystemError RetrySharingViolations(Action action, Pause pause) {
    constexpr int Tries = 5;
    for (int attempt = 1;; ++attempt) {
        const SystemError error = action();
        if (attempt == Tries ||
            (error != errors::SharingViolation && error != errors::UnableToRemoveReplaced)) {
            return error;
        }
        pause();
    }
}

} // namespace services
