#pragma once

#include <QKeySequence>
#include <QString>

namespace heliora {

/// A control's name followed by its key, as its tooltip shows it: "Forward (Right)", "Vorwärts (Rechts)". The
/// key's name is Qt's own, in the language of Qt's loaded translation.
inline QString nameWithKey(const QString& name, const QKeySequence& key)
{
    return QStringLiteral("%1 (%2)").arg(name, key.toString(QKeySequence::NativeText));
}

} // namespace heliora
