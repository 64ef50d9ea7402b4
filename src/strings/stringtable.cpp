#include "strings/stringtable.h"

#include "model/environment.h"

#include <QByteArray>

#include <algorithm>
#include <limits>

namespace heliora {

namespace {

    std::unique_ptr<Strings>& current()
    {
        static std::unique_ptr<Strings> instance;
        return instance;
    }

    QString languageOf(const QString& locale)
    {
        return locale.section(QLatin1Char('.'), 0, 0)
            .section(QLatin1Char('@'), 0, 0)
            .section(QLatin1Char('_'), 0, 0)
            .section(QLatin1Char('-'), 0, 0)
            .toLower();
    }

    // Plural forms are chosen by magnitude, so -1 reads like 1; counts beyond int choose like the largest int.
    int pluralCount(std::int64_t count)
    {
        const std::int64_t magnitude = count == std::numeric_limits<std::int64_t>::min() ? count : std::abs(count);
        if (magnitude < 0 || magnitude > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
        return static_cast<int>(magnitude);
    }

} // namespace

Strings::Strings(const QString& language)
    : m_translator(std::make_unique<QTranslator>())
{
    const QString wanted = languageOf(language);
    if (!wanted.isEmpty() && m_translator->load(QStringLiteral(":/translations/heliora_%1.qm").arg(wanted))) {
        m_language = wanted;
        return;
    }
    m_language = QStringLiteral("en");
    if (!m_translator->load(QStringLiteral(":/translations/heliora_en.qm")))
        m_translator.reset();
}

QString Strings::lookUp(std::string_view key, int count) const
{
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    QString text;
    if (m_translator) {
        text = m_translator->translate(nullptr, id.constData(), nullptr, count);
        // A text without plural forms is found only without a count.
        if (text.isEmpty() && count >= 0)
            text = m_translator->translate(nullptr, id.constData(), nullptr, -1);
    }
    if (!text.isEmpty())
        return text;
    if (std::find(m_missing.begin(), m_missing.end(), key) == m_missing.end())
        m_missing.emplace_back(key);
    return QString::fromUtf8(id);
}

QString Strings::text(std::string_view key) const { return lookUp(key, -1); }

QString Strings::text(const TextKey& key) const
{
    QString result = lookUp(key.key, key.count ? pluralCount(*key.count) : -1);
    if (key.argument)
        result.replace(QLatin1String("%@"), QString::fromStdString(*key.argument));
    if (key.count)
        result.replace(QLatin1String("%lld"), QString::number(*key.count));
    return result;
}

QString Strings::joined(const std::vector<std::string>& keys) const
{
    QString result;
    for (const std::string& key : keys)
        result += text(key);
    return result;
}

QString Strings::joined(const std::vector<TextKey>& keys) const
{
    QString result;
    for (const TextKey& key : keys)
        result += text(key);
    return result;
}

const Strings& strings()
{
    if (!current()) {
        std::string name = messagesLocale().getName();
        current() = std::make_unique<Strings>(QString::fromStdString(name));
    }
    return *current();
}

void setStringsLanguage(const QString& language) { current() = std::make_unique<Strings>(language); }

QString text(std::string_view key) { return strings().text(key); }
QString text(const TextKey& key) { return strings().text(key); }

QString localizedName(const SolarSystemObject& object) { return strings().text(object.localizationKey()); }

} // namespace heliora
