#include <gtest/gtest.h>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateTestSupport.h"
#include "media/ClientPipelinePorts.h"
#include "media/ClientSession.h"
#include "support/TestLog.h"

namespace {

class CountingReceiver final : public IClientVideoReceiver {
public:
    bool Listen(uint16_t) override { return true; }
    bool Receive(ClientVideoFrame&) override { return false; }
    bool HasConnection() override { return false; }
    void Close() override { ++closes; }
    int closes = 0;
};

// Stop runs on another thread than the session's run: the session keeps the run's receiver so that Stop
// closes its listener at once, and a receiver attached after Stop is refused so the run closes it itself.
class ClientSessionListenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        RuntimeSetAppRunning(true);
        client.running.store(1);
        client.generation.store(1);
    }
    RuntimeTestBinding t;
    SessionOwnership ownership;
    ClientSession client{ownership};
    CountingReceiver first, second;
};

TEST_F(ClientSessionListenerTest, StopClosesTheAttachedReceiverOnce) {
    ASSERT_TRUE(client.AttachVideoReceiver(1, &first));
    client.Stop();
    EXPECT_EQ(first.closes, 1);
    client.Stop();
    EXPECT_EQ(first.closes, 1) << "forgotten once closed";
}

TEST_F(ClientSessionListenerTest, AReceiverOfAnOldGenerationIsRefused) {
    client.Stop();
    EXPECT_FALSE(client.AttachVideoReceiver(1, &first));
    client.running.store(1);
    client.generation.store(2);
    EXPECT_FALSE(client.AttachVideoReceiver(1, &first)) << "a stale thread";
    EXPECT_TRUE(client.AttachVideoReceiver(2, &second));
}

TEST_F(ClientSessionListenerTest, AnOldRunDetachingLeavesTheNewReceiverInPlace) {
    ASSERT_TRUE(client.AttachVideoReceiver(1, &first));
    client.generation.store(2);
    ASSERT_TRUE(client.AttachVideoReceiver(2, &second));
    client.DetachVideoReceiver(&first);
    client.Stop();
    EXPECT_EQ(second.closes, 1);
    EXPECT_EQ(first.closes, 0);
}

} // namespace
