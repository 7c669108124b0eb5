// Stand-ins for two symbol classes, registered before the metamodel load as
// the real ones will be: a box that shows an element, and a relationship
// line that remembers the source its CanConnect accepted, draws its handles
// and is laid out by fitting its ends.
#pragma once

#include "MemDB/db.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/LinePath.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRows.h"

#include <cstring>
#include <string>

// Below its name a box answers a hit with an empty attribute band: no
// symbol (ID 0) inside the box, whose text box is the band.
class TestBox : public CSymbol {
public:
    TestBox() : CSymbol(MMC_CLASS, MSC_RECTANGLE) {}
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                     const SymbolT* related) override
    {
        return CreateElementSymbol(start, end, pageId, text, elementGuid, related, true);
    }
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override
    {
        if (!CSymbol::HitTest(point, row, out))
            return false;
        if (point.y > row.ty2 && point.y <= row.y2 && point.x >= row.x1 && point.x <= row.x2) {
            out.rec.FID = row.ID;
            out.rec.ID = 0;
            out.rec.MMC = MMC_ATTRIBUTE;
            out.rec.MSC = MSC_LINETEXT;
            out.rec.Text = "";
            out.rec.tx1 = row.x1;
            out.rec.ty1 = row.ty2;
            out.rec.tx2 = row.x2;
            out.rec.ty2 = row.y2;
            std::strcpy(out.type, "Attribute");
            out.guid[0] = out.sguid[0] = '\0';
        }
        return true;
    }
};

class TestLine : public CSymbol {
public:
    TestLine() : CSymbol(MMC_ATTRIBUTE, MSC_LINE) {}

    bool CanConnect(const SymbolT& target, bool source) override
    {
        if (source)
            source_.Set(target);
        return CSymbol::CanConnect(target, source);
    }
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char*,
                     const SymbolT* destination) override
    {
        if (!destination || !destination->GUID || !*destination->GUID)
            return 0;
        const int owner = ElementIdOfSymbol(&source_.rec);
        if (owner <= 0 || std::strcmp(source_.sguid, destination->SGUID ? destination->SGUID : "") == 0)
            return 0;
        const std::string use = destination->GUID;
        char guid[23], sguid[23];
        if (!MakeGuidText(guid, sizeof guid, TRUE) || !MakeGuidText(sguid, sizeof sguid, FALSE) ||
            !CreateElement(owner, text ? text : "", guid, use.c_str()))
            return 0;
        SymbolT row;
        FillSymbolRecord(row, start.x, start.y, end.x, end.y, pageId, text, guid, sguid, &source_.rec, destination);
        return MemDbInsert(&SymbolT::TableInfo, &row) ? row.ID : 0;
    }
    int Layout(SymbolT& row, CDC* dc, const SymbolT*) override { return FitLineEnds(row, dc); }
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override
    {
        if (!HitTestLine(point, row, nullptr))
            return false;
        out.Set(row);
        return true;
    }
    void Draw(const SymbolT& row, CDC* dc) override
    {
        LineSegment first{}, last{};
        CPen* old = dc->SelectObject(&DrawResources::BlackPen);
        DrawLinePath(row, dc, first, last);
        dc->SelectObject(old);
        if (row.ItemState & SYMBOL_CHECKED) {
            DrawPointHandle(dc, row.x1 - 100, row.y1 - 100, 0);
            DrawPointHandle(dc, row.x2 - 100, row.y2 - 100, 1);
        }
    }

private:
    HitSymbol source_;
};
