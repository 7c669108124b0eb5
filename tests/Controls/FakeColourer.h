// A colourer standing in for the metaclasses, installed as the finder of the
// type "Class": one run per word (bytes other than blanks and line feeds),
// the colours taken in turn from kWordColours, written into the shared writer
// as the metaclasses write; or fixed runs a test sets.
#pragma once

#include "Controls/SyntaxColourer.h"
#include "Pub/SyntaxRunCodec.h"

#include <cstring>
#include <string>

const COLORREF kWordColours[] = { RGB(0, 0, 255), RGB(0, 160, 0), RGB(255, 0, 0) };

class FakeColourer : public CSyntaxColourer {
public:
    const char* MakeSyntax(const SymbolT& row, int) override
    {
        lastType = row.Type;
        lastGuid = row.GUID;
        lastText = row.Text;
        ++calls;
        theSyntaxWriter.Reset();
        if (!fixedRuns.empty())
            return fixedRuns.c_str();
        int word = 0;
        for (int i = 0; row.Text[i]; ++i) {
            const bool starts = row.Text[i] != ' ' && row.Text[i] != '\n' &&
                                (i == 0 || row.Text[i - 1] == ' ' || row.Text[i - 1] == '\n');
            if (starts)
                theSyntaxWriter.AddRun(i, kWordColours[word++ % 3]);
        }
        return theSyntaxWriter.GetText();
    }
    std::string lastType, lastGuid, lastText;
    int calls = 0;
    // When set, the runs given instead of one per word.
    std::string fixedRuns;
};

inline FakeColourer& TheFakeColourer()
{
    static FakeColourer fake;
    return fake;
}

inline CSyntaxColourer* FindFakeColourer(const char* type)
{
    return std::strcmp(type, "Class") == 0 ? &TheFakeColourer() : nullptr;
}

// Installs the fake for one scope.
struct FakeFinderInstalled {
    FakeFinderInstalled()
    {
        old = SetSyntaxFinder(FindFakeColourer);
        TheFakeColourer().calls = 0;
        TheFakeColourer().fixedRuns.clear();
    }
    ~FakeFinderInstalled() { SetSyntaxFinder(old); }
    SyntaxFinder old;
};
