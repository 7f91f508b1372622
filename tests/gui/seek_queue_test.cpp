#include "app/player/seek_queue.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SeekQueueTest, OneSeekEndsAtTheRestartAfterItsReplyAndStart) {
    SeekQueue queue;
    const auto command = queue.request(37);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->target, 37);
    EXPECT_TRUE(queue.busy());
    EXPECT_EQ(queue.latestTarget(), 37);

    // A restart left over from loading, before the reply and before the seek started.
    EXPECT_FALSE(queue.restarted().finished);
    EXPECT_FALSE(queue.replied(command->id, true).finished);
    // Reply in, but the seek has not started: still a stale restart.
    EXPECT_FALSE(queue.restarted().finished);
    queue.seekStarted();
    const SeekQueue::Step step = queue.restarted();
    EXPECT_EQ(step.finished, 37);
    EXPECT_FALSE(step.next);
    EXPECT_FALSE(queue.busy());
    EXPECT_FALSE(queue.latestTarget());
}

TEST(SeekQueueTest, TheNewestWaitingTargetWinsAndGoesOutWhenTheFirstEnds) {
    SeekQueue queue;
    const auto first = queue.request(10);
    ASSERT_TRUE(first);
    EXPECT_FALSE(queue.request(20));
    EXPECT_FALSE(queue.request(30));
    EXPECT_EQ(queue.latestTarget(), 30);

    queue.replied(first->id, true);
    queue.seekStarted();
    const SeekQueue::Step step = queue.restarted();
    EXPECT_EQ(step.finished, 10);
    ASSERT_TRUE(step.next);
    EXPECT_EQ(step.next->target, 30);
    EXPECT_NE(step.next->id, first->id);

    // The restart of the first seek arriving twice must not end the second one.
    EXPECT_FALSE(queue.restarted().finished);
    // Nor does a reply to the old command.
    EXPECT_FALSE(queue.replied(first->id, true).finished);
    queue.seekStarted();  // before the reply of the new command: not counted
    EXPECT_FALSE(queue.restarted().finished);
    queue.replied(step.next->id, true);
    queue.seekStarted();
    EXPECT_EQ(queue.restarted().finished, 30);
    EXPECT_FALSE(queue.busy());
}

TEST(SeekQueueTest, ARefusedOrAbandonedSeekMovesOnToTheWaitingOne) {
    SeekQueue queue;
    const auto first = queue.request(5);
    queue.request(8);
    const SeekQueue::Step refused = queue.replied(first->id, false);
    EXPECT_EQ(refused.finished, 5);
    ASSERT_TRUE(refused.next);
    EXPECT_EQ(refused.next->target, 8);

    const SeekQueue::Step abandoned = queue.abandon();
    EXPECT_EQ(abandoned.finished, 8);
    EXPECT_FALSE(abandoned.next);
    EXPECT_FALSE(queue.abandon().finished);

    queue.request(1);
    queue.request(2);
    queue.clear();
    EXPECT_FALSE(queue.busy());
    EXPECT_TRUE(queue.request(3));
}

}  // namespace
}  // namespace corvane
