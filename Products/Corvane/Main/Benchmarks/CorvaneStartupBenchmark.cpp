// The program's start-up time on the headless display: from the start of a
// process to the main dialog's first paint, printed beside the time from
// the start of a process to the first paint of a bare window. Each is the
// median of several fresh processes (this program started again in a
// child mode), so that loading the libraries counts as it does for a user.
// A third line starts the program with a 10 MB GUI XML file: it must stay
// within 1.5 times the usual start plus one parse of that file, so that the
// file is parsed once per start, not once per look-up. The benchmark fails
// when it does not.
#include "Platform/Base/TextConversion.h"
#include "Platform/Ui/WinUser.h"
#include "Platform/Xml/XmlDocument.h"
#include "Products/Corvane/Main/Tests/SourceTreeProgram.h"
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kRuns = 7;
constexpr LPCWSTR kBareClass = L"CorvaneBenchBare";

double NowMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void Report(double paintedAtMs)
{
    std::printf("%.3f\n", paintedAtMs);
    std::fflush(stdout);
}

// The program with the GUI XML file the parent names, or its own.
class CBenchProgram : public CSourceTreeProgram {
public:
    void InitGuiXmlFile() override
    {
        const char* file = std::getenv("ZELL_BENCH_GUI_XML");
        if (file == nullptr || *file == '\0')
            CSourceTreeProgram::InitGuiXmlFile();
        else
            m_guiXmlFile = Text::Utf8ToWide(file).c_str();
    }
};

int RunProgram()
{
    CBenchProgram program;
    program.SetDialogObserver([](CCorvaneDlg& dialog) {
        dialog.SetFirstPaintObserver([&dialog] {
            Report(NowMs());
            dialog.PostMessage(WM_CLOSE);
        });
    });
    program.InitInstance();
    return program.ExitInstance();
}

LRESULT BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        Report(NowMs());
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int RunBareWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &BareProc;
    windowClass.lpszClassName = kBareClass;
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, kBareClass, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 600, 400,
                                        nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    DestroyWindow(window);
    return 0;
}

// Starts this program in `mode` and gives the milliseconds from just before
// the start to the child's first paint; negative when it reported none.
double TimeChild(const char* self, const char* mode)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    const double started = NowMs();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::execl(self, self, mode, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[128];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    char* end = nullptr;
    const double painted = std::strtod(output.c_str(), &end);
    return end == output.c_str() ? -1 : painted - started;
}

template<typename Measure> double MedianOf(int runs, Measure measure)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = measure();
        if (ms >= 0)
            times.push_back(ms);
    }
    if (times.empty())
        return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Median(const char* self, const char* mode)
{
    return MedianOf(kRuns, [&] { return TimeChild(self, mode); });
}

// The program's own GUI XML file grown to about `bytes` with more texts,
// written as an installed file is: settled, not changing under the program.
std::string WriteLargeGuiXml(const std::string& folder, std::size_t bytes)
{
    std::ifstream in(CORVANE_GUI_XML, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind("</texts>");
    if (end == std::string::npos)
        return {};
    std::string extra;
    for (std::size_t n = 0; text.size() + extra.size() < bytes; ++n)
        extra += "    <text key=\"BENCH_FILLER_" + std::to_string(n) + "\"><locale code=\"de\">Fülltext Nummer "
            + std::to_string(n) + "</locale><locale code=\"en\">Filler text number " + std::to_string(n)
            + "</locale></text>\n";
    text.insert(end, extra);
    const std::string path = folder + "/large.GUI.XML";
    std::ofstream(path, std::ios::binary) << text;
    const timespec settled[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), settled, 0);
    return path;
}

double ParseMs(const std::string& path)
{
    const double started = NowMs();
    Xml::CXmlDocument document;
    return document.Load(path) ? NowMs() - started : -1;
}

}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--program") == 0)
        return RunProgram();
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return RunBareWindow();

    // The children paint on the headless display and keep their profile
    // in a folder of their own.
    char folder[] = "/tmp/corvane-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    ::setenv("XDG_CONFIG_HOME", folder, 1);
    ::setenv("ZELL_DISPLAY", "headless", 1);
    const double bare = Median(argv[0], "--bare");
    const double program = Median(argv[0], "--program");
    std::printf("process start to first paint, median of %d runs on the headless display:\n", kRuns);
    std::printf("  bare window   %8.1f ms\n", bare);
    std::printf("  main dialog   %8.1f ms%s\n", program, program >= 0 && program < 300 ? "" : "  (over 300 ms)");

    // A large text file costs its parse once, not once per look-up.
    const std::string large = WriteLargeGuiXml(folder, 10u << 20);
    const double parse = MedianOf(3, [&] { return ParseMs(large); });
    ::setenv("ZELL_BENCH_GUI_XML", large.c_str(), 1);
    const double big = Median(argv[0], "--program");
    const double bound = 1.5 * (program + parse);
    const bool within = big >= 0 && parse >= 0 && big <= bound;
    std::printf("  with a 10 MB text file %8.1f ms (one parse %.1f ms; bound 1.5 x (main dialog + parse) = %.1f ms)%s\n",
                big, parse, bound, within ? "" : "  (over the bound)");
    const std::string remove = std::string("rm -rf ") + folder;
    return std::system(remove.c_str()) == 0 && bare >= 0 && program >= 0 && within ? 0 : 1;
}
