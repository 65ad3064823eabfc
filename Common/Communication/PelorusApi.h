#pragma once
// The communication library is built with hidden visibility; the classes its
// users link against carry this mark.

#define PELORUS_API __attribute__((visibility("default")))
