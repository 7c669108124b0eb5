#include "Controls/SyntaxColourer.h"

namespace {

SyntaxFinder theFinder = nullptr;

} // namespace

SyntaxFinder SetSyntaxFinder(SyntaxFinder finder)
{
    const SyntaxFinder old = theFinder;
    theFinder = finder;
    return old;
}

CSyntaxColourer* FindSyntaxColourer(const char* type)
{
    return theFinder && type ? theFinder(type) : nullptr;
}
