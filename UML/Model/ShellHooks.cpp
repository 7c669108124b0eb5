#include "UML/Model/ShellHooks.h"

#include "MemDB/db.h"

namespace {

unsigned InsertElement(const ModelT& element)
{
    return static_cast<unsigned>(MemDbInsert(&ModelT::TableInfo, &element));
}

void Nothing() {}
void NothingFor(int) {}
void NothingForItem(int, bool) {}
int NoUnit(int, int) { return -1; }
void NoMessage(const char*) {}
void NoMenu(const std::vector<ContextMenuItem>&, CWnd*, POINT) {}
int NoRoot() { return -1; }
CWnd* NoView() { return nullptr; }

const ShellHooks kDefaults = {
    InsertElement, Nothing,  NothingFor, NothingForItem, NothingForItem, Nothing, nullptr,
    NoUnit,        NoMessage, NoMenu,    NoRoot,         NoRoot,         NoRoot,         NoView,
};

} // namespace

ShellHooks theShellHooks = kDefaults;

void ResetShellHooks()
{
    theShellHooks = kDefaults;
}
