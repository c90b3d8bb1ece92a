#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/InputQueues.h"

namespace {

InputPacket Move(int32_t x) {
    return MakeInputPacket(InputPacketType::MouseMove, x, x, 0, 0);
}
InputPacket Key(int32_t vk) {
    return MakeInputPacket(InputPacketType::Key, 0, 0, vk, KeyPacketFlags::kDown);
}
InputPacket Sync(int32_t flags) {
    return MakeInputPacket(InputPacketType::SystemKey, 0, 0,
                           static_cast<int32_t>(SystemKeyCode::KeyboardSync), flags);
}
InputPacket System(SystemKeyCode code) {
    return MakeInputPacket(InputPacketType::SystemKey, 0, 0, static_cast<int32_t>(code), 1);
}

// Compact text of a queue: M<x> for a move, K<vk> for a key, S<code>/<arg> for a system key.
std::string Text(const std::deque<InputPacket>& queue) {
    std::string text;
    for (const InputPacket& p : queue) {
        if (!text.empty())
            text += ' ';
        if (p.Is(InputPacketType::MouseMove))
            text += "M" + std::to_string(p.x);
        else if (p.Is(InputPacketType::Key))
            text += "K" + std::to_string(p.data1);
        else
            text += "S" + std::to_string(p.data1) + "/" + std::to_string(p.data2);
    }
    return text;
}

TEST(InputNormalQueue, SixHundredMovesWhileDisconnectedLeaveTheLastOne) {
    InputQueues q;
    for (int i = 1; i <= 600; ++i)
        q.EnqueueNormal(Move(i));
    EXPECT_EQ(Text(q.Normal()), "M600");
}

TEST(InputNormalQueue, MovesMergeOnlyAtTheTail) {
    InputQueues q;
    q.EnqueueNormal(Move(1));
    q.EnqueueNormal(Move(2));
    q.EnqueueNormal(Key(65));
    q.EnqueueNormal(Move(3));
    q.EnqueueNormal(Move(4));
    EXPECT_EQ(Text(q.Normal()), "M2 K65 M4");
}

struct OverflowCase {
    const char* name;
    int movePosition; // index of the one move among the 512 queued packets, -1 for none
    std::string head; // the first packets after the 513th arrived
    std::string tail;
};

class InputNormalOverflowTest : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(InputNormalOverflowTest, DropsTheOldestMoveElseTheOldestPacket) {
    const OverflowCase& c = GetParam();
    InputQueues q;
    for (int i = 0; i < static_cast<int>(kInputNormalQueueLimit); ++i)
        q.EnqueueNormal(i == c.movePosition ? Move(9000) : Key(i));
    ASSERT_EQ(q.NormalSize(), kInputNormalQueueLimit);
    q.EnqueueNormal(Key(7777));
    ASSERT_EQ(q.NormalSize(), kInputNormalQueueLimit);
    std::string text = Text(q.Normal());
    EXPECT_EQ(text.substr(0, c.head.size()), c.head);
    EXPECT_EQ(text.substr(text.size() - c.tail.size()), c.tail);
    EXPECT_EQ(text.find("M9000"), std::string::npos) << "the move was the one to go";
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputNormalOverflowTest,
    ::testing::Values(OverflowCase{"OnlyKeysDropTheOldestKey", -1, "K1 K2 ", "K510 K511 K7777"},
                      OverflowCase{"AMoveInTheMiddleGoesInstead", 300, "K0 K1 ", "K511 K7777"},
                      OverflowCase{"AMoveAtTheTailGoesInstead", 511, "K0 K1 ", "K510 K7777"}),
    [](const ::testing::TestParamInfo<OverflowCase>& info) { return std::string(info.param.name); });

TEST(InputPriorityQueue, TakesQueuedMovesOutOfTheNormalQueueWithoutCancellingTakenOnes) {
    InputQueues q;
    q.EnqueueNormal(Move(1));
    q.EnqueueNormal(Key(65));
    q.EnqueueNormal(Move(2));
    std::optional<TakenInputPacket> taken = q.TakeNext();
    ASSERT_TRUE(taken);
    q.EnqueuePriority(System(SystemKeyCode::VideoRestart));
    EXPECT_EQ(Text(q.Normal()), "K65");
    EXPECT_FALSE(q.IsStale(*taken)) << "a priority packet does not bump the move-cancel generation";
}

TEST(InputPriorityQueue, TheNewestKeyboardSyncSupersedesQueuedOnes) {
    InputQueues q;
    q.EnqueuePriority(Sync(KeySyncFlags::kCtrl));
    q.EnqueuePriority(System(SystemKeyCode::DragVisual));
    q.EnqueuePriority(Sync(KeySyncFlags::kShift));
    EXPECT_EQ(Text(q.Priority()), "S4/1 S3/4");
}

TEST(InputPriorityQueue, FullDropsTheOldestAndSaysSo) {
    InputQueues q;
    for (int i = 0; i < static_cast<int>(kInputPriorityQueueLimit); ++i)
        EXPECT_FALSE(q.EnqueuePriority(MakeInputPacket(InputPacketType::SystemKey, 0, 0, 2, i)));
    EXPECT_TRUE(q.EnqueuePriority(MakeInputPacket(InputPacketType::SystemKey, 0, 0, 2, 999)));
    ASSERT_EQ(q.PrioritySize(), kInputPriorityQueueLimit);
    EXPECT_EQ(q.Priority().front().data2, 1);
    EXPECT_EQ(q.Priority().back().data2, 999);
}

TEST(InputQueuesTake, PriorityFirstThenNormalInOrder) {
    InputQueues q;
    q.EnqueueNormal(Key(1));
    q.EnqueueNormal(Key(2));
    q.EnqueuePriority(Sync(0));
    std::vector<std::string> order;
    while (std::optional<TakenInputPacket> t = q.TakeNext())
        order.push_back(Text({t->packet}));
    EXPECT_EQ(order, (std::vector<std::string>{"S3/0", "K1", "K2"}));
    EXPECT_TRUE(q.Empty());
}

TEST(InputQueuesPurge, RemovesMovesFromBothQueuesAndMakesTakenMovesStale) {
    InputQueues q;
    q.EnqueueNormal(Move(1));
    std::optional<TakenInputPacket> takenMove = q.TakeNext();
    q.EnqueueNormal(Key(65));
    q.EnqueueNormal(Move(2));
    q.EnqueuePriority(Move(3));
    q.EnqueueNormal(Move(4));
    q.EnqueueNormal(Key(66));
    ASSERT_TRUE(takenMove);
    EXPECT_FALSE(q.IsStale(*takenMove));

    EXPECT_EQ(q.PurgeMoves(), 2u);
    EXPECT_EQ(Text(q.Normal()), "K65 K66");
    EXPECT_EQ(Text(q.Priority()), "");
    EXPECT_TRUE(q.IsStale(*takenMove));
    EXPECT_EQ(q.MoveCancelGen(), 1u);
}

TEST(InputQueuesPurge, AKeyTakenBeforeAPurgeIsNeverStale) {
    InputQueues q;
    q.EnqueueNormal(Key(65));
    std::optional<TakenInputPacket> taken = q.TakeNext();
    q.PurgeMoves();
    ASSERT_TRUE(taken);
    EXPECT_FALSE(q.IsStale(*taken));
}

} // namespace
