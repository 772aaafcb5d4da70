#pragma once
#include <QString>

// The system's own lock: it goes with its process however that ends, so a killed copy never
// blocks the next start, and no file is left behind.
class NamedMutex {
public:
    explicit NamedMutex(const QString& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;
    bool held() const { return m_handle != nullptr; }
    bool heldElsewhere() const { return m_elsewhere; }

private:
    void* m_handle = nullptr;
    bool m_elsewhere = false;
};
