#include "engine/retry.h"

namespace taskloom {

bool RetryFor(unsigned budgetMs, const std::function<bool()>& attempt,
              const std::function<std::uint64_t()>& now, const std::function<void()>& pause) {
    const std::uint64_t start = now();
    for (;;) {
        if (attempt()) return true;
        if (now() - start >= budgetMs) return false;
        pause();
    }
}

}  // namespace taskloom
