// The usage table of heliora-cli against what it describes: the parser's options and the README.

#include "inprocess.h"

#include "cli/usage.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace heliora::cli {
namespace {

    // The README's usage block: the fenced block of its heliora-cli section that starts with the usage line.
    QStringList readmeUsageBlock()
    {
        QFile file(QStringLiteral(HELIORA_README));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype section = text.indexOf(QStringLiteral("\n## heliora-cli\n"));
        const qsizetype start = text.indexOf(QStringLiteral("```text\nusage: heliora-cli"), section);
        const qsizetype end = text.indexOf(QStringLiteral("\n```"), start + 1);
        if (section < 0 || start < 0 || end < 0)
            return {};
        return text.mid(start + 8, end - start - 8 + 1).split(QLatin1Char('\n'));
    }

    QString simplified(QString line) { return line.remove(QStringLiteral("usage: ")).simplified(); }

    TEST(Usage, ReadmeRepeatsTheProgramsUsageLineForLine)
    {
        const QStringList readme = readmeUsageBlock();
        ASSERT_FALSE(readme.isEmpty()) << "README.md has no ```text block starting with the usage line";
        const QStringList program = QString::fromUtf8(test::runInProcess(QStringList { "help" }).out).split('\n');
        EXPECT_EQ(readme, program);

        // Each command's own usage has the same synopsis lines as the overview.
        QStringList overview;
        for (const QString& line : program)
            overview.append(simplified(line));
        for (const QString& command : commandNames()) {
            const QStringList help
                = QString::fromUtf8(test::runInProcess(QStringList { command, "--help" }).out).split('\n');
            for (const QString& line : help) {
                if (line.isEmpty())
                    break;
                EXPECT_TRUE(overview.contains(simplified(line))) << qPrintable(line);
            }
        }
    }

    // Every option that a command reads shows in its synopsis, and the synopsis names no option it lacks.
    TEST(Usage, SynopsesNameExactlyTheOptionsThatAreRead)
    {
        const QRegularExpression flag(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
        for (const CommandUsage& form : commandUsages()) {
            const QString synopsis = form.synopsis.join(QLatin1Char(' '));
            QStringList named;
            for (auto it = flag.globalMatch(synopsis); it.hasNext();)
                named.append(it.next().captured(1));
            QStringList read;
            for (const OptionUsage& option : form.options)
                read.append(option.flag());
            named.sort();
            read.sort();
            EXPECT_EQ(named, read) << qPrintable(form.name);
            for (const PositionalUsage& positional : form.positionals)
                EXPECT_TRUE(synopsis.contains(positional.name)) << qPrintable(form.name);
        }
    }

} // namespace
} // namespace heliora::cli
