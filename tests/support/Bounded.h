// Time bounds for tests: for calls that wait on other processes without one of
// their own, and for waits until something another thread or process does shows.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Runs call on a thread of its own and waits for it at most timeoutMs. A call
// that is still running then cannot be stopped: the test program reports it
// and ends at once with exit code 3, so a hang fails the test instead of
// stalling the run.
void CallWithin(unsigned timeoutMs, const std::function<void()>& call);

// The same for a call with a result.
template <typename Call>
auto ResultWithin(unsigned timeoutMs, Call call) -> decltype(call())
{
    decltype(call()) result{};
    CallWithin(timeoutMs, [&] { result = call(); });
    return result;
}

// Asks holds() every pollMs until it answers true; false when it still answers
// false once limitMs have passed (a limit of 0 asks once). Inline, because the
// box driver waits with it in the standalone uidriver.exe too.
inline bool WaitUntil(const std::function<bool()>& holds, unsigned limitMs, unsigned pollMs = 10)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        if (holds())
            return true;
        if (std::chrono::steady_clock::now() >= limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
    }
}
