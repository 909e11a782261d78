#pragma once
// A step undone at the end of a scope unless what it began was finished: a
// work file removed unless it took its target's place.
#include <utility>

namespace lodemark::platform {

template <class Undo>
class UndoGuard {
 public:
  explicit UndoGuard(Undo undo) : undo_(std::move(undo)) {}
  ~UndoGuard() {
    if (!done_) undo_();
  }
  UndoGuard(const UndoGuard&) = delete;
  UndoGuard& operator=(const UndoGuard&) = delete;
  void done() { done_ = true; }

 private:
  Undo undo_;
  bool done_ = false;
};

}  // namespace lodemark::platform
