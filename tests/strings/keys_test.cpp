// Every key that Heliora's code names is in both string tables, and the two tables hold the same keys, each
// with a text. Keys are found where the code writes them: as the first literal of text(...), TextKey{...} and
// of functions named ...ForKey(...), in joined({...}) lists and in constants named ...Key; the model's keys come
// from the model itself. The app's tests also check, per language, that no window shows a key raw
// (stringkeys_test.cpp), which covers keys that travel through variables.

#include "model/factformat.h"
#include "model/planet.h"
#include "strings/stringtable.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace heliora {
namespace {

    const QString sourceDir = QStringLiteral(HELIORA_SOURCE_DIR);

    /// A string table's keys with their texts, read from its .ts source.
    std::map<std::string, QString> readTable(const char* language)
    {
        QFile file(sourceDir + QStringLiteral("/resources/translations/heliora_%1.ts").arg(QLatin1String(language)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        std::map<std::string, QString> table;
        QXmlStreamReader xml(&file);
        std::string id;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("message")) {
                id = xml.attributes().value(QLatin1String("id")).toString().toStdString();
            } else if (xml.name() == QLatin1String("translation")) {
                const bool unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                EXPECT_FALSE(table.contains(id)) << "twice: " << id;
                table[id] = unfinished ? QString() : text;
            }
        }
        EXPECT_FALSE(xml.hasError()) << language << ": " << xml.errorString().toStdString();
        return table;
    }

    std::string unescape(const QString& literal)
    {
        QString text = literal;
        text.replace(QLatin1String("\\\""), QLatin1String("\"")).replace(QLatin1String("\\\\"), QLatin1String("\\"));
        return text.toStdString();
    }

    /// The keys that src/ writes as literals, with the file each one was first found in.
    std::map<std::string, QString> keysInTheCode()
    {
        static const QString literal = QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\"");
        static const QRegularExpression single(
            QStringLiteral("(?:\\btext\\(|TextKey\\s*\\{|Key\\s*=|ForKey\\()\\s*") + literal);
        static const QRegularExpression list(QStringLiteral("joined\\(\\s*std::vector<std::string>\\s*\\{([^}]*)\\}"));
        static const QRegularExpression anyLiteral(literal);
        std::map<std::string, QString> keys;
        QDirIterator files(sourceDir + QStringLiteral("/src"), { QStringLiteral("*.cpp"), QStringLiteral("*.h") },
            QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            const QString code = QString::fromUtf8(file.readAll());
            const QString where = file.fileName().mid(sourceDir.size() + 1);
            for (const auto& match : single.globalMatch(code))
                keys.emplace(unescape(match.captured(1)), where);
            for (const auto& match : list.globalMatch(code)) {
                for (const auto& item : anyLiteral.globalMatch(match.captured(1)))
                    keys.emplace(unescape(item.captured(1)), where);
            }
        }
        return keys;
    }

    /// The keys that the model composes fact rows, names and categories from.
    std::set<std::string> keysOfTheModel()
    {
        std::set<std::string> keys;
        std::vector<SolarSystemObject> bodies { SolarSystemObject::sun() };
        for (Planet planet : allPlanets)
            bodies.push_back(SolarSystemObject::planet(planet));
        for (const SolarSystemObject& body : bodies) {
            keys.emplace(body.localizationKey());
            if (const auto category = body.categoryKey())
                keys.emplace(*category);
            for (const FactRow& row : factRows(body, icu::Locale("en_US"))) {
                keys.insert(row.titleKey);
                if (row.unitSuffixKey)
                    keys.insert(*row.unitSuffixKey);
                keys.insert(row.captionKeys.begin(), row.captionKeys.end());
                for (const TextKey& piece : row.value)
                    keys.insert(piece.key);
                if (row.secondary) {
                    for (const TextKey& piece : row.secondary->pieces)
                        keys.insert(piece.key);
                }
            }
        }
        return keys;
    }

    TEST(StringTables, HoldTheSameKeysEachWithAText)
    {
        const auto english = readTable("en");
        const auto german = readTable("de");
        ASSERT_GT(english.size(), 50u);
        for (const auto& [key, text] : english) {
            EXPECT_FALSE(text.isEmpty()) << "en: " << key;
            EXPECT_TRUE(german.contains(key)) << "de lacks " << key;
        }
        for (const auto& [key, text] : german) {
            EXPECT_FALSE(text.isEmpty()) << "de: " << key;
            EXPECT_TRUE(english.contains(key)) << "en lacks " << key;
        }
    }

    TEST(StringTables, HoldEveryKeyTheCodeAndTheModelName)
    {
        const auto english = readTable("en");
        const auto german = readTable("de");
        const auto code = keysInTheCode();
        // The scan must see the keys of the windows, or it sees nothing at all.
        for (const char* known : { "open_fact_sheet", "reset_to_today", "copied", "developer_name", "source" })
            EXPECT_TRUE(code.contains(known)) << "the scan of src/ misses " << known;
        for (const auto& [key, file] : code) {
            EXPECT_TRUE(english.contains(key)) << "en lacks \"" << key << "\" (" << file.toStdString() << ")";
            EXPECT_TRUE(german.contains(key)) << "de lacks \"" << key << "\" (" << file.toStdString() << ")";
        }
        for (const std::string& key : keysOfTheModel()) {
            EXPECT_TRUE(english.contains(key)) << "en lacks the model's \"" << key << "\"";
            EXPECT_TRUE(german.contains(key)) << "de lacks the model's \"" << key << "\"";
        }
    }

    TEST(StringTables, RecordTheKeysTheyLackOnce)
    {
        const Strings table(QStringLiteral("de"));
        EXPECT_EQ(table.text("no_such_key"), QStringLiteral("no_such_key"));
        EXPECT_EQ(table.text("sun"), QStringLiteral("Sonne"));
        EXPECT_EQ(table.text(TextKey { "%@ missing", "7" }), QStringLiteral("7 missing"));
        table.text("no_such_key");
        EXPECT_EQ(table.missingKeys(), (std::vector<std::string> { "no_such_key", "%@ missing" }));
    }

} // namespace
} // namespace heliora
