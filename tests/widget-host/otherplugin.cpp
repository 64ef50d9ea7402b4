// A Qt plug-in that implements some other interface: the host must refuse it with a message, not call into it.

#include <QObject>
#include <QtPlugin>

class OtherInterface {
public:
    virtual ~OtherInterface() = default;
    virtual int answer() const = 0;
};
Q_DECLARE_INTERFACE(OtherInterface, "app.heliora.test.Other/1")

class OtherPlugin : public QObject, public OtherInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "app.heliora.test.Other/1")
    Q_INTERFACES(OtherInterface)
public:
    int answer() const override { return 42; }
};

#include "otherplugin.moc"
