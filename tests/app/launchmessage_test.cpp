#include "app/launchmessage.h"

#include "support/rows.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    using test::PrintTo;
    using State = LaunchMessageState;

    const QByteArray header("heliora-launch/1\0", 17);

    QByteArray bytes(const char* text, qsizetype size) { return QByteArray(text, size); }

    class RoundTrip : public ::testing::TestWithParam<LaunchRequest> { };

    TEST_P(RoundTrip, DecodesToWhatWasEncodedAndEveryShorterPrefixIsIncomplete)
    {
        const QByteArray message = encodeLaunchMessage(GetParam());
        ASSERT_FALSE(message.isEmpty());
        const DecodedLaunch decoded = decodeLaunchMessage(message);
        EXPECT_EQ(decoded.state, State::complete);
        EXPECT_EQ(decoded.request, GetParam());
        // A message that arrives in pieces is never taken, nor refused, before its last byte.
        for (qsizetype size = 0; size < message.size(); ++size) {
            const DecodedLaunch part = decodeLaunchMessage(message.first(size));
            EXPECT_EQ(part.state, State::incomplete) << "prefix of " << size << " bytes";
            EXPECT_EQ(part.request, LaunchRequest {}) << "prefix of " << size << " bytes";
        }
    }

    INSTANTIATE_TEST_SUITE_P(Requests, RoundTrip,
        ::testing::Values(LaunchRequest {}, LaunchRequest { { QStringLiteral("heliora://?date=19910109") }, {} },
            LaunchRequest { { QStringLiteral("--"), QStringLiteral("heliora://?date=20240131") },
                "myhost-1234-5678-launcher-2_TIME98765" },
            // Empty arguments, line ends and text of any script travel as they are.
            LaunchRequest { { QString(), QStringLiteral("a\nb\r\x1b"), QStringLiteral("Überall 🌍 ☉"), QString() }, {} },
            LaunchRequest {
                { QStringLiteral("--detail"), QStringLiteral("mars"), QStringLiteral("--date=2024-01-31") }, "t" }));

    struct BadCase {
        const char* name;
        QByteArray bytes;
        State state;
    };

    class HostileBytes : public ::testing::TestWithParam<BadCase> { };

    TEST_P(HostileBytes, GivesNothing)
    {
        const DecodedLaunch decoded = decodeLaunchMessage(GetParam().bytes);
        EXPECT_EQ(decoded.state, GetParam().state);
        EXPECT_EQ(decoded.request, LaunchRequest {});
    }

    INSTANTIATE_TEST_SUITE_P(Table, HostileBytes,
        ::testing::Values(BadCase { "Garbage", "GET / HTTP/1.1\r\n\r\n", State::malformed },
            BadCase { "OneWrongByte", "x", State::malformed },
            BadCase { "OtherVersion", bytes("heliora-launch/2\0\0", 18), State::malformed },
            BadCase { "HeaderWithoutItsEnd", "heliora-launch/1", State::incomplete },
            BadCase { "HeaderOnly", header, State::incomplete },
            BadCase { "UnknownField", header + bytes("x--screenshot\0\0", 15), State::malformed },
            BadCase { "UnknownFieldStillArriving", header + "x", State::malformed },
            BadCase { "ArgumentStillArriving", header + "aheliora://", State::incomplete },
            BadCase { "FieldsWithoutTheEnd", header + bytes("aone\0atwo\0", 10), State::incomplete },
            BadCase { "BytesAfterTheEnd", header + bytes("aone\0\0x", 7), State::malformed },
            BadCase { "TwoMessages", header + bytes("aone\0\0", 6) + header + bytes("\0", 1), State::malformed },
            BadCase { "NotUtf8", header + bytes("a\xff\xfe\0\0", 5), State::malformed },
            BadCase { "OverlongUtf8", header + bytes("a\xc0\xaf\0\0", 5), State::malformed },
            BadCase { "LoneSurrogate", header + bytes("a\xed\xa0\x80\0\0", 6), State::malformed },
            BadCase { "EmptyToken", header + bytes("t\0\0", 3), State::malformed },
            BadCase { "TokenWithASpace", header + bytes("tab c\0\0", 7), State::malformed },
            BadCase { "TokenWithALineEnd", header + bytes("tab\n\0\0", 6), State::malformed },
            BadCase { "TwoTokens", header + bytes("ta\0tb\0\0", 7), State::malformed },
            BadCase { "TokenTooLong", header + "t" + QByteArray(maxStartupTokenBytes + 1, 'k') + bytes("\0\0", 2),
                State::malformed },
            BadCase { "OneByteTooLong",
                header + "a" + QByteArray(maxLaunchMessageBytes - header.size() - 2, 'x') + bytes("\0\0", 2),
                State::malformed },
            BadCase { "HugeAndUnended", header + "a" + QByteArray(1 << 20, 'x'), State::malformed }),
        test::rowName);

    TEST(LaunchMessage, TheLongestMessageIsTakenAndOneMoreByteIsNot)
    {
        const qsizetype room = maxLaunchMessageBytes - header.size() - 3; // field tag, field end, message end
        const LaunchRequest longest { { QString(room, QLatin1Char('x')) }, {} };
        const QByteArray message = encodeLaunchMessage(longest);
        EXPECT_EQ(message.size(), maxLaunchMessageBytes);
        EXPECT_EQ(decodeLaunchMessage(message).request, longest);
        EXPECT_TRUE(encodeLaunchMessage({ { QString(room + 1, QLatin1Char('x')) }, {} }).isEmpty());
    }

    TEST(LaunchMessage, RefusesToEncodeWhatItCouldNotCarry)
    {
        // U+0000 would end the argument early: the running Heliora would read another command line.
        EXPECT_TRUE(
            encodeLaunchMessage({ { QStringLiteral("--screenshot") + QChar(0) + QStringLiteral("x") }, {} }).isEmpty());
        EXPECT_TRUE(encodeLaunchMessage({ {}, "token with spaces" }).isEmpty());
        EXPECT_TRUE(encodeLaunchMessage({ {}, QByteArray(maxStartupTokenBytes + 1, 'k') }).isEmpty());
        QStringList many;
        for (int i = 0; i < 2000; ++i)
            many.append(QStringLiteral("heliora://?date=19910109"));
        EXPECT_TRUE(encodeLaunchMessage({ many, {} }).isEmpty());
    }

} // namespace
} // namespace heliora
