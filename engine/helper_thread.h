// One thread beside the caller's for a search that would look at many rows: the caller works
// through half of them while this thread works through the other half. One search at a time
// may have it; another finds it busy and works alone.
#pragma once

#include <functional>

namespace quorvi::engine {

// Runs `theirs` on the helper thread while the caller runs `mine`, and returns once both are
// done; when the helper has not begun `theirs` by the time `mine` is done (a busy machine), it
// is never run. So `mine` and `theirs` take their work from one shared supply, and `mine`
// returns only when the supply is spent. False, with neither run, when the helper is taken by
// another search or cannot be started: the caller then does the work alone.
bool runBesideHelper(const std::function<void()>& mine, const std::function<void()>& theirs);

}  // namespace quorvi::engine
