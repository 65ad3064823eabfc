#pragma once
// Expects `statement` to throw `Type` whose what() is exactly `text`.

#include <gtest/gtest.h>

#include <string>

#define EXPECT_THROW_TEXT(statement, Type, text)                                  \
    do {                                                                          \
        try {                                                                     \
            statement;                                                            \
            ADD_FAILURE() << #statement " did not throw";                         \
        } catch (const Type& error) {                                             \
            EXPECT_EQ(std::string(error.what()), std::string(text)) << #statement; \
        } catch (...) {                                                           \
            ADD_FAILURE() << #statement " threw another type";                    \
        }                                                                         \
    } while (false)
