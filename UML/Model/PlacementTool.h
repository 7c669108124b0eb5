// What the next press or drop on a diagram page creates: a metaclass armed on
// the symbol toolbar, or an element dragged from the model browser. One
// process-wide state; arming replaces whatever was armed.
//
// Modes: 0 none; 1 an element dragged from the browser; 2 a box, node or text
// kind armed; 3 a line kind armed; 4 a line kind whose first end was placed.
// Kind and MetaclassName are set in modes 1 to 4, DraggedElement in mode 1.
#pragma once

class PlacementTool {
public:
    enum Mode { None = 0, Dragging = 1, NodeKind = 2, LineKind = 3, LineStarted = 4 };

    static void Reset();
    // Arms palette index (the toolbar command minus 2023); an index that names
    // no metaclass leaves the tool reset.
    static void SelectKind(int index);
    // Starts a browser drag of the element; an unregistered metaclass leaves the
    // tool reset.
    static void BeginDrag(int elementId, const char* metaclass);
    // After a press that placed or tried to place: a started line waits for
    // its second end, anything else resets.
    static void Advance();

    // The dragged element in mode 1, else 0.
    static int GetDraggedElement();
    // The armed palette index in modes 2 to 4, else 0.
    static int GetKind();
    static int GetMode();
    static const char* GetMetaclassName();
    // Whether a rule under container names the armed metaclass; false in mode 0.
    static bool IsAllowedIn(const char* container);
};
