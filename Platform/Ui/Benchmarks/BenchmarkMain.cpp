// The window layer measures on the headless display unless told otherwise,
// so that `make bench` gives the same figures with or without a screen.
#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("ZELL_DISPLAY", "headless", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
