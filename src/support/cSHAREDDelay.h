#pragma once

// Cooperative waiting: sleeps that keep the window answering. Log name "mSHAREDDelay".
class cSHAREDDelay {
public:
    static cSHAREDDelay& instance();

    void newDoEvents();
    void DoEventss();
    void RegularDoEvents();
    void Delay(float seconds);
    void Sleep(int milliseconds);
    void MsgWait(int milliseconds);

    // How many times messages were pumped; lets tests see the waits answer input.
    long pumpCount() const { return m_pumps; }
    // Whether events are being pumped from inside another step right now.
    bool pumping() const { return m_depth > 0; }

private:
    void pump();
    double m_nextPump = 0;
    long m_pumps = 0;
    int m_depth = 0;
};
