// The views tests' one QApplication.

#include "support/widgetapplication.h"

[[maybe_unused]] const auto* const widgetApplication = heliora::test::addWidgetApplication();
