#pragma once
#include "platform/SoundOut.h"
#include <QDateTime>
#include <QString>
#include <QTimer>
#include <memory>

class QSoundEffect;

class QtSoundOut : public SoundOut {
public:
    QtSoundOut();
    ~QtSoundOut() override;
    void play(const QString& wavePath) override;
    void stop() override;
    void beep() override;
    int deviceCount() const override;

private:
    void apply();

    std::unique_ptr<QSoundEffect> m_effect;
    // The file the effect holds, as it was when loaded.
    QString m_path;
    QDateTime m_changed;
    // What was asked for last (empty: silence), carried out when the requests pause.
    QString m_wanted;
    QTimer m_settle;
};
