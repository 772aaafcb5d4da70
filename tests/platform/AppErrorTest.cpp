#include "platform/AppError.h"
#include <gtest/gtest.h>
#include <stdexcept>

TEST(AppError, KeepsTheOriginalNumbersAndDescriptions)
{
    EXPECT_EQ(AppError(6).description(), "Overflow");
    EXPECT_EQ(AppError(13).description(), "Type mismatch");
    EXPECT_EQ(AppError(61).description(), "Disk full");
    EXPECT_EQ(AppError(75).description(), "Path/File access error");
    EXPECT_EQ(AppError::from(std::bad_alloc()).number(), 7);
    EXPECT_EQ(AppError::from(AppError(52)).number(), 52);
    EXPECT_EQ(AppError::from(std::runtime_error("x")).number(), 5);
}
