#include "app/quitsignals.h"

#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

namespace heliora {
namespace {

    using Handler = void (*)(int);

    Handler disposition(int signal)
    {
        struct sigaction current { };
        ::sigaction(signal, nullptr, &current);
        return current.sa_handler;
    }

    // Each case starts with the three signals as a parent may leave them, and restores them afterwards.
    class TerminationSignals : public ::testing::Test {
    protected:
        ~TerminationSignals() override
        {
            context.reset();
            for (const int signal : { SIGINT, SIGHUP, SIGTERM })
                ::signal(signal, SIG_DFL);
        }

        bool listen()
        {
            return handleTerminationSignals(context.get(), [this](int signal) { received.push_back(signal); });
        }

        std::unique_ptr<QObject> context = std::make_unique<QObject>();
        std::vector<int> received;
    };

    TEST_F(TerminationSignals, ReachTheEventLoopWithTheirNumber)
    {
        ASSERT_TRUE(listen());
        ::raise(SIGHUP); // ends the test program if it is not handled
        EXPECT_EQ(receivedTerminationSignal(), SIGHUP);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !received.empty(); }));
        EXPECT_EQ(received, std::vector<int> { SIGHUP });
        ::raise(SIGTERM);
        ASSERT_TRUE(QTest::qWaitFor([this] { return received.size() == 2; }));
        EXPECT_EQ(received.back(), SIGTERM);
        EXPECT_EQ(receivedTerminationSignal(), SIGHUP); // the first one counts
    }

    // nohup and a script's background jobs ignore SIGHUP and SIGINT for the programs they start.
    TEST_F(TerminationSignals, IgnoredByTheParentStayIgnored)
    {
        ::signal(SIGINT, SIG_IGN);
        ::signal(SIGHUP, SIG_IGN);
        ASSERT_TRUE(listen());
        EXPECT_EQ(disposition(SIGINT), SIG_IGN);
        EXPECT_EQ(disposition(SIGHUP), SIG_IGN);
        EXPECT_NE(disposition(SIGTERM), SIG_IGN);
        EXPECT_NE(disposition(SIGTERM), SIG_DFL);
        ::raise(SIGINT);
        EXPECT_EQ(receivedTerminationSignal(), 0);
    }

    TEST_F(TerminationSignals, BlockedByTheParentAreUnblocked)
    {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGTERM);
        ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &set, nullptr), 0);
        ::raise(SIGTERM); // pending until the handler is there
        ASSERT_TRUE(listen());
        EXPECT_EQ(receivedTerminationSignal(), SIGTERM);
        sigset_t blocked;
        ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
        EXPECT_FALSE(sigismember(&blocked, SIGTERM));
    }

    TEST_F(TerminationSignals, EndTheProcessAgainOnceTheContextIsGone)
    {
        ASSERT_TRUE(listen());
        ::raise(SIGHUP);
        context.reset();
        for (const int signal : { SIGINT, SIGHUP, SIGTERM })
            EXPECT_EQ(disposition(signal), SIG_DFL) << signal;
        EXPECT_EQ(receivedTerminationSignal(), 0);
        // A new listener hears nothing of what came before it.
        context = std::make_unique<QObject>();
        ASSERT_TRUE(listen());
        QCoreApplication::processEvents();
        EXPECT_TRUE(received.empty());
    }

} // namespace
} // namespace heliora
