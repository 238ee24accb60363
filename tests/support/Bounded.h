// A time bound for calls that wait on other processes without one of their own.
#pragma once

#include <functional>

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
