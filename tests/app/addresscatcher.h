#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace heliora::test {

/// Takes, while it lives, the addresses that QDesktopServices would hand to the desktop.
class AddressCatcher : public QObject {
    Q_OBJECT
public:
    AddressCatcher()
    {
        for (const char* scheme : { "mailto", "https", "http" })
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~AddressCatcher() override
    {
        for (const char* scheme : { "mailto", "https", "http" })
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    QStringList opened;

public slots:
    void open(const QUrl& address) { opened.append(address.toString()); }
};

} // namespace heliora::test
