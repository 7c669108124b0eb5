// The help export under the shipped metamodel with the symbol classes
// registered, as at start-up; nothing here may open a dialog.
#include "../../UML/Symbols/SymbolEnvironment.h"

int main(int argc, char** argv)
{
    return RunSymbolTests(argc, argv, "export");
}
