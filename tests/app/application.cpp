// The app tests' one QApplication, prepared as heliora prepares its own.

#include "app/helioraapplication.h"
#include "support/widgetapplication.h"

[[maybe_unused]] const auto* const widgetApplication = heliora::test::addWidgetApplication(heliora::prepareApplication);
