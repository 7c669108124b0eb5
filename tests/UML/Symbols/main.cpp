// The symbol classes' tests under the shipped metamodel; nothing here may
// open a dialog.
#include "SymbolEnvironment.h"

int main(int argc, char** argv)
{
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT "/symbols");
    return RunSymbolTests(argc, argv, "symbols");
}
