// Work on a connection sent behind the run: what a piece uses is handed
// over only once the piece before it is done, and a failure stays.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/odbc/send_behind.h"

namespace velmora::test {
namespace {

TEST(SendBehindTest, HandsOverOnlyAfterThePieceUnderWayAndKeepsTheFirstFailure) {
    SendBehind behind;
    std::atomic<bool> asked{false}, handedOver{false}, handedOverEarly{false};
    // The first piece goes on until the second is asked for, and a while
    // longer: a hand-over that does not wait is seen within it.
    ASSERT_TRUE(behind
                    .start([] {},
                           [&] {
                               while (!asked) std::this_thread::yield();
                               std::this_thread::sleep_for(std::chrono::milliseconds(50));
                               handedOverEarly = handedOver.load();
                               return Status();
                           })
                    .ok());
    asked = true;
    ASSERT_TRUE(behind.start([&] { handedOver = true; }, [] { return Status(fail("refused")); }).ok());
    EXPECT_FALSE(handedOverEarly);

    struct Case {
        const char* what;
        bool viaSettle;
    };
    for (const Case& c : {Case{"settled", true}, Case{"started", false}}) {
        bool ran = false;
        const auto job = [&ran] {
            ran = true;
            return Status();
        };
        const Status after = c.viaSettle ? behind.settle() : behind.start([&ran] { ran = true; }, job);
        ASSERT_FALSE(after.ok()) << c.what;
        EXPECT_EQ(after.failure(), "refused") << c.what;
        EXPECT_FALSE(ran) << c.what;
    }
}

}  // namespace
}  // namespace velmora::test
