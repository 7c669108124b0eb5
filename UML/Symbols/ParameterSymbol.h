// Parameters: children of operation-like elements (their parameter lists) and
// of classes (their template parameters), in SN order, each with a
// ModelParameter row. Their Use is the GUID of their type, or the word "type"
// for a template parameter standing for a type. They have no symbol of their
// own: the owner's text shows them, so a new or changed parameter refreshes
// its owner's symbols.
#pragma once

#include "UML/Symbols/ExtendedElement.h"

class CParameterSymbol : public CExtendedElement<CSymbol, ModelParameter> {
public:
    CParameterSymbol();
    // The element and its row, then the owner's symbols are refreshed.
    int CreateElement(int ownerId, const char* name, const char* guid, const char* use) override;
    // Refreshes the owner's symbols; writes no row of the parameter.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
    // The base rows and the type, then direction, Reference, multiplicity and
    // default value.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // Stores the rows, then refreshes the owner's symbols at once.
    int ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root) override;
};
