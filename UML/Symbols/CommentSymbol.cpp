#include "UML/Symbols/CommentSymbol.h"

#include "Platform/Dc.h"
#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "Pub/SyntaxRunCodec.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/ElementXml.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Symbols/BaseRows.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolText.h"

#include <cstring>

namespace {

const int kFold = 200;
const int kMargin = 200;
const int kLabelCharacters = 63;
const COLORREF kShadow = 0xC8C8C8;

} // namespace

int CCommentSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                                 const SymbolT* related)
{
    return CreateElementSymbol(start, end, pageId, text, elementGuid, related, false);
}

int CCommentSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int w = 0, h = 0;
    MeasureTextLines(dc, w, h, row.Text, 0);
    const int needW = w + 2 * p + 2 * kMargin;
    const int needH = h + 2 * kMargin;
    if (row.ItemState & SYMBOL_AUTOLAYOUT) {
        row.x2 = row.x1 + needW;
        row.y2 = row.y1 + needH;
        row.tx1 = row.x1 + kMargin;
        row.ty1 = row.y1 + kMargin;
        row.tx2 = row.x1 + needW - p - kMargin;
        row.ty2 = row.y1 + needH - p;
    } else {
        if (row.x2 - row.x1 < needW)
            row.x2 = row.x1 + needW;
        if (row.y2 - row.y1 < needH)
            row.y2 = row.y1 + needH;
    }
    return 1;
}

void CCommentSymbol::DrawShadow(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    PageFillRect(dc, row.x2, row.y1 + 2 * p + kFold, row.x2 + 2 * p, row.y2, kShadow);
    PageFillRect(dc, row.x1 + 2 * p, row.y2 + p, row.x2 + 2 * p, row.y2 + 2 * p, kShadow);
}

void CCommentSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawShadow(row, dc);
    POINT corners[5] = {{row.x1, row.y1},
                        {row.x2 - kFold, row.y1},
                        {row.x2, row.y1 + kFold},
                        {row.x2, row.y2},
                        {row.x1, row.y2}};
    PagePolygon(dc, corners, 5);
    PageMoveTo(dc, row.x2 - kFold, row.y1);
    PageLineTo(dc, row.x2 - kFold, row.y1 + kFold);
    PageLineTo(dc, row.x2, row.y1 + kFold);
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

const char* CCommentSymbol::MakeSyntax(const SymbolT&, int)
{
    theSyntaxWriter.Reset();
    theSyntaxWriter.AddRun(0, colour_);
    return theSyntaxWriter.GetText();
}

const char* CCommentSymbol::GetLabel(const ModelT& element)
{
    static char label[kLabelCharacters * 4 + 4];
    label[0] = '\0';
    if (!element.Name || !*element.Name)
        return label;
    // Whole characters only: a UTF-8 sequence is never cut.
    int bytes = 0;
    char ch[MbCharBufferSize];
    for (int n = 0; n < kLabelCharacters; ++n) {
        const int length = CopyMbChar(element.Name, ch, bytes);
        if (length == 0)
            break;
        bytes += length;
    }
    std::memcpy(label, element.Name, size_t(bytes));
    std::memcpy(label + bytes, "...", 4);
    return label;
}

void CCommentSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    XmlWriteTextIfSet(xml, "Name", element.Name);
    XmlWriteTextIfSet(xml, "GUID", element.GUID);
}

bool CCommentSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    CBufferedFile file;
    if (!OpenHtmlPage(folder, element, file))
        return false;
    HtmlPageHead(element, file);
    HtmlSectionRow(file, LoadResString(61447));
    HtmlRowText(file, LoadResString(61470), element.Name);
    HtmlPageTail(file);
    return CloseHtmlPage(file);
}

COptionTreeItem* CCommentSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    return AddNameTypeCategory(element, readOnly, true, grid);
}
