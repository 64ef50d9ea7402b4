// The views tests' one QApplication, with Heliora's accessible interfaces as the programs install them.

#include "support/widgetapplication.h"
#include "views/accessibility.h"

[[maybe_unused]] const auto* const widgetApplication
    = heliora::test::addWidgetApplication([](QApplication&) { heliora::installAccessibleInterfaces(); });
