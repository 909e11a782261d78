#pragma once
// Waiting for what another process holds for a moment: a lock, a file that
// an editor or a virus scanner has open.
#include <chrono>
#include <functional>

namespace lodemark::platform {

// The pauses between attempts: the first, doubled after each attempt up to
// the longest. Short pauses first: a holder usually lets go within
// milliseconds.
struct Pauses {
  std::chrono::milliseconds first;
  std::chrono::milliseconds longest;
};

// The clock that retry_until reads and the way it pauses; tests give their own.
class Waiting {
 public:
  virtual ~Waiting() = default;
  virtual std::chrono::steady_clock::time_point now() = 0;
  virtual void pause(std::chrono::steady_clock::duration length) = 0;
};

// Calls `attempt` until it answers true or `timeout` has passed since the
// first call, which always happens; a pause never reaches past the timeout.
// False when the time ran out. Whatever `attempt` throws goes through.
bool retry_until(const std::function<bool()>& attempt, std::chrono::milliseconds timeout, Pauses pauses,
                 Waiting& waiting);
// The same on the steady clock, pausing this thread.
bool retry_until(const std::function<bool()>& attempt, std::chrono::milliseconds timeout, Pauses pauses);

}  // namespace lodemark::platform
