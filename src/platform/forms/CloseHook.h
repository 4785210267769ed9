#pragma once
// The hook an editing window calls once it has closed and let its file go.

#include <functional>

namespace tb {

// Runs `hook` once: it is cleared before it runs, so whatever it does (another close,
// deleting the window) cannot run it again.
inline void RunCloseHook(std::function<void()>& hook) {
  if (!hook) return;
  const std::function<void()> run = std::move(hook);
  hook = nullptr;
  run();
}

}  // namespace tb
