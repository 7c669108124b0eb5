// CPropertyPane: the property grid of the Properties pane. It shows the
// rows of one element or one symbol, identified by its id and its kind,
// and writes committed rows back to the model.
// Invariant: thePropertyPane is the one live pane, or null.
#pragma once

#include "Controls/OptionTree.h"

class CPropertyPane : public COptionTree {
    DECLARE_DYNAMIC(CPropertyPane)
public:
    CPropertyPane();
    ~CPropertyPane() override;

    // Shows the item's rows, rebuilding them.
    virtual void ShowItem(int id, bool isElement);
    // Removes every row; nothing is shown.
    virtual void Clear();
    // Writes the committed rows' values back to the model.
    virtual void CommitEdit();
    // Commits a row whose editor is open, as leaving it would: a command
    // that saves, closes or runs a script must not lose the edit.
    void CommitOpenEdit();

    int GetShownId() const { return m_id; }
    bool IsShownElement() const { return m_isElement; }
    bool IsShowing(int id, bool isElement) const { return m_id > 0 && m_id == id && m_isElement == isElement; }

protected:
    int m_id = 0;
    bool m_isElement = false;
};

extern CPropertyPane* thePropertyPane;
