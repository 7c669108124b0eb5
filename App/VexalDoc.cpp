#include "App/VexalDoc.h"

IMPLEMENT_DYNCREATE(CVexalDoc, CDocument)
