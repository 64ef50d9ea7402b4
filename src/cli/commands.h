#pragma once

#include <QStringList>

namespace heliora::cli {

/// Each command takes the arguments after its name, prints its result on stdout and returns the exit status.
/// It throws UsageError for a bad command line and CommandFailure when its work fails, before printing
/// anything, and HelpRequest for --help.
int positionsCommand(const QStringList& arguments);
int factsCommand(const QStringList& arguments);
/// Paints the orrery into a PNG or SVG file and prints where the bodies went.
int renderCommand(const QStringList& arguments);
int linkCommand(const QStringList& arguments);
int datesCommand(const QStringList& arguments);
int settingsCommand(const QStringList& arguments);

} // namespace heliora::cli
