// What the bytes of a settings file say and what a write makes of them: hand-edited, foreign and hostile files,
// seeded fuzzing of whole files, and QSettings as the judge of compatibility.

#include "settings/settingstext.h"
#include "support/rows.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>

#include <random>

namespace heliora {
namespace {

    using test::PrintTo;
    using namespace std::string_literals;

    // A value of nested @Variant(...) lists as deep as the one that overflowed QSettings' stack.
    const std::string nested
        = QByteArray("@Variant(\\0\\0\\0\\t").repeated(22'000).toStdString() + std::string(22'000, ')');

    struct Case {
        const char* name;
        std::string before;
        bool value; // what `before` reads as; then the value written
        std::string after = {}; // what writing `value` makes of `before`
    };

    class ReadSettings : public ::testing::TestWithParam<Case> { };

    TEST_P(ReadSettings, FindsTheValueThatCounts)
    {
        EXPECT_EQ(readSettingsText(GetParam().before).showPluto, GetParam().value);
    }

    INSTANTIATE_TEST_SUITE_P(Table, ReadSettings,
        ::testing::Values(Case { "NoGroupLine", "show_pluto=true", true },
            Case { "GroupInAnyCaseWithBlanksAndMore", " [ gEnErAl ] x\nshow_pluto=true\n", true },
            Case { "UnclosedGeneral", "[x]\n[General\nshow_pluto=true\n", true },
            Case { "OtherGroup", "[x]\nshow_pluto=true\n", false },
            Case { "EscapedGroupNamedGeneral", "[%General]\nshow_pluto=true\n", false },
            Case { "LastLineCountsAcrossGroups", "show_pluto=false\n[x]\na=1\n[General]\nshow_pluto=1\n", true },
            Case { "LastLineCounts", "[General]\nshow_pluto=true\nshow_pluto=false\n", false },
            Case { "BlanksTabsAndCase", "[General]\n \tshow_pluto \t= \tTRUE\t \n", true },
            Case { "CrLf", "[General]\r\nshow_pluto=true\r\n", true },
            Case { "LoneCr", "[x]\ra=1\r[General]\rshow_pluto=true\r", true },
            Case { "ByteOrderMark", "\xEF\xBB\xBFshow_pluto=true\n", true },
            Case { "Quoted", "[General]\nshow_pluto=\"true\"\n", false },
            Case { "WithComment", "[General]\nshow_pluto=true ; on\n", false },
            Case { "Yes", "[General]\nshow_pluto=yes\n", false },
            Case { "NoEqualsSign", "[General]\nshow_pluto true\n", false },
            Case { "LongerKeys", "[General]\nmy_show_pluto=true\nshow_pluto_x=true\n", false },
            Case { "KeyInOtherCase", "[General]\nShow_Pluto=true\n", false },
            Case { "PercentEncodedKey", "[General]\nshow%5Fpluto=true\n", false },
            Case { "CommentedOut", "[General]\n;show_pluto=true\n# show_pluto=true\n", false },
            Case { "NestedVariant", "[General]\nshow_pluto=" + nested + "\n", false },
            Case { "NulByte", "[General]\nshow_pluto=true\nx=\0\n"s, false },
            Case { "PastTheLimit", "show_pluto=true\n;" + std::string(largestSettingsFile, 'x'), false },
            Case { "NotUtf8", "[General]\n\xff\xfe=\xc3\x28\nshow_pluto=true\n", true }),
        test::rowName);

    class WriteSettings : public ::testing::TestWithParam<Case> { };

    TEST_P(WriteSettings, ChangesOnlyTheSettingLine)
    {
        const std::optional<std::string> written = withShowPluto(GetParam().before, GetParam().value);
        ASSERT_EQ(written, GetParam().after);
        EXPECT_EQ(withShowPluto(*written, GetParam().value), written) << "writing the same again changes nothing";
    }

    INSTANTIATE_TEST_SUITE_P(Table, WriteSettings,
        ::testing::Values(Case { "EmptyAsQSettingsWritesIt", "", true, "[General]\nshow_pluto=true\n" },
            Case { "LastOfTwo", "show_pluto=true\nshow_pluto=true\n", false, "show_pluto=true\nshow_pluto=false\n" },
            Case { "NestedVariant", "[General]\na=1\nshow_pluto=" + nested + "\n[x]\nb=2\n", true,
                "[General]\na=1\nshow_pluto=true\n[x]\nb=2\n" },
            Case { "AfterTheLastEntry", "[General]\nother=1\n; note\n\n[w]\nx=5\n", true,
                "[General]\nother=1\nshow_pluto=true\n; note\n\n[w]\nx=5\n" },
            Case { "AfterTheGroupLine", "[x]\na=1\n[General]\n[y]\n", true,
                "[x]\na=1\n[General]\nshow_pluto=true\n[y]\n" },
            Case { "GeneralFirst", "[x]\nshow_pluto=false\n", true,
                "[General]\nshow_pluto=true\n\n[x]\nshow_pluto=false\n" },
            Case { "LastLineGetsALineEnd", "[General]\r\na=1", true, "[General]\r\na=1\r\nshow_pluto=true\r\n" },
            Case { "LineEndOfTheLineBefore", "[y]\r[General]\na=1\n\n[x]\n", true,
                "[y]\r[General]\na=1\nshow_pluto=true\n\n[x]\n" },
            Case { "ByteOrderMarkKept", "\xEF\xBB\xBF[x]\n", true, "\xEF\xBB\xBF[General]\nshow_pluto=true\n\n[x]\n" },
            Case { "ForeignLinesKept", "%U0444=1\n\xd0\xba=\xff\nc\\\\d=2\nv=@Variant(\\0\\x7f)\nshow_pluto=false\n",
                true, "%U0444=1\n\xd0\xba=\xff\nc\\\\d=2\nv=@Variant(\\0\\x7f)\nshow_pluto=true\n" }),
        test::rowName);

    TEST(WriteSettings, RefusesWhatTheReaderRejects)
    {
        EXPECT_EQ(withShowPluto("show_pluto=true\nx=\0\n"s, false), std::nullopt);
        const std::string filler = ";" + std::string(largestSettingsFile - 19, 'x') + "\n"; // full after "=false\n"
        EXPECT_EQ(withShowPluto("show_pluto=false\n" + filler, true), "show_pluto=true\n" + filler) << "it fits";
        EXPECT_EQ(withShowPluto("show_pluto=true\n;" + filler, false), std::nullopt) << "it would not fit";
    }

    // Lines that hand edits, other programs and attackers put into the file, some with random bytes after them.
    std::string randomFile(std::mt19937& random)
    {
        static const std::vector<std::string> lines { "[General]", " [ general ] x", "[other]", "[%General]",
            "[General", "[]", "", "; c", "#show_pluto=true", "show_pluto=true", " show_pluto = 1 ", "show_pluto=0",
            "show_pluto", "show_pluto=@Variant(\\0", "k=v", "c\\\\d=2", "\xd0\xba=1", "a=\"x\\", "\xEF\xBB\xBF" };
        static const std::string lineEnds[] = { "\n", "\n", "\n", "\r\n", "\r" };
        std::string file = random() % 5 == 0 ? "\xEF\xBB\xBF" : "";
        for (auto n = random() % 12; n > 0; --n) {
            file += lines[random() % lines.size()];
            for (auto bytes = random() % 4 ? 0 : random() % 9; bytes > 0; --bytes)
                file += static_cast<char>(14 + random() % 242); // no NUL, CR or LF
            file += lineEnds[random() % std::size(lineEnds)];
        }
        if (random() % 3 == 0 && !file.empty())
            file.pop_back();
        return file;
    }

    // The lines of a text, each with its line end; a byte order mark stands alone.
    std::vector<std::string> linesOf(std::string_view text)
    {
        std::vector<std::string> lines;
        if (text.starts_with("\xEF\xBB\xBF")) {
            lines.emplace_back(text.substr(0, 3));
            text.remove_prefix(3);
        }
        while (!text.empty()) {
            std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
            end += text.substr(end, 2) == "\r\n" ? 2 : end < text.size() ? 1 : 0;
            lines.emplace_back(text.substr(0, end));
            text.remove_prefix(end);
        }
        return lines;
    }

    // Whole random files: a write replaces the setting line that counts, or else only adds its own lines
    // ("[General]", the setting, an empty line; the last line may gain a line end). Every other line is kept byte
    // for byte, the file reads back as written, and writing the same value again changes nothing.
    TEST(WriteSettings, RandomFilesKeepEveryOtherLine)
    {
        std::mt19937 random(20240131);
        for (int round = 0; round < 3000; ++round) {
            const std::string before = randomFile(random);
            const bool value = random() % 2 == 0;
            const std::string setting = value ? "show_pluto=true" : "show_pluto=false";
            const std::optional<std::string> after = withShowPluto(before, value);
            ASSERT_TRUE(after.has_value()) << ::testing::PrintToString(before);
            EXPECT_EQ(readSettingsText(*after).showPluto, value);
            EXPECT_EQ(withShowPluto(*after, value), after);
            const SettingsText found = readSettingsText(before);
            if (found.hasSettingLine) {
                EXPECT_EQ(*after, before.substr(0, found.lineBegin) + setting + before.substr(found.lineEnd));
                continue;
            }
            std::vector<std::string> old = linesOf(before), now = linesOf(*after);
            while (!old.empty() && !now.empty() && old.front() == now.front())
                old.erase(old.begin()), now.erase(now.begin());
            while (!old.empty() && !now.empty() && old.back() == now.back())
                old.pop_back(), now.pop_back();
            const auto context = ::testing::PrintToString(before) + " -> " + ::testing::PrintToString(*after);
            if (!old.empty()) { // only the last line, which gains a line end
                ASSERT_EQ(old.size(), 1u) << context;
                ASSERT_TRUE(now.front().starts_with(old.front())) << context;
                now.erase(now.begin());
            }
            for (std::string line : now) {
                line.erase(line.find_last_not_of("\r\n") + 1);
                EXPECT_TRUE(line.empty() || line == "[General]" || line == setting) << line << " in " << context;
            }
        }
    }

    // QSettings judges compatibility: files that it writes, with random keys and values of every kind, read as it
    // reads them; after a write it finds the new value and every other key unchanged. Few rounds with many keys:
    // each file that QSettings writes costs a sync of the disk.
    TEST(WriteSettings, QSettingsReadsEveryOtherKeyUnchanged)
    {
        QTemporaryDir folder;
        std::mt19937 random(42);
        const auto text = [&random] {
            static const QStringList pieces { "a", " ", "\"", ";", "=", "\\", "%", ",", "\n", "\t", "ä", "ключ", "𝄞",
                "@Variant(", "[General]" };
            QString result;
            for (auto n = random() % 5; n > 0; --n)
                result += pieces[random() % pieces.size()];
            return result;
        };
        for (int round = 0; round < 80; ++round) {
            const QString path = folder.filePath(QString::number(round));
            {
                QSettings settings(path, QSettings::IniFormat);
                for (auto n = random() % 12; n > 0; --n) {
                    const QString key = (random() % 3 ? "" : "g" + text() + "/") + "k" + text();
                    const QVariant kinds[] = { text(), int(random() % 999), QStringList { text(), text() },
                        text().toUtf8(), QSize(int(random() % 9), 3), random() % 2 == 0,
                        QVariantList { text(), QVariantList { 1, text() } } };
                    settings.setValue(key.simplified(), kinds[random() % std::size(kinds)]);
                }
                if (random() % 3)
                    settings.setValue("show_pluto", random() % 2 == 0);
            }
            // Read back by a fresh object from a fresh name: QSettings caches a file per name in the process, with
            // the values that it was given rather than what it wrote.
            QFile file(path);
            const std::string before = file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "";
            ASSERT_TRUE(!file.exists() || file.copy(path + ".old"));
            const bool value = random() % 2 == 0;
            const std::optional<std::string> after = withShowPluto(before, value);
            ASSERT_TRUE(after.has_value()) << before;
            QFile rewritten(path + ".new");
            ASSERT_TRUE(rewritten.open(QIODevice::WriteOnly));
            rewritten.write(after->data(), static_cast<qint64>(after->size()));
            rewritten.close();
            const QSettings old(path + ".old", QSettings::IniFormat), now(rewritten.fileName(), QSettings::IniFormat);
            EXPECT_EQ(readSettingsText(before).showPluto, old.value("show_pluto").toString() == "true") << before;
            ASSERT_EQ(now.status(), QSettings::NoError) << *after;
            EXPECT_EQ(now.value("show_pluto").toString(), value ? "true" : "false");
            QStringList keys = old.allKeys();
            keys.removeAll("show_pluto");
            for (const QString& key : keys)
                EXPECT_EQ(now.value(key), old.value(key)) << key.toStdString() << " in " << *after;
            EXPECT_EQ(now.allKeys().size(), keys.size() + 1);
        }
    }

} // namespace
} // namespace heliora
