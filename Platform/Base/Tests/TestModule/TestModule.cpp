// A tiny library that the module tests load: beside the test program, by
// bare name and by path.

extern "C" __attribute__((visibility("default"))) int ZellTestModuleTwicePlusOne(int value)
{
    return value * 2 + 1;
}
