// CSymbol: the handler of one metaclass. There is one object per metaclass
// name, a prototype built by the registry; elements and symbols are rows of
// ModelT and SymbolT, and every operation takes the row it acts on, so a
// prototype keeps no per-row state. Callers find the prototype of a row by its
// Type and call its virtual operations; a refusal is a 0, null or false result
// with nothing written. The colour editor reaches MakeSyntax through the
// finder the registry installs.
#pragma once

#include "Controls/SyntaxColourer.h"
#include "MemDB/ModelSchema.h"
#include "Platform/Geometry.h"
#include "UML/Model/FieldText.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CBufferedFile;
class CDC;
class COptionTree;
class COptionTreeItem;
class CString;
class CXmlFile;

// A copy of a symbol row whose Type, GUID and SGUID point into buffers of its
// own, so the copy stays valid after the row changes. The other texts still
// point into the database.
struct HitSymbol {
    SymbolT rec;
    char type[65];
    char guid[23];
    char sguid[23];

    HitSymbol() { Clear(); }
    HitSymbol(const HitSymbol& other) { *this = other; }
    HitSymbol& operator=(const HitSymbol& other);
    void Set(const SymbolT& row);
    // No symbol: PID and ID 0, not selected.
    void Clear();
};

// Element and symbol numbers: each new row takes the counter incremented by one.
extern int theNextElementId;
extern int theNextSymbolId;
// Sets both counters to 0 and makes the type look-ups and the expression
// checker forget the last project; run when a project is created or opened.
void ResetModelCounters();

// The owner map of one paste: pairs (old ID, new ID), the bottom pair
// (-1, target) naming where pasted rows go.
struct PasteIdMap {
    explicit PasteIdMap(int target) { pairs.reserve(10); pairs.emplace_back(-1, target); }
    std::vector<std::pair<int, int>> pairs;
};

// Sets fields of the symbol from column/value pairs, straight into the
// engine; ID never changes. False when the symbol is missing.
bool UpdateSymbolFields(int symbolId, const ColumnValueList& pairs);

class CSymbol : public CSyntaxColourer {
public:
    CSymbol(int8_t mmc = MMC_CLASS, int8_t msc = MSC_RECTANGLE);
    virtual ~CSymbol() = default;
    CSymbol(const CSymbol&) = delete;
    CSymbol& operator=(const CSymbol&) = delete;

    // Inserts a new element of this metaclass under ownerId through the
    // shell's InsertModelElement; its ID, 0 when refused.
    virtual int CreateElement(int ownerId, const char* name, const char* guid, const char* use);
    // Inserts a symbol from start to end on the page; related is the enclosing
    // symbol, or a line's source. The base makes no element. Its ID, 0 when
    // refused.
    virtual int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                             const SymbolT* related);
    // The base draws a shadowed box with its stereotype and coloured text, and
    // its handles when selected.
    virtual void Draw(const SymbolT& row, CDC* dc);
    // One-pixel grey strips along the right and bottom edges.
    virtual void DrawShadow(const SymbolT& row, CDC* dc);
    // True when the element's Name was set from the symbol's Text.
    virtual bool RenameElement(const SymbolT& row);
    // For a symbol whose text names the element it shows: points row.GUID,
    // kept in guid, at the element the text names. True when the row
    // changed; the caller stores it. The base changes nothing.
    virtual bool TakeNamedElement(SymbolT& row, std::string& guid);
    // Copies the element's Name and Stereotype into the symbol row oid when they
    // differ; the result of the update, 0 when nothing changed.
    virtual int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid);
    // Sizes the box around its stereotype and text: exactly with Autolayout,
    // otherwise only growing. The caller stores the row. A line prototype
    // without a layout of its own leaves the line alone and reports 0.
    virtual int Layout(SymbolT& row, CDC* dc, const SymbolT* related);
    // A point inside the bounds or the text box, edges included; the row goes to out.
    virtual bool HitTest(POINT point, const SymbolT& row, HitSymbol& out);
    // Moves (x, y) onto target's border where the line towards the reference
    // point crosses it; returns the side (1 left, 2 top, 3 right, 4 bottom).
    virtual int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY);
    // Attaches end 0 (source) or 1 (destination) of the line to target, or
    // moves bend point end - 2 to point. On success the caller's row holds the
    // new end (or Nodes in the text pool) and the caller lays out and stores
    // it; a refusal leaves the row as it was.
    virtual bool ConnectLineEnd(SymbolT& line, const SymbolT* target, POINT point, CDC* dc, int end);
    // Reads one element's start-tag attributes into record (prepared by the
    // caller with Type, MMC and ItemState) and inserts it under ownerId
    // without an undo record; its File goes to path (260 bytes). Returns the
    // new ID.
    virtual int LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path);
    // Writes the element's attributes inside its open start tag.
    virtual void SaveElementXml(CXmlFile& xml, const ModelT& element);
    // A column of the element as text (GetFieldText on the element table).
    virtual int GetElementField(const ModelT& element, const char* column, char* buffer, int size);
    // An element of this metaclass from column/value pairs, straight into the
    // engine: Type is the metaclass whatever the pairs say, a GUID is made
    // when none is given. Returns the new ID.
    virtual int InsertElementFields(const ColumnValueList& pairs);
    // Sets fields of the element; ID never changes. False, with nothing
    // written, when the element is missing or the pairs would put it under
    // itself.
    virtual bool UpdateElementFields(int elementId, const ColumnValueList& pairs);
    // A symbol of this metaclass from pairs; Type, and MSC, MMC and an SGUID
    // unless given, come from the prototype. Returns the new symbol ID.
    virtual int InsertSymbolFields(const ColumnValueList& pairs);
    // Colour runs of the row's Text in theSyntaxWriter; the base colours it black.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // The owner of the element shown, for a nested symbol with an element;
    // otherwise defaultId.
    virtual int GetOwnerElement(const SymbolT& row, int defaultId);
    // The "Base properties" category of an element at the end of the grid:
    // Name, Type (read-only), the stereotype chooser, Visibility and, for
    // metaclasses kept in units of their own, File (read-only).
    virtual COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid);
    // Writes the rows of root's first child (the element's category) back by
    // column name and stores the element recordId; 0 without a category.
    virtual int ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root);
    // The "Symbol Property" category: Autolayout, the colour (not for lines),
    // the stereotype chooser for a symbol without an element, the Type of a
    // symbol without a category. Read-only when the symbol is.
    virtual COptionTreeItem* AddSymbolProperties(const SymbolT& row, COptionTree* grid);
    // Takes back Autolayout and colour by position and the stereotype
    // chooser by its key; a changed
    // stereotype replaces the link and drops the old values, and the value
    // rows are written (the page's unit is marked when they changed). True
    // when the row changed; the caller stores it.
    virtual bool ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category);
    // Whether an element of this metaclass may be owned by the element ownerId.
    virtual bool CanBeChildOf(int ownerId);
    // Whether a line of this kind may start (source) or end at target, within
    // the In and Out limits of its rule.
    virtual bool CanConnect(const SymbolT& target, bool source);
    virtual const char* GetLabel(const ModelT& element);
    // "<metaName><counter>", the counter then advancing; returns the length.
    virtual int MakeDefaultName(char* buffer, int size);
    // Removes the element and its stereotype links and values; nothing for a
    // metaclass without elements.
    virtual void DeleteElement(int elementId);
    // Writes the element's help page "<metaName><ID>.htm" into folder; false,
    // after a log entry, when the page cannot be created or written.
    virtual bool WriteHtmlPage(const char* folder, const ModelT& element);
    // Flat images for the clipboard: the record, then its texts (MemDbFlatten).
    virtual size_t FlattenSymbol(void* buffer, const SymbolT& row);
    virtual size_t FlattenElement(void* buffer, const ModelT& element);
    virtual size_t FlatElementSize(const ModelT& element);
    // Re-attaches every line that starts or ends at the moved symbol and stores
    // each one its own prototype lays out.
    virtual void UpdateAttachedLines(const SymbolT& moved, CDC* dc);
    // Inserts a copy of the symbol image at the start of the size bytes onto
    // pageId with new numbers; the bytes the image takes, 0 when the bytes hold
    // no whole image (nothing inserted).
    virtual size_t PasteSymbol(const void* image, size_t size, int pageId, PasteIdMap& map);
    // The same for an element image; 0 also when the new owner may not own it.
    virtual size_t PasteElement(const void* image, size_t size, PasteIdMap& map);
    // Keeps a point one device pixel inside the usable page.
    virtual void ClampToPage(int& x, int& y);
    // Makes the owner's Parameter children (in ID order) follow the list in
    // text, each with its ModelParameter row: existing ones take the items in
    // turn, those left over are removed, further items become new children.
    // Undoable; returns the children visited and made.
    virtual int ParseParameters(int ownerId, const char* text, int length);
    virtual void DrawStereotype(CDC* dc, const SymbolT& row);
    // Width and height of the stereotype lines for a character width.
    virtual void MeasureStereotype(int& width, int& height, const SymbolT& row, int charWidth);

    // A new element record: the next element number, the owner, the type
    // named by this metaclass and its category. Writes nothing to the database.
    void FillElementRecord(ModelT& record, int ownerId, const char* name, const char* guid, const char* use);
    // A new symbol record with Autolayout on and the next symbol number. A
    // line takes its ends from source and destination; any other symbol takes
    // source as its enclosing symbol. A Model naming a registered metaclass
    // gives that metaclass's category.
    void FillSymbolRecord(SymbolT& record, int x1, int y1, int x2, int y2, int pageId, const char* text,
                          const char* guid, const char* sguid, const SymbolT* source, const SymbolT* destination);
    // Inserts a symbol row from start to end with a new SGUID, showing the
    // element guid (none for null) in Model's metaclass when model is given,
    // inside enclosing (or, for a line, from it). Its ID, 0 when refused.
    int InsertSymbolRow(POINT start, POINT end, int pageId, const char* text, const char* guid,
                        const SymbolT* enclosing, const char* model = nullptr);
    // Puts both ends of the line on the borders of its end symbols and places
    // its label; false when an end symbol is missing (the source end may have
    // moved already).
    bool FitLineEnds(SymbolT& line, CDC* dc);

    int nameCounter = 1;
    int metaIndex = -1;
    char metaName[65] = "";
    char modelName[65] = "";
    char symbolName[65] = "";
    char defaultStereotype[65] = "";
    char helpTopic[260] = "";
    int iconIndex = -1;
    int fileUnit = 0;
    int8_t mmc;
    int8_t msc;
    dbTableInfo* elementTable = &ModelT::TableInfo;
    dbTableInfo* extensionTable = nullptr;
    dbTableInfo* secondExtensionTable = nullptr;

    // Rebuilds a typed-element symbol's Text ("name:Type[multiplicity]"),
    // colour runs and Stereotype (the type's) from the element, and stores
    // the row symbolOid when they changed; the result of the update.
    int ComposeTypedText(const ModelT& element, const SymbolT& symbol, oid_t symbolOid);
    // The help page name of an element: "<metaName><ID>.htm".
    CString HtmlPageName(const ModelT& element) const;

protected:
    // The creation of a symbol that shows an element, for the handlers whose
    // symbols do: a dropped element (elementGuid) must exist and lends its
    // name; otherwise a new element is made under the element the enclosing
    // symbol shows, or else under the owner of the page's diagram, named text
    // (a default name for an empty text when defaultName is set). The new
    // symbol's ID, 0 when refused (nothing written).
    int CreateElementSymbol(POINT start, POINT end, int pageId, const char* text, const char* elementGuid,
                            const SymbolT* enclosing, bool defaultName);

    // Creates the element's page in folder for writing; false after a log entry.
    bool OpenHtmlPage(const char* folder, const ModelT& element, CBufferedFile& file) const;
    // Closes the page; false after a log entry when a byte did not arrive.
    bool CloseHtmlPage(CBufferedFile& file) const;
    // The default stereotype shown on a row: that of the metaclass its Model
    // names, else this prototype's.
    const char* DefaultStereotypeOf(const SymbolT& row) const;
};

// "<<name>>" centred between the row's tx1 and tx2 on line y, in the
// context's current font and colour.
void DrawGuillemets(CDC* dc, const SymbolT& row, int y, const char* name);

// Pops pairs above the one whose old ID is oldId (never the bottom one),
// takes that pair's new ID as the owner, then pushes (oldId, newId).
int RemapPastedId(PasteIdMap& map, int oldId, int newId);
