// Termination signals reach the event loop as a Qt signal instead of ending the process.
#include "Platform/ui/TerminationSignalNotifier.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(TerminationSignalNotifierTest, EachSignalArrivesInTheEventLoopWithItsNumber) {
    TerminationSignalNotifier notifier;
    ASSERT_TRUE(notifier.isActive());
    // Only one catches them: a second object would steal the first one's pipe.
    TerminationSignalNotifier second;
    EXPECT_FALSE(second.isActive());

    QList<int> received;
    QObject::connect(&notifier, &TerminationSignalNotifier::terminationRequested,
                     [&](int number) { received << number; });
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ASSERT_EQ(::raise(number), 0);
    // Nothing is delivered inside the handler: only the event loop hands them on.
    EXPECT_TRUE(received.isEmpty());
    ASSERT_TRUE(TestSupport::waitFor([&] { return received.size() == 3; }));
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGHUP}));
}

TEST(TerminationSignalNotifierTest, GoneItLeavesThePreviousHandlingInPlace) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction before {};
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
    {
        TerminationSignalNotifier notifier;
        ASSERT_TRUE(notifier.isActive());
        struct sigaction during {};
        ::sigaction(SIGHUP, nullptr, &during);
        EXPECT_NE(during.sa_handler, SIG_IGN);
    }
    struct sigaction after {};
    ::sigaction(SIGHUP, &before, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
    // And a later object catches again.
    TerminationSignalNotifier again;
    EXPECT_TRUE(again.isActive());
}

TEST(TerminationSignalNotifierTest, IgnoredFromNowOnTheSignalsEndNothingAfterTheNotifierGoes) {
    struct sigaction before[3]{};
    const int numbers[3] = {SIGTERM, SIGINT, SIGHUP};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(::sigaction(numbers[i], nullptr, &before[i]), 0);
    {
        TerminationSignalNotifier notifier;
        ASSERT_TRUE(notifier.isActive());
        int received = 0;
        QObject::connect(&notifier, &TerminationSignalNotifier::terminationRequested,
                         [&] { ++received; });
        TerminationSignalNotifier::ignoreFromNowOn();
        ASSERT_EQ(::raise(SIGTERM), 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(received, 0);
    }
    for (int i = 0; i < 3; ++i) {
        struct sigaction after {};
        ::sigaction(numbers[i], nullptr, &after);
        EXPECT_EQ(after.sa_handler, SIG_IGN) << numbers[i];
        // Raised with the notifier gone, it would end this process under the default action.
        ASSERT_EQ(::raise(numbers[i]), 0);
        ::sigaction(numbers[i], &before[i], nullptr);
    }
}

} // namespace
