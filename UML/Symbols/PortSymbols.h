// Ports and interface ends. A port is a 450 x 450 square on the border of a
// classifier box or part, showing a typed element ("name:Type") owned by the
// classifier (for a part: by the part's type). The interfaces a port or a box
// provides and requires stand outside its border: a Realized is a lollipop, a
// Required a socket, each a stick of 1150 from its attach point (x1, y1) to
// the centre (x2, y2) of a circle of radius 210, labelled with the interface's
// name. A port has at most one Realized and one Required element; their
// elements use the Interface (Use) and are owned by the port's element or the
// classifier.
//
// Port ItemState bits: 16 has interface ends, 128 selected.
#pragma once

#include "UML/Model/Symbol.h"

class CPortSymbol : public CSymbol {
public:
    CPortSymbol() : CSymbol(MMC_RELATION, MSC_RECTANGLE) {}
    // On a container that shows an element; a dropped port must belong to
    // the owner. A typed container (a part) lends its type as the owner,
    // which must exist and not be read-only.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    // The square, the text, the handles, then the interface ends.
    void Draw(const SymbolT& row, CDC* dc) override;
    // Name, and a type after a ":" written directly behind it.
    bool RenameElement(const SymbolT& row) override;
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    // Onto the side of related it sat on in the stored container (the
    // nearest side when none), the text outside; one interface end is laid
    // out, two are spread apart, more stay. Without a container, or when the
    // stored container is missing, nothing changes (0).
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // The square or text box, then the interface ends.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    // From the port's centre towards the reference point.
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
    // Black name, red ":", the type green when it resolves, else grey.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // The base rows, the port type, and the names of its interface ends.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
};

class CRealizedSymbol : public CSymbol {
public:
    CRealizedSymbol() : CSymbol(MMC_RELATION, MSC_BAR) {}
    // On a container that shows an element; on a port the port's element of
    // this kind is shown again when it has one. An element already shown in
    // the container, or another owner's, makes nothing.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // Links the Interface named by the whole text (none: Use cleared); the
    // element's own name stays.
    bool RenameElement(const SymbolT& row) override;
    // The interface's name and stereotype, when Use names one.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    // Straight out from the container's side: on a port, the port's outer
    // side. Without a container, or with a port whose container is missing,
    // nothing changes (0).
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // The stick, the text box, or the circle's square.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    // The point on the circle towards the reference.
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
    // Green when the text names an Interface, else grey.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // The used interface's name.
    const char* GetLabel(const ModelT& element) override;
    // Places an end that shares the port with another: from the middle of
    // side, 575 aside, the Realized and the Required to opposite sides. Any
    // other side leaves the end.
    virtual void ArrangeAttached(SymbolT& end, const SymbolT& port, CDC* dc, int side);

    // The interface drop-down keyed "Use": read-only, the current interface
    // alone; otherwise an empty entry and every Interface seen from scope.
    static void AddInterfaceRow(COptionTreeItem* category, COptionTree* grid, const char* currentUse, int scope,
                                bool readOnly);

protected:
    // The end point of the Realized (+1) or Required (-1) turned aside.
    virtual int Aside() const { return 1; }
    // The stick up to the circle, and the circle or socket.
    virtual void DrawEnd(const SymbolT& row, CDC* dc);
};

class CRequiredSymbol : public CRealizedSymbol {
public:
    // The socket's centre.
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;

protected:
    int Aside() const override { return -1; }
    void DrawEnd(const SymbolT& row, CDC* dc) override;
};
