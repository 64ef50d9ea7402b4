#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <string_view>

namespace heliora {

/// The settings suite that the application and the desktop widgets share, and the file that holds it.
inline constexpr std::string_view settingsSuiteName = "QZ7R4K2M9T.Heliora.macOS";
/// The one key of the suite: whether Pluto and its ring are drawn. Absent means false; the default is never written.
inline constexpr std::string_view showPlutoKey = "show_pluto";

/// A QObject that gives one view access to the shared settings suite: one holder per view that shows or edits
/// the setting, created with the view. The suite is an INI file, "QZ7R4K2M9T.Heliora.macOS.conf" in the user's
/// configuration folder ($XDG_CONFIG_HOME when absolute, else $HOME/.config), which both programs open by that
/// name; when that name is taken by something that is not a file (a folder, a FIFO), the holder uses the
/// program's own file, "heliora/<program>.conf" in the same folder. Without a configuration folder (neither
/// variable set to an absolute path) the holder has no file: it reads false and every write fails.
///
/// Nothing is cached and nothing is created by reading: every read reads the file, in memory and bounded
/// (settingstext.h says what counts, settingsio.h how it is read and written). A file that cannot be read, is
/// not a regular file, is larger than 1 MiB or holds a NUL byte reads as false. A write replaces only the
/// "show_pluto" line (or adds one) and keeps every other byte, the mode and links; it is atomic for readers in
/// any process and waits at most a second for another writer. Every live holder in the process is told of a
/// successful write made through any holder; other processes see the value at their next read. Main thread only.
class SharedSettings : public QObject {
    Q_OBJECT
public:
    explicit SharedSettings(QObject* parent = nullptr);
    ~SharedSettings() override;

    /// The stored value; false when it is absent, unreadable, or anything but "true" (any case) or "1".
    bool showPluto() const;
    /// Stores the value at once. False when the write failed: the value was not stored, the file is unchanged,
    /// no holder is notified and lastError() says why.
    bool setShowPluto(bool value);

    /// Why this holder cannot store the setting, or why its last write failed, as one line "<what is wrong>
    /// (<what would work>)" with paths quoted; empty after a successful write and while nothing is known wrong.
    QString lastError() const { return m_error; }

    /// The file that this holder reads and writes; empty without a configuration folder.
    QString filePath() const;

    /// Where the suite's file is for the current environment; empty without a configuration folder.
    static QString suiteFilePath();

signals:
    /// Emitted by every live holder after a successful write through any holder, changed or not.
    void showPlutoChanged(bool value);

private:
    std::string m_path; ///< bytes, as the file system names it
    QString m_error;
};

} // namespace heliora
