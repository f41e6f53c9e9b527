// Waiting for something another program holds (the clipboard, mostly):
// tries again until it works or a time budget is spent.
#pragma once

#include <cstdint>
#include <functional>

namespace taskloom {

// Calls `attempt` until it answers true or `budgetMs` milliseconds have
// passed on `now` (a millisecond clock), calling `pause` between tries.
// Answers whether an attempt succeeded. The bound is time, never a count of
// tries: a pause can last far longer than it asks (a 1 ms sleep takes a
// whole timer tick, about 16 ms, on a stock Windows system), and a count
// would then hold the caller many times its budget.
bool RetryFor(unsigned budgetMs, const std::function<bool()>& attempt,
              const std::function<std::uint64_t()>& now, const std::function<void()>& pause);

}  // namespace taskloom
