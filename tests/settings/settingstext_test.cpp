// What the bytes of a settings file say, and what a write makes of them: hand-edited, foreign and hostile files,
// a seeded fuzz of stored values and whole files, and QSettings itself as the judge of byte compatibility.

#include "settings/settingstext.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace heliora {
namespace {

    using namespace std::string_literals;

    // A show_pluto value of nested @Variant(...) lists, as deep as the one that overflowed QSettings' stack.
    std::string nestedVariant(int depth = 22'000)
    {
        std::string value;
        for (int i = 0; i < depth; ++i)
            value += "@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1";
        return value + std::string(static_cast<std::size_t>(depth), ')');
    }

    struct ReadCase {
        const char* name;
        std::string bytes;
        bool value;
    };

    class ReadSettings : public ::testing::TestWithParam<ReadCase> { };

    TEST_P(ReadSettings, FindsTheValueThatCounts)
    {
        EXPECT_EQ(readSettingsText(GetParam().bytes).showPluto, GetParam().value);
    }

    INSTANTIATE_TEST_SUITE_P(Table, ReadSettings,
        ::testing::Values(ReadCase { "WrittenByQSettings", "[General]\nshow_pluto=true\n", true },
            ReadCase { "NoGroupLine", "show_pluto=true", true },
            ReadCase { "GroupInAnyCase", "[gEnErAl]\nshow_pluto=true\n", true },
            ReadCase { "GroupWithBlanksAndTrailingText", " [ General ] x\nshow_pluto=true\n", true },
            ReadCase { "UnclosedGeneral", "[x]\n[General\nshow_pluto=true\n", true },
            ReadCase { "OtherGroup", "[x]\nshow_pluto=true\n", false },
            ReadCase { "EscapedGroupNamedGeneral", "[%General]\nshow_pluto=true\n", false },
            ReadCase { "EmptyGroupName", "[]\nshow_pluto=true\n", false },
            ReadCase { "BackInGeneral", "[x]\nshow_pluto=false\n[General]\nshow_pluto=true\n", true },
            ReadCase { "LastLineCounts", "[General]\nshow_pluto=true\nshow_pluto=false\n", false },
            ReadCase { "LastLineCountsAcrossGroups", "show_pluto=false\n[x]\na=1\n[General]\nshow_pluto=1\n", true },
            ReadCase { "BlanksAndTabs", "[General]\n \tshow_pluto \t= \tTRUE\t \n", true },
            ReadCase { "One", "[General]\nshow_pluto=1\n", true },
            ReadCase { "CrLf", "[General]\r\nshow_pluto=true\r\n", true },
            ReadCase { "LoneCr", "[x]\ra=1\r[General]\rshow_pluto=true\r", true },
            ReadCase { "ByteOrderMark", "\xEF\xBB\xBF[General]\nshow_pluto=true\n", true },
            ReadCase { "ByteOrderMarkWithoutGroup", "\xEF\xBB\xBFshow_pluto=true\n", true },
            ReadCase { "QuotedValue", "[General]\nshow_pluto=\"true\"\n", false },
            ReadCase { "ValueWithComment", "[General]\nshow_pluto=true ; on\n", false },
            ReadCase { "Yes", "[General]\nshow_pluto=yes\n", false },
            ReadCase { "EmptyValue", "[General]\nshow_pluto=\n", false },
            ReadCase { "NoEqualsSign", "[General]\nshow_pluto true\n", false },
            ReadCase { "KeyInOtherCase", "[General]\nShow_Pluto=true\n", false },
            ReadCase { "PercentEncodedKey", "[General]\nshow%5Fpluto=true\n", false },
            ReadCase { "KeyInsideAnotherKey", "[General]\nmy_show_pluto=true\nshow_pluto_x=true\n", false },
            ReadCase { "CommentedOut", "[General]\n;show_pluto=true\n# show_pluto=true\n", false },
            ReadCase { "NestedVariant", "[General]\nshow_pluto=" + nestedVariant() + "\n", false },
            ReadCase { "NulByte", "[General]\nshow_pluto=true\nx=\0\n"s, false },
            ReadCase { "LargerThanTheLimit",
                "[General]\nshow_pluto=true\n;" + std::string(largestSettingsFile, 'x') + "\n", false },
            ReadCase { "NotUtf8", "[General]\n\xff\xfe=\xc3\x28\nshow_pluto=true\n", true }),
        [](const auto& info) { return std::string(info.param.name); });

    struct WriteCase {
        const char* name;
        std::string before;
        bool value;
        std::string after;
    };

    class WriteSettings : public ::testing::TestWithParam<WriteCase> { };

    TEST_P(WriteSettings, ChangesOnlyTheSettingLine)
    {
        const WriteCase& c = GetParam();
        const std::optional<std::string> written = withShowPluto(c.before, c.value);
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(*written, c.after);
        EXPECT_EQ(withShowPluto(*written, c.value), written) << "a second write of the same value changes nothing";
    }

    INSTANTIATE_TEST_SUITE_P(Table, WriteSettings,
        ::testing::Values(WriteCase { "EmptyFileAsQSettingsWritesIt", "", true, "[General]\nshow_pluto=true\n" },
            WriteCase { "Replaced", "[General]\nshow_pluto=true\n", false, "[General]\nshow_pluto=false\n" },
            WriteCase { "ReplacedWithoutLineEnd", "[General]\n  show_pluto = 1", false, "[General]\nshow_pluto=false" },
            WriteCase { "LastOfSeveralReplaced", "[General]\nshow_pluto=true\nshow_pluto=true\n", false,
                "[General]\nshow_pluto=true\nshow_pluto=false\n" },
            WriteCase { "NestedVariantReplaced", "[General]\na=1\nshow_pluto=" + nestedVariant() + "\n[x]\nb=2\n", true,
                "[General]\na=1\nshow_pluto=true\n[x]\nb=2\n" },
            WriteCase { "AfterTheLastGeneralEntry", "[General]\nother=1\n; note\n\n[window]\nwidth=500\n", true,
                "[General]\nother=1\nshow_pluto=true\n; note\n\n[window]\nwidth=500\n" },
            WriteCase { "AfterTheGeneralGroupLine", "[x]\na=1\n[General]\n[y]\nb=2\n", true,
                "[x]\na=1\n[General]\nshow_pluto=true\n[y]\nb=2\n" },
            WriteCase { "AfterKeysWithoutGroupLine", "a=1\nb=2\n\n[x]\nc=3\n", false,
                "a=1\nb=2\nshow_pluto=false\n\n[x]\nc=3\n" },
            WriteCase { "GeneralFirstBeforeOtherGroups", "[window]\nwidth=500\n", true,
                "[General]\nshow_pluto=true\n\n[window]\nwidth=500\n" },
            WriteCase { "SettingInOtherGroupKept", "[x]\nshow_pluto=false\n", true,
                "[General]\nshow_pluto=true\n\n[x]\nshow_pluto=false\n" },
            WriteCase { "LastLineWithoutLineEnd", "[General]\na=1", true, "[General]\na=1\nshow_pluto=true\n" },
            WriteCase { "CrLfKept", "[General]\r\na=1\r\n", true, "[General]\r\na=1\r\nshow_pluto=true\r\n" },
            WriteCase { "ByteOrderMarkKept", "\xEF\xBB\xBF[x]\na=1\n", true,
                "\xEF\xBB\xBF[General]\nshow_pluto=true\n\n[x]\na=1\n" },
            WriteCase { "ForeignLinesKept",
                "[General]\n%U0444=1\n\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87=\xff\nc\\\\d=2\nv=@Variant(\\0\\0\\0\\x7f)\n"
                "show_pluto=false\n",
                true,
                "[General]\n%U0444=1\n\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87=\xff\nc\\\\d=2\nv=@Variant(\\0\\0\\0\\x7f)\n"
                "show_pluto=true\n" }),
        [](const auto& info) { return std::string(info.param.name); });

    TEST(WriteSettings, RefusesWhatTheReaderRejects)
    {
        EXPECT_FALSE(withShowPluto("[General]\nshow_pluto=true\nx=\0\n"s, false).has_value());
        const std::string full = ";" + std::string(largestSettingsFile - 2, 'x') + "\n";
        EXPECT_FALSE(withShowPluto(full, true).has_value()) << "the new line would pass the limit";
        const std::string fullWithSetting = "show_pluto=false\n" + full.substr(17);
        ASSERT_EQ(fullWithSetting.size(), largestSettingsFile);
        EXPECT_EQ(withShowPluto(fullWithSetting, true), "show_pluto=true\n" + full.substr(17)) << "replacing fits";
        EXPECT_FALSE(withShowPluto("show_pluto=0\n" + full.substr(13), true).has_value()) << "but grows past it";
    }

    // Lines that hand edits, other programs and attackers put into the file.
    std::string randomLine(std::mt19937& random)
    {
        static const std::vector<std::string> lines { "[General]", "[general]", " [ General ] x", "[other]",
            "[%General]", "[General", "[]", "", "; comment", "#show_pluto=true", "show_pluto=true",
            " show_pluto = TRUE ", "show_pluto=0", "show_pluto", "show_pluto=@Variant(\\0\\0\\0", "key=value",
            "c\\\\d=2", "\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87=1", "a=\"x\\", "\xEF\xBB\xBF" };
        std::string line = lines[random() % lines.size()];
        if (random() % 4 == 0) {
            for (auto n = random() % 12; n > 0; --n)
                line += static_cast<char>(1 + random() % 255);
            line.erase(
                std::remove_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }), line.end());
        }
        return line;
    }

    std::string randomFile(std::mt19937& random)
    {
        static const std::string lineEnds[] = { "\n", "\r\n", "\r" };
        std::string file = random() % 5 == 0 ? "\xEF\xBB\xBF" : "";
        for (auto lines = random() % 12; lines > 0; --lines)
            file += randomLine(random) + lineEnds[random() % 10 == 0 ? 1 + random() % 2 : 0];
        if (!file.empty() && random() % 3 == 0)
            file.pop_back();
        return file;
    }

    // The lines of a text, each with its line end; a byte order mark at the start stands alone.
    std::vector<std::string> linesOf(std::string_view text)
    {
        std::vector<std::string> lines;
        if (text.starts_with("\xEF\xBB\xBF")) {
            lines.emplace_back(text.substr(0, 3));
            text.remove_prefix(3);
        }
        while (!text.empty()) {
            std::size_t end = text.find_first_of("\r\n");
            end = end == std::string_view::npos ? text.size() : end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
            lines.emplace_back(text.substr(0, end));
            text.remove_prefix(end);
        }
        return lines;
    }

    std::string withoutLineEnd(std::string line)
    {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        return line;
    }

    bool looksLikeSettingLine(std::string_view line)
    {
        const std::size_t key = line.find_first_not_of(" \t");
        if (key == std::string_view::npos || line.substr(key, 10) != "show_pluto")
            return false;
        const std::size_t equals = line.find_first_not_of(" \t", key + 10);
        return equals != std::string_view::npos && line[equals] == '=';
    }

    // Whole random files: a write changes at most one line, a setting line (or the last line, which gains a line
    // end), and adds only its own lines ("[General]", the setting, an empty line); every other line is kept byte
    // for byte. It reads back as written, and writing the same value again changes nothing.
    TEST(WriteSettings, RandomFilesKeepEveryOtherLine)
    {
        std::mt19937 random(20240131);
        for (int round = 0; round < 3000; ++round) {
            const std::string before = randomFile(random);
            const bool value = random() % 2 == 0;
            const std::optional<std::string> after = withShowPluto(before, value);
            ASSERT_TRUE(after.has_value()) << ::testing::PrintToString(before);
            EXPECT_EQ(readSettingsText(*after).showPluto, value);
            EXPECT_EQ(withShowPluto(*after, value), after);

            const std::vector<std::string> old = linesOf(before);
            const std::vector<std::string> now = linesOf(*after);
            std::size_t same = 0;
            while (same < old.size() && same < now.size() && old[same] == now[same])
                ++same;
            std::size_t sameEnd = 0;
            while (sameEnd < old.size() - same && sameEnd < now.size() - same
                && old[old.size() - 1 - sameEnd] == now[now.size() - 1 - sameEnd])
                ++sameEnd;
            const std::vector<std::string> removed(old.begin() + same, old.end() - sameEnd);
            std::vector<std::string> added(now.begin() + same, now.end() - sameEnd);
            const auto context = ::testing::PrintToString(before) + " -> " + ::testing::PrintToString(*after);
            ASSERT_LE(removed.size(), 1u) << context;
            if (removed.size() == 1 && !looksLikeSettingLine(removed[0])) {
                ASSERT_FALSE(added.empty()) << context;
                EXPECT_EQ(withoutLineEnd(added[0]), removed[0]) << "only the last line may change: " << context;
                added.erase(added.begin());
            }
            EXPECT_LE(added.size(), 4u) << context;
            for (const std::string& line : added) {
                const std::string text = withoutLineEnd(line);
                EXPECT_TRUE(
                    text.empty() || text == "[General]" || text == "show_pluto=true" || text == "show_pluto=false")
                    << ::testing::PrintToString(line) << " added to " << context;
            }
        }
    }

    // Random stored values, from plain words to the bytes of an attack: only "true" (any case) and "1" mean true,
    // and a write replaces that one line.
    TEST(ReadSettings, RandomStoredValues)
    {
        std::mt19937 random(7);
        static const std::vector<std::string> pieces { "true", "TRUE", "1", "0", "false", " ", "\t", "@Variant(", ")",
            "\\0", "\"", ";", "=", "[", "]", "\\", "%", "\xc3\xa9", "\xff", "\x1b[31m" };
        for (int round = 0; round < 3000; ++round) {
            std::string value;
            for (auto n = random() % 4; n > 0; --n)
                value += random() % 3 ? pieces[random() % pieces.size()] : std::string(1, char(1 + random() % 255));
            std::erase_if(value, [](char c) { return c == '\n' || c == '\r'; });
            const std::string file = "[General]\nshow_pluto=" + value + "\n[x]\nk=v\n";
            std::string word = value;
            while (!word.empty() && (word.front() == ' ' || word.front() == '\t'))
                word.erase(0, 1);
            while (!word.empty() && (word.back() == ' ' || word.back() == '\t'))
                word.pop_back();
            const bool expected = word == "1" || QByteArray::fromStdString(word).toLower() == "true";
            EXPECT_EQ(readSettingsText(file).showPluto, expected) << ::testing::PrintToString(value);
            EXPECT_EQ(withShowPluto(file, !expected),
                "[General]\nshow_pluto="s + (expected ? "false" : "true") + "\n[x]\nk=v\n");
        }
    }

    // QSettings is the judge of compatibility: files that it writes, with random keys and values of every kind, read
    // as it reads them, and after a write it finds every other key unchanged and the new value. Few rounds, with
    // many keys each: every file that QSettings writes costs a sync of the disk.
    TEST(WriteSettings, QSettingsReadsEveryOtherKeyUnchanged)
    {
        QTemporaryDir folder;
        std::mt19937 random(42);
        const auto randomText = [&random] {
            static const QStringList pieces { "a", "Z", " ", "\"", ";", "=", "\\", "/", "%", ",", "\n", "\t",
                QStringLiteral("ä"), QStringLiteral("ключ"), QStringLiteral("𝄞"), "@Variant(", "[General]" };
            QString text;
            for (auto n = random() % 5; n > 0; --n)
                text += pieces[random() % pieces.size()];
            return text;
        };
        for (int round = 0; round < 80; ++round) {
            const QString path = folder.filePath(QStringLiteral("s%1.conf").arg(round));
            QVariantMap values;
            {
                QSettings settings(path, QSettings::IniFormat);
                for (auto n = random() % 12; n > 0; --n) {
                    QString key = randomText().remove(QLatin1Char('/')).trimmed();
                    if (random() % 3 == 0)
                        key = randomText().remove(QLatin1Char('/')).trimmed() + QLatin1Char('/') + key;
                    if (key.isEmpty() || key.endsWith(QLatin1Char('/')) || key.startsWith(QLatin1Char('/')))
                        continue;
                    const QVariant kinds[] = { randomText(), int(random() % 1000) - 500,
                        QStringList { randomText(), randomText() }, randomText().toUtf8(), QSize(int(random() % 9), 3),
                        random() % 2 == 0, QVariantList { randomText(), QVariantList { 1, randomText() } }, 0.25 };
                    settings.setValue(key, kinds[random() % std::size(kinds)]);
                }
                if (random() % 3)
                    settings.setValue(QStringLiteral("show_pluto"), random() % 2 == 0);
            }
            // The values as QSettings reads them from the file, not from the cache of the object that wrote them.
            const QString copy = path + QStringLiteral(".copy");
            ASSERT_TRUE(QFile::exists(path) ? QFile::copy(path, copy) : QFile(path).open(QIODevice::WriteOnly));
            const QSettings original(copy, QSettings::IniFormat);
            for (const QString& key : original.allKeys())
                values.insert(key, original.value(key));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const std::string before = file.readAll().toStdString();
            file.close();
            EXPECT_EQ(readSettingsText(before).showPluto, values.value(QStringLiteral("show_pluto")) == "true")
                << before;

            const bool value = random() % 2 == 0;
            const std::optional<std::string> after = withShowPluto(before, value);
            ASSERT_TRUE(after.has_value()) << before;
            const QString rewritten = path + QStringLiteral(".new");
            QFile out(rewritten);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(after->data(), static_cast<qint64>(after->size()));
            out.close();
            const QSettings reread(rewritten, QSettings::IniFormat);
            ASSERT_EQ(reread.status(), QSettings::NoError) << *after;
            values.insert(QStringLiteral("show_pluto"), value ? QStringLiteral("true") : QStringLiteral("false"));
            EXPECT_EQ(reread.allKeys().size(), values.size()) << *after;
            for (auto each = values.cbegin(); each != values.cend(); ++each)
                EXPECT_EQ(reread.value(each.key()), each.value()) << each.key().toStdString() << " in " << *after;
        }
    }

} // namespace
} // namespace heliora
