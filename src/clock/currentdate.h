#pragma once

#include <optional>

namespace heliora {

/// The present instant in seconds since 1970: the one reading of the system clock that the simulation clock's
/// start, "today" and the relative caption use. Main thread only.
double currentDate();

/// Pins currentDate() to a fixed instant (tests, scripted screenshots); nullopt returns to the system clock.
void setFixedCurrentDate(std::optional<double> date);

} // namespace heliora
