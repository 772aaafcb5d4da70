#include "platform/windows/NamedMutex.h"
#include <windows.h>

NamedMutex::NamedMutex(const QString& name)
{
    m_handle = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()));
    m_elsewhere = m_handle && GetLastError() == ERROR_ALREADY_EXISTS;
    if (m_elsewhere) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

NamedMutex::~NamedMutex()
{
    if (m_handle)
        CloseHandle(m_handle);
}
