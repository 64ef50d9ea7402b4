// A seeded fuzz of heliora-cli's command lines: a few thousand argument lists built from the real commands and
// options, good values, edge values and garbage. Whatever the list, the program ends with 0, 1 or 2; an error is
// exactly one line on stderr and nothing on stdout; a success prints nothing on stderr. Most lists run in this
// process through the program's own entry point; some run through the real program too, which must agree.
// Set HELIORA_FUZZ_TRACE=1 to print each list before it runs, to find the one that crashes.

#include "inprocess.h"
#include "support/runcli.h"

#include "cli/usage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

#include <sys/stat.h>

namespace heliora::cli {
namespace {

    constexpr int listCount = 3000;
    constexpr int processEvery = 100; // every 100th list also runs through the real program
    constexpr std::mt19937::result_type seed = 20240131;

    class ListMaker {
    public:
        explicit ListMaker(const QString& dir)
            : m_dir(dir.toUtf8())
        {
        }

        QList<QByteArray> next()
        {
            QList<QByteArray> list;
            const int shape = pick(20);
            if (shape == 0)
                return list; // no command at all
            if (shape == 1)
                list.append(garbage());
            else if (shape == 2)
                list.append(pickOf<QByteArray>({ "help", "--help", "-h", "--version" }));
            else {
                // Each command as often as any other, then one of its forms, with what it requires most of the time.
                const QStringList names = commandNames();
                const QString group = names[pick(static_cast<int>(names.size()))];
                std::vector<const CommandUsage*> groupForms;
                for (const CommandUsage& form : commandUsages()) {
                    if (form.group() == group)
                        groupForms.push_back(&form);
                }
                m_form = groupForms[static_cast<std::size_t>(pick(static_cast<int>(groupForms.size())))];
                for (const QString& word : m_form->name.split(QLatin1Char(' ')))
                    list.append(word.toUtf8());
                if (pick(4) != 0) {
                    for (const PositionalUsage& positional : m_form->positionals)
                        list.append(positional.name == QLatin1String("BODY") ? body() : link());
                    if (m_form->name == QLatin1String("render"))
                        list.append({ "-o", m_dir + pickOf<QByteArray>({ "/o.png", "/o.svg" }) });
                }
            }
            const int extra = pick(5);
            for (int i = 0; i < extra; ++i)
                appendArgument(list);
            m_form = nullptr;
            return list;
        }

    private:
        int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

        template <typename T> T pickOf(std::initializer_list<T> values)
        {
            return *(values.begin() + pick(static_cast<int>(values.size())));
        }

        QByteArray garbage()
        {
            static const QList<QByteArray> fixed { {}, "-", "--", "=", "sun\n\x1b[2J", "\xff\xfe\xc0\x80", "%s%n%x",
                "\xe2\x80\xaetxt", "---date", "-x=1", "\xf0\x9f\x8c\x8d", "'\"\\" };
            switch (pick(3)) {
            case 0:
                return QByteArray(pick(2000) + 1, 'a');
            case 1:
                return QByteArray::number(std::uniform_int_distribution<int>(-1000, 1000)(m_random));
            default:
                return fixed[pick(static_cast<int>(fixed.size()))];
            }
        }

        QByteArray body() { return pickOf<QByteArray>({ "sun", "MARS", "Pluto", "earth", "vulcan", "", "sun\n" }); }

        QByteArray link()
        {
            return pickOf<QByteArray>(
                { "heliora://?date=20240131", "heliora://?date=20241341", "heliora://?date=00000101",
                    "heliora://?date=20111230", "HELIORA://?date=20240131", "heliora://?date=2024013", "" });
        }

        QByteArray number()
        {
            return pickOf<QByteArray>({ "0", "-0", "1", "-5", "0.5", "2", "4", "4.0001", "8", "40", "1e-300", "5e-324",
                "1e308", "1e309", "nan", "inf", "-inf", "0x10", " 3 ", "1,5", "", "x" });
        }

        QByteArray date()
        {
            return pickOf<QByteArray>({ "2024-01-31", "2024-01-31T10:00", "2024-01-31T10:00:00Z",
                "2024-01-31T10:00:00+09:00", "@0", "@-1e15", "@1e300", "@nan", "@", "0001-01-01", "9999-12-31",
                "-0500-03-15", "2024-02-30", "2024-13-01", "2018-11-04", "tomorrow", "", "2024-01-31T25:00",
                "2024-01-31T10:00:00+99:00", "@4611686018427387904" });
        }

        QByteArray value(const OptionUsage& option)
        {
            if (pick(6) == 0)
                return garbage();
            if (option.name == QLatin1String("date") || option.name == QLatin1String("now"))
                return date();
            if (option.name == QLatin1String("time-zone"))
                return pickOf<QByteArray>({ "UTC", "Europe/Berlin", "Asia/Tokyo", "Pacific/Apia", "America/Sao_Paulo",
                    "Mars/Olympus", "", "../../etc/passwd", "Etc/GMT+14", "EST5EDT" });
            if (option.name == QLatin1String("locale"))
                return pickOf<QByteArray>({ "en_US", "de_DE", "ar_SA", "th_TH", "en_US_POSIX", "xx_YY", "", "C",
                    "de_DE.UTF-8@euro", "ja_JP@calendar=japanese" });
            if (option.name == QLatin1String("background"))
                return pickOf<QByteArray>({ "black", "none", "red", "" });
            if (option.name == QLatin1String("diameter"))
                return pickOf<QByteArray>({ "8", "40", "100", "1e-9", "0", "-1", "4097", "nan" });
            if (option.name == QLatin1String("output"))
                return m_dir
                    + pickOf<QByteArray>({ "/o.png", "/o.svg", "/O.PNG", "/fifo.png", "/folder.png", "/full.svg",
                        "/missing/o.png", "/o.jpg", "/", "/.png", "/link-to-self.png" });
            return number();
        }

        void appendArgument(QList<QByteArray>& list)
        {
            const int kind = pick(10);
            const std::vector<OptionUsage>* options = m_form && !m_form->options.empty() ? &m_form->options : nullptr;
            if (kind < 6 && options) {
                const OptionUsage& option
                    = (*options)[static_cast<std::size_t>(pick(static_cast<int>(options->size())))];
                const QByteArray flag
                    = (option.shortName.isEmpty() || pick(2) ? "--" + option.name : "-" + option.shortName).toUtf8();
                if (option.value.isEmpty()) {
                    list.append(pick(8) == 0 ? flag + "=1" : flag);
                } else if (pick(4) == 0 && flag.startsWith("--")) {
                    list.append(flag + "=" + value(option));
                } else {
                    list.append(flag);
                    if (pick(12) != 0) // now and then the value is missing
                        list.append(value(option));
                }
            } else if (kind < 8) {
                list.append(pick(2) ? (pick(2) ? body() : link())
                                    : pickOf<QByteArray>({ "show_pluto", "true", "false", "get", "set", "path", "build",
                                        "parse", "render", "--help" }));
            } else {
                list.append(garbage());
            }
        }

        std::mt19937 m_random { seed };
        QByteArray m_dir;
        const CommandUsage* m_form = nullptr;
    };

    QString describe(const QList<QByteArray>& list)
    {
        QStringList words;
        for (const QByteArray& word : list)
            words.append(QString::fromUtf8(word.left(40).toPercentEncoding(" /:=@+-_.")));
        return words.join(QLatin1Char(' '));
    }

    // What every run must satisfy, in the test's process or as a program.
    void expectWellBehaved(const QList<QByteArray>& list, int status, const QByteArray& out, const QByteArray& err)
    {
        ASSERT_TRUE(status == 0 || status == 1 || status == 2) << status << ": " << qPrintable(describe(list));
        if (status == 0) {
            EXPECT_TRUE(err.isEmpty()) << qPrintable(describe(list)) << "\n" << err.constData();
            return;
        }
        EXPECT_TRUE(out.isEmpty()) << qPrintable(describe(list));
        EXPECT_TRUE(err.startsWith("heliora-cli: ") && err.endsWith('\n') && err.count('\n') == 1) << qPrintable(
            describe(list)) << "\n" << err.constData();
    }

    TEST(Fuzz, EveryCommandLineEndsWithOneOfThreeStatusesAndOneErrorLine)
    {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("fifo.png")).constData(), 0600), 0);
        ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
        ASSERT_TRUE(QFile::link("/dev/full", dir.filePath("full.svg")));
        ASSERT_TRUE(QFile::link(dir.filePath("link-to-self.png"), dir.filePath("link-to-self.png")));
        const bool trace = qEnvironmentVariableIsSet("HELIORA_FUZZ_TRACE");

        ListMaker maker(dir.path());
        std::array<int, 3> statuses {};
        for (int i = 0; i < listCount; ++i) {
            const QList<QByteArray> list = maker.next();
            if (trace)
                std::fprintf(stderr, "%d: %s\n", i, qPrintable(describe(list)));
            const auto result = test::runInProcess(list);
            expectWellBehaved(list, result.status, result.out, result.err);
            if (result.status >= 0 && result.status <= 2)
                ++statuses[static_cast<std::size_t>(result.status)];
            // QProcess hands arguments over as UTF-8: only lists that are UTF-8 text reach the program unchanged.
            const bool text = std::all_of(list.begin(), list.end(),
                [](const QByteArray& word) { return QString::fromUtf8(word).toUtf8() == word; });
            if (i % processEvery == 0 && text) {
                QStringList arguments;
                for (const QByteArray& word : list)
                    arguments.append(QString::fromUtf8(word));
                const auto program = test::runCli(arguments);
                expectWellBehaved(list, program.exitCode, program.out, program.err);
                EXPECT_EQ(program.exitCode, result.status) << qPrintable(describe(list));
                EXPECT_EQ(program.err, result.err) << qPrintable(describe(list));
            }
            if (HasFailure())
                return;
        }
        // The lists reach every outcome, not only the errors.
        for (std::size_t status = 0; status < statuses.size(); ++status)
            EXPECT_GE(statuses[status], listCount / 100) << "status " << status;
        std::printf("statuses 0/1/2: %d/%d/%d\n", statuses[0], statuses[1], statuses[2]);
    }

} // namespace
} // namespace heliora::cli
