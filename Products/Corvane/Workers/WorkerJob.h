#pragma once
// What one kind of device worker does on its thread: its steps and the
// message that reports its end.

#include "Platform/Ui/WinUser.h"

class CWorkerContext;

class CWorkerJob {
public:
    // Results of the done messages.
    static constexpr WPARAM ResultFailed = 0;
    static constexpr WPARAM ResultSucceeded = 1;
    static constexpr WPARAM ResultCanceled = 5;
    static constexpr WPARAM ResultStarted = 6;

    virtual ~CWorkerJob() = default;
    // The steps; returns the result of the done message.
    virtual WPARAM Run(CWorkerContext& context) = 0;
    virtual UINT DoneMessage() const = 0;
};
