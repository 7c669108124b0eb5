// The identifier of the model element of a name, 0 when none has it.
#pragma once

#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"

inline int ElementNamed(const char* name)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("Name", name) > 0 ? c->ID : 0;
}
