// The text of a typed-element symbol: "name:Type[multiplicity]" with its
// colour runs, and the type's stereotype shown on the symbol.
#include "UML/Model/Symbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/TextPool.h"
#include "Pub/SyntaxRunCodec.h"

#include <cstring>
#include <string>

namespace {

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

// Appends piece to the pool's text with a run of colour at its start.
void Piece(const char* piece, COLORREF colour)
{
    theSyntaxWriter.AddRun(TextPool.BuiltLength(), colour);
    TextPool.Append(piece);
}

} // namespace

int CSymbol::ComposeTypedText(const ModelT& element, const SymbolT& symbol, oid_t symbolOid)
{
    theSyntaxWriter.Reset();
    TextPool.Reset();
    Piece(element.Name, 0);
    std::string stereotype;
    dbTypedCursor<ModelT> type(&ModelT::TableInfo);
    if (element.Use && *element.Use && type.SelectByKey("GUID", element.Use) > 0) {
        Piece(":", 0xFF0000);
        Piece(type->Name, 0x008000);
        stereotype = type->Stereotype ? type->Stereotype : "";
    }
    dbTypedCursor<ModelAttribute> attribute(&ModelAttribute::TableInfo);
    if (attribute.SelectByKey("ID", element.ID) > 0 && attribute->Multiplicity && *attribute->Multiplicity) {
        Piece("[", 0xFF0000);
        Piece(attribute->Multiplicity, 0x0000FF);
        Piece("]", 0xFF0000);
    }
    const std::string text = TextPool.Built();
    TextPool.Reset();
    if (SameText(symbol.Text, text.c_str()) && SameText(symbol.Stereotype, stereotype.c_str()))
        return 0;
    SymbolT updated = symbol;
    updated.Text = text.c_str();
    updated.Stereotype = stereotype.c_str();
    updated.Syntax = theSyntaxWriter.GetText();
    return MemDbUpdate(&SymbolT::TableInfo, &updated, symbolOid);
}
