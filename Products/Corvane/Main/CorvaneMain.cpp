// corvane: reads, edits and writes the settings of a fieldbus coupler.
#include "Platform/Base/TextConversion.h"
#include "Products/Corvane/Main/CorvaneProgram.h"

#include <vector>

using namespace Corvane;

int main(int argc, char** argv)
{
    CCorvaneProgram program;
    std::vector<CString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(Text::Utf8ToWide(argv[i]).c_str());
    program.SetArguments(std::move(arguments));
    program.FitScaleToScreen();
    // The program ends with its main dialog: start-up gives FALSE then, so
    // the framework's message loop is not run.
    program.InitInstance();
    return program.ExitInstance();
}
