#pragma once
// Starts a program and waits for it to end.

#include <string>
#include <vector>

// The program (a path, or a name looked up along PATH) gets each argument as
// one argument of its own. True when it was started and has ended, whatever
// its exit status; otherwise the system's message is appended to the error text.
bool RunProcess(const std::wstring& program, const std::vector<std::wstring>& arguments, std::wstring& errorText);
