#pragma once
#include "platform/AppError.h"
#include <functional>

// The number of the failure a statement raises; 0 when it raises none.
inline int errorOf(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}
