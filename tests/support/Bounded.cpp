#include "support/Bounded.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <future>
#include <memory>
#include <thread>

void CallWithin(unsigned timeoutMs, const std::function<void()>& call)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([call, done] {
        try {
            call();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    }).detach();
    if (finished.wait_for(std::chrono::milliseconds(timeoutMs)) == std::future_status::timeout) {
        std::fprintf(stderr, "%s: still waiting after %u ms\n",
                     ::testing::UnitTest::GetInstance()->current_test_info()->name(), timeoutMs);
        std::fflush(stderr);
        std::_Exit(3);
    }
    finished.get();
}
