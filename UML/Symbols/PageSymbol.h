// Pages: model elements of metaclass Page, children of their diagram, each
// with a ModelPage row of the same ID holding its size and edges. A page's
// symbols are the SymbolT rows whose PID is the page's ID; inside the page's
// element of a unit file each top-level symbol is a child element, and each
// symbol's element holds its "Stereo" values and then the elements of the
// symbols nested in it, in ascending ID order at every level.
#pragma once

#include "UML/Model/Symbol.h"

class CXmlFile;

// The page limits: every value above 0, 2 x EdgeX < PageWidth <= 42000 and
// 2 x EdgeY < PageHeight <= 59400. Checked on the full values, before they are
// narrowed into the row.
bool PageValuesFit(int width, int height, int edgeX, int edgeY);

class CPageSymbol : public CSymbol {
public:
    CPageSymbol();
    // The page element under diagramId and its ModelPage row with the
    // defaults, both undoable; the page's ID.
    int CreateElement(int diagramId, const char* name, const char* guid, const char* use) override;
    // Removes the ModelPage row, the element and every symbol of the page,
    // undoably; the elements the symbols show stay.
    void DeleteElement(int pageId) override;
    // The element's attributes and the page values, then its symbols up to
    // the page's end tag. Page values outside the limits take the defaults
    // (logged); Parsed is never read, so a loaded page is completed when it
    // is first opened. Returns 0: the page has read its content itself.
    int LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path) override;
    // The element's attributes, the page values that are not 0, then the
    // symbols, which are written even when the ModelPage row is missing.
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    // A ModelT column, else a ModelPage column.
    int GetElementField(const ModelT& element, const char* column, char* buffer, int size) override;
    // Pairs go to the ModelT column of their name, else to the ModelPage one;
    // values outside the page limits refuse the whole call (logged).
    int InsertElementFields(const ColumnValueList& pairs) override;
    bool UpdateElementFields(int elementId, const ColumnValueList& pairs) override;
    // Name and Type; then the page values when the page has them.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // The name, then the page values read whole: values outside the limits are
    // refused silently, a usable area too small for the page's symbols with
    // "Can't be smaller than (%d, %d)" in the Messages pane. Nothing is stored
    // on a refusal; otherwise 1 when a row changed.
    int ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root) override;
    // "Page<ID>.htm": the base rows, then the page values when the page has them.
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;

    // The symbols of the page nested in parentId (0: the top level) and,
    // inside each, its own nested symbols.
    static void SaveSymbolsXml(CXmlFile& xml, int pageId, int parentId);
    // Reads symbol elements up to the page's own end tag, straight into the
    // engine. Every start tag opens a level that its end tag closes; an
    // element that names no metaclass with symbols (unknown, a diagram, Page)
    // is skipped with its content. Symbols of a read-only page carry bit 0x20.
    // Returns pageId.
    static int LoadSymbolsXml(CXmlFile& xml, int pageId, bool readOnly);
    // How many elements LoadSymbolsXml has skipped in this process: a reader
    // that must not write a file back over content it could not keep
    // compares the count before and after a page.
    static int SkippedElements();
};
