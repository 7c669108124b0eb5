// The model schema: the one database object of the run and the eleven
// tables stored in it, with their record types, field codes and defaults.
//
// Every field is an 8-, 16- or 32-bit signed integer or a text. A text field
// holds a pointer to a NUL-terminated text, null for none; in a fetched
// record it points into the database until the next change. The engine
// stores a null text as an empty one. Each describe function chains a
// table's fields in its dictionary order, which is the order every walk over
// the fields follows (string space, flat images, the change test).
#pragma once

#include <cstdint>

#include "MemDB/dbEngine.h"
#include "MemDB/dbTableInfo.h"

// Read-write, 256 MB initial image, 4 MB extension, 524288 index entries,
// one worker. Constructed before every table descriptor below.
extern dbEngine theModelDb;

// Has db take back the holes of under a page that it frees, size by size,
// before it searches the image for space; the model database is opened so.
// A change copies the tree nodes and records it writes, and its commit frees
// the copies they replace: the next change's copies then go to space that
// is still in the cache rather than to fresh lines.
void ReuseFreedHoles(dbEngine& db);

enum {
    VISIBILITY_PRIVATE = 0,
    VISIBILITY_PROTECTED = 1,
    VISIBILITY_PACKAGE = 2,
    VISIBILITY_PUBLIC = 3
};

enum {
    MMC_NONE = 0,
    MMC_CLASS = 1,
    MMC_OPERATION = 2,
    MMC_ATTRIBUTE = 3,
    MMC_LITERAL = 4,
    MMC_NAMESPACE = 5,
    MMC_RELATION = 6,
    MMC_STEREOTYPE = 7,
    MMC_DIAGRAM = 8,
    MMC_PAGE = 9,
    MMC_COMMENT = 10
};

enum {
    MSC_RECTANGLE = 0,
    MSC_LINE = 1,
    MSC_FRAME = 2,
    MSC_LIFELINE = 3,
    MSC_DIAMOND = 4,
    MSC_ELLIPSE = 5,
    MSC_TEXT = 6,
    MSC_LINETEXT = 7,
    MSC_BAR = 8,
    MSC_NONE = 0xFF     // diagram and page symbols: no drawn shape
};

enum {
    ASSOCIATION_NONE = 0,
    ASSOCIATION_REFERENCE = 1,
    ASSOCIATION_SHARED = 2,
    ASSOCIATION_COMPOSITE = 3
};

enum {
    VIRTUALITY_NONE = 0,
    VIRTUALITY_VIRTUAL = 1,
    VIRTUALITY_FINALIZED = 2,
    VIRTUALITY_REDEFINED = 3
};

enum {
    PARAMETER_DIR_NONE = 0,
    PARAMETER_DIR_IN = 1,
    PARAMETER_DIR_OUT = 2,
    PARAMETER_DIR_INOUT = 3
};

// ModelT.ItemState bits.
enum {
    ITEM_EXPANDED = 1,
    ITEM_CHECKED = 2,
    ITEM_HAS_CHILDREN = 4,
    ITEM_FIXED = 32     // fixed in the model tree; on a page element: read-only page
};

// SymbolT.ItemState bits; 2, 4 and 8 belong to particular symbol classes.
enum {
    SYMBOL_AUTOLAYOUT = 1,
    SYMBOL_HAS_CHILDREN = 16,
    SYMBOL_READONLY = 32,
    SYMBOL_CHECKED = 128    // selected; selected symbols have ItemState >= 128
};

// A metamodel rule, filled from the metamodel file at start-up.
struct MetaEle {
    int32_t ID = 0;
    const char* Parent = nullptr;
    const char* Name = nullptr;
    const char* Model = nullptr;
    const char* Symbol = nullptr;
    int32_t In = -1;    // incoming lines: -1 free, 0 refused, n fewer than n
    int32_t Out = -1;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

// One model element.
struct ModelT {
    int32_t SN = 0;     // orders siblings
    int32_t ID = 0;     // element number from the model counter
    int32_t FID = 0;    // ID of the owner, 0 at the top
    const char* Name = nullptr;
    const char* Type = nullptr;         // metaclass name
    const char* File = nullptr;         // unit file of an element kept in its own file
    const char* Stereotype = nullptr;   // GUID of the applied Stereotype element
    const char* GUID = nullptr;
    const char* Use = nullptr;          // GUID of the element used or pointed to
    int8_t Visibility = 0;
    int8_t MMC = MMC_CLASS;
    int16_t ItemState = 0;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

// One drawn symbol.
struct SymbolT {
    int32_t PID = 0;    // ID of the page element
    int32_t ID = 0;     // symbol number from the symbol counter
    int32_t FID = 0;    // ID of the enclosing symbol, 0 at the top
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    int32_t sterey = 0;
    int32_t tx1 = 0;
    int32_t ty1 = 0;
    int32_t tx2 = 0;
    int32_t ty2 = 0;
    const char* Model = nullptr;
    const char* Text = nullptr;
    const char* GUID = nullptr;         // GUID of the element shown
    const char* SGUID = nullptr;        // the symbol's own identifier
    const char* Type = nullptr;
    const char* Stereotype = nullptr;
    int16_t ItemState = 0;
    int8_t MSC = 0;
    int8_t MMC = 0;
    int32_t Color = 0;
    const char* SrcID = nullptr;        // SGUID of a line's source symbol
    const char* DestID = nullptr;
    const char* Nodes = nullptr;        // a line's bend points
    const char* Syntax = nullptr;       // colour runs of Text

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

// One diagram page; ID is the page element's ID.
struct ModelPage {
    int32_t ID = 0;
    int32_t PageWidth = 21000;
    int32_t PageHeight = 29700;
    int16_t EdgeX = 1500;
    int16_t EdgeY = 1500;
    int8_t Parsed = 0;  // 1 once the page's colour runs were rebuilt after loading

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

// Extension rows, keyed by the element's ID. ModelClass and ModelUsecase
// have no defaults: callers fill every field.
struct ModelClass {
    int32_t ID;
    int8_t Abstract;
    int8_t Active;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

struct ModelOperation {
    int32_t ID = 0;
    const char* Multiplicity = nullptr;
    const char* Query = nullptr;
    const char* RaisedException = nullptr;
    int8_t Abstract = 0;
    int8_t Derived = 0;
    int8_t Static = 0;
    int8_t Virtuality = VIRTUALITY_NONE;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

struct ModelAttribute {
    int32_t ID = 0;
    int8_t Static = 0;
    int8_t Derived = 0;
    int8_t Associationkind = ASSOCIATION_NONE;
    int8_t ReadOnly = 0;
    int8_t Navigable = 1;
    const char* Defaultvalue = nullptr;
    const char* Multiplicity = nullptr;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

struct ModelParameter {
    int32_t ID = 0;
    const char* Defaultvalue = nullptr;
    const char* Multiplicity = nullptr;
    int8_t Direction = PARAMETER_DIR_NONE;
    int8_t Reference = 0;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

struct ModelUsecase {
    int32_t ID;
    int32_t EstimatedSize;
    int32_t EstimatedCost;
    int32_t ActualSize;
    int32_t ActualCost;
    const char* Author;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

// Stereotype rows are keyed by an owner number: the element's ID, or the
// negated ID of a symbol that shows no element.
struct StereotypeT {
    int32_t OID;
    const char* SSGUID;     // the tag's identifier
    const char* Value;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};

struct StereotypeObj {
    int32_t OID;
    const char* StereotypeGUID;

    static dbTableInfo TableInfo;
    static dbTableInfo* GetTableInfo() { return &TableInfo; }
};
