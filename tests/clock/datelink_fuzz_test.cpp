#include "datetexts.h"

#include "environment.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <array>
#include <random>

namespace heliora {
namespace {

    // Random and mutated links fed to the parser (run it under the asan preset): nothing may crash, and every
    // accepted link must be the link of the date it opens, so that no link opens a different day than its own.
    class LinkFuzzer {
    public:
        explicit LinkFuzzer(std::uint64_t seed)
            : m_random(seed)
        {
        }

        QString next()
        {
            switch (pick(4)) {
            case 0:
                return randomText(pick(40));
            case 1:
                return m_prefix + (pick(3) == 0 ? randomDigits(pick(12)) : dateLikeDigits());
            default: {
                QString link = m_prefix + dateLikeDigits();
                const int mutations = 1 + pick(3);
                for (int i = 0; i < mutations; ++i)
                    mutate(link);
                return link;
            }
            }
        }

    private:
        int pick(int count) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(count)); }

        QChar randomCharacter()
        {
            static const std::array<char16_t, 20> interesting { u'=', u'0', u'9', u'1', u'3', u'a', u'Z', u' ', u'+',
                u'-', u'?', u'/', u':', u'\0', 0x0301, 0xFF11, 0x0661, 0xD83D, 0xDE00, 0xFFFF };
            if (pick(2) == 0)
                return QChar(interesting[static_cast<std::size_t>(pick(static_cast<int>(interesting.size())))]);
            return QChar(static_cast<char16_t>(pick(0x10000)));
        }

        QString randomText(int length)
        {
            QString text = pick(2) == 0 ? m_prefix : QString();
            for (int i = 0; i < length; ++i)
                text += randomCharacter();
            return text;
        }

        QString randomDigits(int length)
        {
            QString digits;
            for (int i = 0; i < length; ++i)
                digits += QChar(u'0' + pick(10));
            return digits;
        }

        // Eight digits that are mostly a real date: any year, months 0 to 13, days 0 to 32.
        QString dateLikeDigits()
        {
            if (pick(4) == 0)
                return randomDigits(8);
            return QStringLiteral("%1%2%3")
                .arg(pick(10'000), 4, 10, QLatin1Char('0'))
                .arg(pick(14), 2, 10, QLatin1Char('0'))
                .arg(pick(33), 2, 10, QLatin1Char('0'));
        }

        void mutate(QString& link)
        {
            const int at = pick(static_cast<int>(link.size()) + 1);
            switch (pick(5)) {
            case 0:
                link.insert(at, randomCharacter());
                break;
            case 1:
                if (at < link.size())
                    link.remove(at, 1);
                break;
            case 2:
                if (at < link.size())
                    link[at] = randomCharacter();
                break;
            case 3:
                link += QLatin1Char('=');
                break;
            default:
                if (at < link.size())
                    link[at] = link[at].isUpper() ? link[at].toLower() : link[at].toUpper();
                break;
            }
        }

        std::mt19937_64 m_random;
        const QString m_prefix = QStringLiteral("heliora://?date=");
    };

    TEST(DateLinkFuzz, AcceptedLinksRebuildToThemselves)
    {
        const std::array zones { timeZoneFromId("UTC"), timeZoneFromId("America/Sao_Paulo"),
            timeZoneFromId("Pacific/Apia"), timeZoneFromId("Asia/Kathmandu") };
        LinkFuzzer fuzzer(0x5eed);
        int accepted = 0;
        for (int i = 0; i < 60'000; ++i) {
            const QString link = fuzzer.next();
            const icu::TimeZone& tz = *zones[static_cast<std::size_t>(i) % zones.size()];
            const auto date = parseDateLink(link, tz);
            if (!date)
                continue;
            ++accepted;
            const QString digits = link.split(QLatin1Char('='), Qt::SkipEmptyParts).constLast();
            ASSERT_EQ(buildDateLink(*date, tz), QStringLiteral("heliora://?date=") + digits) << link.toStdString();
            ASSERT_EQ(parseDateLink(buildDateLink(*date, tz), tz), date) << link.toStdString();
        }
        // The fuzzer must reach the accepting path often enough for the check above to mean something.
        EXPECT_GT(accepted, 2'000);
    }

} // namespace
} // namespace heliora
