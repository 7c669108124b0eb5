// CVexalDoc: the placeholder document of the template. Projects are not
// documents: the main window opens and saves them; this one holds nothing.
#pragma once

#include "Platform/Document.h"

class CVexalDoc : public CDocument {
    DECLARE_DYNCREATE(CVexalDoc)
};
