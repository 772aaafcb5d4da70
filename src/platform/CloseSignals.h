#pragma once
#include <QObject>

class QSocketNotifier;

// The system's own requests to end the program (SIGTERM, SIGINT, SIGHUP), delivered on the
// window thread so that they take the normal unload path.
class CloseSignals : public QObject {
    Q_OBJECT
public:
    explicit CloseSignals(QObject* parent = nullptr);
    ~CloseSignals() override;

signals:
    void closeRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier* m_notifier = nullptr;
};
