#pragma once

#include <QKeySequence>
#include <QString>
#include <QWidget>

namespace heliora {

/// A control's name followed by its key, as its tooltip shows it: "Forward (Right)", "Vorwärts (Rechts)". The
/// key's name is Qt's own, in the language of Qt's loaded translation.
inline QString nameWithKey(const QString& name, const QKeySequence& key)
{
    return QStringLiteral("%1 (%2)").arg(name, key.toString(QKeySequence::NativeText));
}

/// Names a control that a key of its window stands for: the tooltip "Forward (Right)", the accessible name
/// "Forward" and the accessible description "Right". The description is set even so: without one, assistive
/// technologies would read the tooltip as the description, which repeats the name.
inline void nameControlWithKey(QWidget* control, const QString& name, const QKeySequence& key)
{
    control->setToolTip(nameWithKey(name, key));
    control->setAccessibleName(name);
    control->setAccessibleDescription(key.toString(QKeySequence::NativeText));
}

} // namespace heliora
