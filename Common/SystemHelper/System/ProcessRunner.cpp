#include "Common/SystemHelper/System/ProcessRunner.h"

#include "Platform/Base/TextConversion.h"

#include <cerrno>
#include <cstring>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

void AppendSystemMessage(std::wstring& errorText, int error)
{
    char buffer[256] = {};
    // The GNU variant may return a static text instead of filling the buffer.
    const char* message = ::strerror_r(error, buffer, sizeof(buffer));
    std::string text = message ? message : "";
    if (text.size() > 255)
        text.resize(255);
    errorText += Text::Utf8ToWide(text);
}

}

bool RunProcess(const std::wstring& program, const std::vector<std::wstring>& arguments, std::wstring& errorText)
{
    if (program.empty()) {
        AppendSystemMessage(errorText, ENOENT);
        return false;
    }
    std::vector<std::string> texts;
    texts.reserve(arguments.size() + 1);
    texts.push_back(Text::WideToUtf8(program));
    for (const std::wstring& argument : arguments)
        texts.push_back(Text::WideToUtf8(argument));
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    // The program inherits no descriptors beyond the standard three.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t child = 0;
    const int error = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        AppendSystemMessage(errorText, error);
        return false;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            AppendSystemMessage(errorText, errno);
            return false;
        }
    }
    return true;
}
