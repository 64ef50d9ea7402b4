#pragma once

#include "clock/rotationstate.h"

#include <QObject>

namespace heliora {

/// A QObject that is the application's root state. It owns the one RotationState, created with the current date
/// (currentDate()); the application object owns it in turn, for the whole run.
class AppState : public QObject {
    Q_OBJECT
public:
    explicit AppState(QObject* parent = nullptr);

    RotationState& rotation() { return *m_rotation; }
    const RotationState& rotation() const { return *m_rotation; }

private:
    RotationState* m_rotation;
};

} // namespace heliora
