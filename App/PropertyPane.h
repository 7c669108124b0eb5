// CPropertyPane: the property grid of the Properties pane. It shows the
// rows of one element, or of one symbol after the rows of the element the
// symbol shows, identified by its id and its kind, and writes committed
// rows back to the model. The rows are the metaclass prototypes'; the pane
// orders the categories, keeps the set the user expanded and, after a
// commit, groups the undo records, refreshes and marks the changed units.
// Invariant: thePropertyPane is the one live pane, or null.
#pragma once

#include "Controls/OptionTree.h"
#include "MemDB/ModelSchema.h"

class CPropertyPane : public COptionTree {
    DECLARE_DYNAMIC(CPropertyPane)
public:
    CPropertyPane();
    ~CPropertyPane() override;

    // Shows the item's rows, rebuilding them; an id that no longer exists
    // shows nothing.
    virtual void ShowItem(int id, bool isElement);
    // Removes every row; nothing is shown.
    virtual void Clear();
    // Writes the committed rows' values back to the model as one undo group.
    virtual void CommitEdit();
    // Ends the open editor, committing its edit as leaving it would: a
    // command that saves, closes, opens, runs a script, undoes or redoes must
    // not lose it.
    void CommitOpenEdit();
    // Keeps the category's bit of the expanded set in step with the user.
    void OnItemExpanded(COptionTreeItem* otiItem, BOOL bExpanded) override;

    int GetShownId() const { return m_id; }
    bool IsShownElement() const { return m_isElement; }
    bool IsShowing(int id, bool isElement) const { return m_id > 0 && m_id == id && m_isElement == isElement; }

protected:
    void AddElementRows(const ModelT& element);
    void AddSymbolRows(const SymbolT& symbol);
    void ApplyElementRows(oid_t oid, ModelT& element);
    void ApplySymbolRows(oid_t oid, SymbolT& symbol);

    int m_id = 0;
    bool m_isElement = false;
};

extern CPropertyPane* thePropertyPane;
