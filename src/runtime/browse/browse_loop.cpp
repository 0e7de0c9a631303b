#include "runtime/browse/browse_loop.h"

#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"

namespace rt {

bool browse_one_key(Browser& browser, int key, const std::function<BrowseKey(int key)>& on_key) {
    BrowseKey what = on_key ? on_key(key) : BrowseKey::kShared;
    if (what == BrowseKey::kLeave) return true;
    if (what == BrowseKey::kHandled) return false;
    if (key == key::kEsc) return true;
    browser.apply_key(key);
    return false;
}

int browse_keys(Browser& browser, const std::function<BrowseKey(int key)>& on_key,
                const std::function<void()>& after_stable) {
    while (true) {
        browser.force_stable();
        if (after_stable) after_stable();
        const int key = con().inkey(0);
        if (browse_one_key(browser, key, on_key)) return key;
    }
}

}  // namespace rt
