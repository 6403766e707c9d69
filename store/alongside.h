#pragma once
// Two pieces of work at once, on the two cores of the machine.

#include <functional>

// Runs `here` on this thread and `there` on a second one at the same time,
// and returns when both are done; when no thread can be started, runs both
// here, one after the other. An exception of either comes out once both
// have ended.
void alongside(const std::function<void()>& here, const std::function<void()>& there);
