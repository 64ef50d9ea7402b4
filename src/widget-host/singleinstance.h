#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace heliora::host {

/// Keeps one widget host per user: the first host listens on a local socket that only its user may open; a host
/// started later hands its request to the running one and ends, so the widgets never show twice. The socket
/// lives in the user's runtime folder; a socket file left by a host that crashed is replaced (only after no host
/// answered on it). Requests are short words: "gallery" (open the gallery) or "restore" (nothing to do: the
/// running host shows its widgets already). Main thread only.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);

    /// $XDG_RUNTIME_DIR/heliora-widgets.socket, else "heliora-widgets-<user id>" in the temporary folder.
    static QString defaultName();

    /// Sends the request to a running host; false when none answered (this one should run).
    bool forward(const QString& request) const;
    /// Becomes the running host; false when the socket could not be made (the host then runs alone anyway).
    bool listen();

signals:
    void requested(const QString& request);

private:
    void readRequest();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace heliora::host
