#include "clock/appstate.h"

#include "clock/currentdate.h"

namespace heliora {

AppState::AppState(QObject* parent)
    : QObject(parent)
    , m_rotation(new RotationState(currentDate(), this))
{
}

} // namespace heliora
