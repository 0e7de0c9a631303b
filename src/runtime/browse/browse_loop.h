#pragma once
// The key loop of the operations that browse: make the browser stable, show what the
// operation shows beside the highlighted record, wait for a key (without limit) and let
// the operation act on it first; what it leaves to the browser gets the shared meaning
// (Esc leaves; arrows and pages move; Ctrl+PgUp / Ctrl+PgDn first and last record; 254
// refreshes), anything else is ignored.
#include <functional>

#include "runtime/browse/browser.h"

namespace rt {

enum class BrowseKey {
    kShared,   // not the operation's key: the shared meaning applies
    kHandled,  // the operation acted on it (and called refresh_all() when it changed rows)
    kLeave,    // the operation is done
};

// Returns the key that ended the loop (Esc, or the key for which on_key said kLeave).
int browse_keys(Browser& browser, const std::function<BrowseKey(int key)>& on_key = {},
                const std::function<void()>& after_stable = {});

// One key as the loop treats it; true when it ends the loop.
bool browse_one_key(Browser& browser, int key, const std::function<BrowseKey(int key)>& on_key);

}  // namespace rt
