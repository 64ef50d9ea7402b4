#pragma once

#include "widget-host/hostoptions.h"

namespace heliora::host {

/// --snapshot: draws one widget into a PNG file and prints JSON {kind, family, width, height (pixels), scale,
/// date (the instant drawn), nextReload (the timeline's reload date), file}. --timeline: prints the provider's
/// timeline as JSON {kind, family, entries: [{date, width, height}], reloadAfter}. An unknown kind, a family
/// the widget does not offer or a file that cannot be written: one line on stderr, status 2.
int runWidgetCommand(const widgetkit::WidgetBundle& bundle, const HostOptions& options);

} // namespace heliora::host
