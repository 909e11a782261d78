#include "platform/retry.h"

#include <algorithm>
#include <thread>

namespace lodemark::platform {
namespace {

class ThreadWaiting : public Waiting {
 public:
  std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
  void pause(std::chrono::steady_clock::duration length) override { std::this_thread::sleep_for(length); }
};

}  // namespace

bool retry_until(const std::function<bool()>& attempt, std::chrono::milliseconds timeout, Pauses pauses,
                 Waiting& waiting) {
  const auto deadline = waiting.now() + timeout;
  auto pause = pauses.first;
  for (;;) {
    if (attempt()) return true;
    const auto now = waiting.now();
    if (now >= deadline) return false;
    waiting.pause(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, pauses.longest);
  }
}

bool retry_until(const std::function<bool()>& attempt, std::chrono::milliseconds timeout, Pauses pauses) {
  ThreadWaiting waiting;
  return retry_until(attempt, timeout, pauses, waiting);
}

}  // namespace lodemark::platform
