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
#include <QHash>
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

    using Words = QList<QByteArray>;

    // Garbage, bodies, links and the values that each option takes: good ones, edge ones and wrong ones.
    const Words garbageWords { {}, "-", "--", "=", "sun\n\x1b[2J", "\xff\xfe\xc0\x80", "%s%n%x", "\xe2\x80\xaetxt",
        "---date", "-x=1", "\xf0\x9f\x8c\x8d", "'\"\\", QByteArray(2000, 'a'), "-1000", "7" };
    const Words bodies { "sun", "MARS", "Pluto", "earth", "vulcan", "", "sun\n" };
    const Words links { "heliora://?date=20240131", "heliora://?date=20241341", "heliora://?date=00000101",
        "heliora://?date=20111230", "HELIORA://?date=20240131", "heliora://?date=2024013", "" };
    const Words words { "show_pluto", "true", "false", "get", "set", "path", "build", "parse", "render", "--help" };
    const Words numbers { "0", "-0", "1", "-5", "0.5", "2", "4", "4.0001", "8", "40", "1e-300", "5e-324", "1e308",
        "1e309", "nan", "inf", "-inf", "0x10", " 3 ", "1,5", "", "x" };
    const Words dates { "2024-01-31", "2024-01-31T10:00", "2024-01-31T10:00:00Z", "2024-01-31T10:00:00+09:00", "@0",
        "@-1e15", "@1e300", "@nan", "@", "0001-01-01", "9999-12-31", "-0500-03-15", "2024-02-30", "2024-13-01",
        "2018-11-04", "tomorrow", "", "2024-01-31T25:00", "2024-01-31T10:00:00+99:00", "@4611686018427387904" };
    const QHash<QString, Words> optionValues { { "date", dates }, { "now", dates },
        { "time-zone",
            { "UTC", "Europe/Berlin", "Asia/Tokyo", "Pacific/Apia", "America/Sao_Paulo", "Mars/Olympus", "",
                "../../etc/passwd", "Etc/GMT+14", "EST5EDT" } },
        { "locale",
            { "en_US", "de_DE", "ar_SA", "th_TH", "en_US_POSIX", "xx_YY", "", "C", "de_DE.UTF-8@euro",
                "ja_JP@calendar=japanese" } },
        { "background", { "black", "none", "red", "" } },
        { "diameter", { "8", "40", "100", "1e-9", "0", "-1", "4097", "nan" } } };
    // Outputs in the test's folder: pictures, and a FIFO, a folder, a link to /dev/full and a link to itself.
    const Words outputs { "/o.png", "/o.svg", "/O.PNG", "/fifo.png", "/folder.png", "/full.svg", "/missing/o.png",
        "/o.jpg", "/", "/.png", "/link-to-self.png" };

    class ListMaker {
    public:
        explicit ListMaker(const QString& dir)
            : m_dir(dir.toUtf8())
        {
        }

        Words next()
        {
            Words list;
            const int shape = pick(20);
            const CommandUsage* form = nullptr;
            if (shape == 1)
                list.append(pickOf(garbageWords));
            else if (shape == 2)
                list.append(pickOf({ "help", "--help", "-h", "--version" }));
            else if (shape > 2) {
                // Each command as often as any other, then one of its forms, with what it requires most of the time.
                const QStringList names = commandNames();
                const QString group = names[pick(names.size())];
                std::vector<const CommandUsage*> forms;
                for (const CommandUsage& usage : commandUsages()) {
                    if (usage.group() == group)
                        forms.push_back(&usage);
                }
                form = forms[static_cast<std::size_t>(pick(static_cast<qsizetype>(forms.size())))];
                for (const QString& word : form->name.split(QLatin1Char(' ')))
                    list.append(word.toUtf8());
                if (pick(4) != 0) {
                    for (const PositionalUsage& positional : form->positionals)
                        list.append(pickOf(positional.name == QLatin1String("BODY") ? bodies : links));
                    if (form->name == QLatin1String("render"))
                        list.append({ "-o", m_dir + pickOf({ "/o.png", "/o.svg" }) });
                }
            }
            for (int extra = pick(5); extra > 0; --extra)
                appendArgument(list, form && !form->options.empty() ? &form->options : nullptr);
            return list;
        }

    private:
        int pick(qsizetype n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(m_random); }
        QByteArray pickOf(const Words& values) { return values[pick(values.size())]; }

        QByteArray value(const OptionUsage& option)
        {
            if (pick(6) == 0)
                return pickOf(garbageWords);
            if (option.name == QLatin1String("output"))
                return m_dir + pickOf(outputs);
            return pickOf(optionValues.value(option.name, numbers));
        }

        // An option of the form with a value (now and then none, or glued on with "="), a body, link or word, or
        // garbage.
        void appendArgument(Words& list, const std::vector<OptionUsage>* options)
        {
            const int kind = pick(10);
            if (kind < 6 && options) {
                const OptionUsage& option
                    = (*options)[static_cast<std::size_t>(pick(static_cast<qsizetype>(options->size())))];
                const QByteArray flag
                    = (option.shortName.isEmpty() || pick(2) ? "--" + option.name : "-" + option.shortName).toUtf8();
                if (option.value.isEmpty())
                    list.append(pick(8) == 0 ? flag + "=1" : flag);
                else if (pick(4) == 0 && flag.startsWith("--"))
                    list.append(flag + "=" + value(option));
                else
                    list.append(pick(12) ? Words { flag, value(option) } : Words { flag });
            } else if (kind < 8) {
                list.append(pickOf(pick(2) ? (pick(2) ? bodies : links) : words));
            } else {
                list.append(pickOf(garbageWords));
            }
        }

        std::mt19937 m_random { seed };
        QByteArray m_dir;
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
