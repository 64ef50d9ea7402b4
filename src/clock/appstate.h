#pragma once

#include "clock/rotationstate.h"

#include <QObject>

namespace heliora {

/// The application's root state. It owns the one RotationState, created with the current date (currentDate()),
/// and lives until the application quits.
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
