#include "support/Bounded.h"

#include "platform/Owner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <thread>

#include <windows.h>

void CallWithin(unsigned timeoutMs, const std::function<void()>& call)
{
    // The end is told through an event of the system's: under Wine the timed
    // wait of a std::future now and then missed the end of a call that had
    // returned, and waited out the whole bound.
    struct Outcome {
        platform::UniqueHandle done{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        std::exception_ptr error;
    };
    auto outcome = std::make_shared<Outcome>();
    ASSERT_TRUE(outcome->done);
    std::thread([call, outcome] {
        try {
            call();
        } catch (...) {
            outcome->error = std::current_exception();
        }
        ::SetEvent(outcome->done.get());
    }).detach();
    if (::WaitForSingleObject(outcome->done.get(), timeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s: still waiting after %u ms\n",
                     ::testing::UnitTest::GetInstance()->current_test_info()->name(), timeoutMs);
        std::fflush(stderr);
        std::_Exit(3);
    }
    if (outcome->error)
        std::rethrow_exception(outcome->error);
}
