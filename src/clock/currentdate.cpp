#include "clock/currentdate.h"

#include <chrono>

namespace heliora {

namespace {

    std::optional<double>& fixedDate()
    {
        static std::optional<double> date;
        return date;
    }

} // namespace

double currentDate()
{
    if (fixedDate())
        return *fixedDate();
    using namespace std::chrono;
    const auto micros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<double>(micros) / 1'000'000.0;
}

void setFixedCurrentDate(std::optional<double> date) { fixedDate() = date; }

} // namespace heliora
