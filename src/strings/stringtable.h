#pragma once

#include "model/factformat.h"
#include "model/planet.h"

#include <QString>
#include <QTranslator>

#include <memory>
#include <string_view>
#include <vector>

namespace heliora {

/// Heliora's string tables for one language: the texts behind every key that the model and the views name.
/// A key that the table lacks shows as the key itself, with its placeholder filled.
class Strings {
public:
    /// Loads the table for a language ("de", "de_DE", "en_GB.UTF-8"); a language without a table gets English.
    explicit Strings(const QString& language);

    /// The language whose table was loaded ("en" or "de").
    QString language() const { return m_language; }

    QString text(std::string_view key) const;
    /// Fills "%@" with the argument and "%lld" with the count; the count also picks the plural form.
    QString text(const TextKey& key) const;
    /// The texts of several keys, joined with nothing between them.
    QString joined(const std::vector<std::string>& keys) const;
    QString joined(const std::vector<TextKey>& keys) const;

    /// The keys that were looked up since the table was loaded and that it lacks, in order of their first
    /// lookup: each was shown as the key itself.
    const std::vector<std::string>& missingKeys() const { return m_missing; }

private:
    QString lookUp(std::string_view key, int count) const;

    QString m_language;
    std::unique_ptr<QTranslator> m_translator;
    mutable std::vector<std::string> m_missing;
};

/// The table for the user's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), loaded on first use.
const Strings& strings();

/// Replaces the table that strings() returns, e.g. for a --locale option.
void setStringsLanguage(const QString& language);

/// Shorthand for strings().text(key): the text of a key in the user's language.
QString text(std::string_view key);
QString text(const TextKey& key);

/// The localized name of the Sun or a planet ("Mars", "Erde"): the title of its fact window, its name in the
/// orrery's tooltips and to assistive technologies, and in every list.
QString localizedName(const SolarSystemObject& object);

} // namespace heliora
