// CSymbol: the handler of one metaclass. There is one object per metaclass
// name, a prototype built by the registry; elements and symbols are rows of
// ModelT and SymbolT, and every operation takes the row it acts on, so a
// prototype keeps no per-row state. Callers find the prototype of a row by its
// Type and call its virtual operations; a refusal is a 0, null or false result
// with nothing written.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/Geometry.h"

class CDC;

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
// Sets both counters to 0; run when a project is created or opened.
void ResetModelCounters();

class CSymbol {
public:
    CSymbol(int8_t mmc = MMC_CLASS, int8_t msc = MSC_RECTANGLE);
    virtual ~CSymbol() = default;
    CSymbol(const CSymbol&) = delete;
    CSymbol& operator=(const CSymbol&) = delete;

    // The base draws a shadowed box with its stereotype and coloured text, and
    // its handles when selected.
    virtual void Draw(const SymbolT& row, CDC* dc);
    // One-pixel grey strips along the right and bottom edges.
    virtual void DrawShadow(const SymbolT& row, CDC* dc);
    // True when the element's Name was set from the symbol's Text.
    virtual bool RenameElement(const SymbolT& row);
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
    // Colour runs of the row's Text in theSyntaxWriter; the base colours it black.
    virtual const char* MakeSyntax(const SymbolT& row, int scopeId);
    // The owner of the element shown, for a nested symbol with an element;
    // otherwise defaultId.
    virtual int GetOwnerElement(const SymbolT& row, int defaultId);
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
    // Re-attaches every line that starts or ends at the moved symbol and stores
    // each one its own prototype lays out.
    virtual void UpdateAttachedLines(const SymbolT& moved, CDC* dc);
    // Keeps a point one device pixel inside the usable page.
    virtual void ClampToPage(int& x, int& y);
    virtual void DrawStereotype(CDC* dc, const SymbolT& row);
    // Width and height of the stereotype lines for a character width.
    virtual void MeasureStereotype(int& width, int& height, const SymbolT& row, int charWidth);

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

protected:
    // The default stereotype shown on a row: that of the metaclass its Model
    // names, else this prototype's.
    const char* DefaultStereotypeOf(const SymbolT& row) const;
};
