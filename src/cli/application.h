#pragma once

#include <QStringView>

namespace heliora::cli {

/// The Qt application object of one heliora-cli run, made only when a command needs it and after its command
/// line was read, so that a bad command line never depends on Qt starting. An application that already
/// exists (a test's own) is used as it is.

/// Makes sure that a QCoreApplication exists: the settings store names its fallback file after the program.
void requireCoreApplication();

/// Makes sure that a QGuiApplication exists, which painting pictures needs, on the platform that
/// QT_QPA_PLATFORM names, or offscreen when it names none. Qt ends the whole process when that platform
/// cannot start (a missing plug-in, xcb without a display), so any platform but offscreen and minimal is
/// first started in a child process; when that fails, throws CommandFailure for `command`.
void requireGuiApplication(QStringView command);

/// Destroys the application that one of the above made, while Qt can still shut it down cleanly.
void releaseApplication();

/// Keeps Qt's own notes (debug, info, warnings such as a platform's start-up remarks) off stderr, which
/// belongs to the one error line of a command; critical and fatal messages still show.
void quietQtMessages();

} // namespace heliora::cli
