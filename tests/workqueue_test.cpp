// Work handed between threads: order, the end after a close, and a cancel
// that releases a giver waiting on a full queue.
#include <gtest/gtest.h>

#include <thread>

#include "patch/workqueue.h"

using orb8::WorkQueue;

TEST(WorkQueue, InOrderUpToTheCloseAndACancelReleasesAWaitingGiver) {
    WorkQueue<int> queue(2);
    std::thread giver([&] {
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(queue.Push(i));  // waits while two are waiting
        queue.Close();
    });
    for (int i = 0; i < 5; ++i) EXPECT_EQ(queue.Pop(), i);
    EXPECT_EQ(queue.Pop(), std::nullopt);  // closed, nothing left
    giver.join();
    EXPECT_FALSE(queue.Push(5));  // nothing is taken after the close

    WorkQueue<int> full(1);
    ASSERT_TRUE(full.Push(1));
    bool taken = true;
    std::thread waiting([&] { taken = full.Push(2); });
    full.Cancel();
    waiting.join();
    EXPECT_FALSE(taken);
    EXPECT_TRUE(full.PopAll().empty());  // what waited is dropped
    full.WaitIdle();                      // and nothing holds a waiter
}

TEST(WorkQueue, PopAllTakesWhatPiledUpAndIdleWaitsForDone) {
    WorkQueue<int> queue;
    for (int i = 0; i < 3; ++i) queue.Push(i);
    // A newer word on a waiting item takes its place; nothing piles up.
    for (int i = 0; i < 100; ++i) queue.PushReplacing(10 + i % 2, [](int waiting) { return waiting == 1 || waiting >= 10; });
    EXPECT_EQ(queue.PopAll(), (std::vector<int>{0, 11, 2}));
    std::thread taker([&] { queue.Done(); });
    queue.WaitIdle();  // returns only once the taker is done
    taker.join();
    queue.Close();
    EXPECT_TRUE(queue.PopAll().empty());
}
