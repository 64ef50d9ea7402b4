#pragma once

#include <QByteArray>
#include <QString>
#include <QTranslator>

#include <memory>
#include <string_view>

namespace heliora::widgetkit {

/// Loads the id-based text table `<path>_<language>.qm` (a resource path such as
/// ":/widget-translations/extension"), else its English one; null when neither loads. The host and the extension
/// each keep a small table of their own this way, apart from the application's string table.
inline std::unique_ptr<QTranslator> loadTextTable(const QString& path, const QString& language)
{
    auto table = std::make_unique<QTranslator>();
    if (table->load(QStringLiteral("%1_%2.qm").arg(path, language)) || table->load(path + QStringLiteral("_en.qm")))
        return table;
    return nullptr;
}

/// The text of `key` in `table`; the key itself when the table lacks it or there is no table.
inline QString tableText(const QTranslator* table, std::string_view key)
{
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    const QString text = table ? table->translate(nullptr, id.constData()) : QString();
    return text.isEmpty() ? QString::fromUtf8(id) : text;
}

} // namespace heliora::widgetkit
