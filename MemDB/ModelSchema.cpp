// The model database and its table descriptors. Everything here is defined
// in one file so that the engine is constructed before the descriptors and
// destroyed after them.
#include "MemDB/ModelSchema.h"

#include <cstddef>

dbEngine theModelDb(dbEngine::dbAllAccess, 0x10000000, 0x400000, 0x80000, 1);

void ReuseFreedHoles(dbEngine& db)
{
    // One bucket per allocation quantum; a commit of a large change frees
    // more holes than are kept, and the rest are found by the search.
    db.GetHoleCache().Configure(dbAllocationQuantum, dbPageSize, dbAllocationQuantum, 16384);
}

namespace {

const int Indexed = dbFieldInfo::INDEXED;

template <class T>
dbFieldInfo* Int(const char* name, size_t offset, int flags = 0)
{
    return dbDescribe<T>(name, offset, flags);
}

dbFieldInfo* Text(const char* name, size_t offset, int flags = 0)
{
    return dbDescribe<const char*>(name, offset, flags);
}

dbFieldInfo* DescribeMetaEle()
{
    return dbFieldList({
        Text("Parent", offsetof(MetaEle, Parent), Indexed),
        Int<int32_t>("ID", offsetof(MetaEle, ID), Indexed),
        Text("Name", offsetof(MetaEle, Name)),
        Text("Model", offsetof(MetaEle, Model)),
        Text("Symbol", offsetof(MetaEle, Symbol)),
        Int<int32_t>("In", offsetof(MetaEle, In)),
        Int<int32_t>("Out", offsetof(MetaEle, Out)),
    });
}

dbFieldInfo* DescribeModelT()
{
    return dbFieldList({
        Int<int32_t>("ID", offsetof(ModelT, ID), Indexed),
        Int<int32_t>("FID", offsetof(ModelT, FID), Indexed),
        Int<int32_t>("SN", offsetof(ModelT, SN), Indexed),
        Text("Name", offsetof(ModelT, Name), Indexed),
        Text("Type", offsetof(ModelT, Type), Indexed),
        Text("GUID", offsetof(ModelT, GUID), Indexed),
        Text("Use", offsetof(ModelT, Use), Indexed),
        Int<int8_t>("Visibility", offsetof(ModelT, Visibility)),
        Text("Stereotype", offsetof(ModelT, Stereotype)),
        Text("File", offsetof(ModelT, File)),
        Int<int16_t>("ItemState", offsetof(ModelT, ItemState)),
        Int<int8_t>("MMC", offsetof(ModelT, MMC)),
    });
}

dbFieldInfo* DescribeSymbolT()
{
    return dbFieldList({
        Int<int32_t>("FID", offsetof(SymbolT, FID), Indexed),
        Int<int32_t>("ID", offsetof(SymbolT, ID), Indexed),
        Int<int32_t>("PID", offsetof(SymbolT, PID), Indexed),
        Int<int32_t>("x1", offsetof(SymbolT, x1)),
        Int<int32_t>("y1", offsetof(SymbolT, y1)),
        Int<int32_t>("x2", offsetof(SymbolT, x2)),
        Int<int32_t>("y2", offsetof(SymbolT, y2)),
        Int<int32_t>("sterey", offsetof(SymbolT, sterey)),
        Int<int32_t>("tx1", offsetof(SymbolT, tx1)),
        Int<int32_t>("ty1", offsetof(SymbolT, ty1)),
        Int<int32_t>("tx2", offsetof(SymbolT, tx2)),
        Int<int32_t>("ty2", offsetof(SymbolT, ty2)),
        Text("SGUID", offsetof(SymbolT, SGUID), Indexed),
        Text("GUID", offsetof(SymbolT, GUID), Indexed),
        Text("Stereotype", offsetof(SymbolT, Stereotype)),
        Text("Model", offsetof(SymbolT, Model)),
        Text("Type", offsetof(SymbolT, Type)),
        Int<int32_t>("Color", offsetof(SymbolT, Color)),
        Int<int8_t>("MSC", offsetof(SymbolT, MSC)),
        Int<int8_t>("MMC", offsetof(SymbolT, MMC)),
        Int<int16_t>("ItemState", offsetof(SymbolT, ItemState)),
        Text("Text", offsetof(SymbolT, Text)),
        Text("Syntax", offsetof(SymbolT, Syntax)),
        Text("SrcID", offsetof(SymbolT, SrcID), Indexed),
        Text("DestID", offsetof(SymbolT, DestID), Indexed),
        Text("Nodes", offsetof(SymbolT, Nodes)),
    });
}

dbFieldInfo* DescribeModelPage()
{
    return dbFieldList({
        Int<int32_t>("PageWidth", offsetof(ModelPage, PageWidth)),
        Int<int32_t>("PageHeight", offsetof(ModelPage, PageHeight)),
        Int<int16_t>("EdgeX", offsetof(ModelPage, EdgeX)),
        Int<int16_t>("EdgeY", offsetof(ModelPage, EdgeY)),
        Int<int8_t>("Parsed", offsetof(ModelPage, Parsed)),
        Int<int32_t>("ID", offsetof(ModelPage, ID), Indexed),
    });
}

dbFieldInfo* DescribeModelClass()
{
    return dbFieldList({
        Int<int32_t>("ID", offsetof(ModelClass, ID), Indexed),
        Int<int8_t>("Abstract", offsetof(ModelClass, Abstract)),
        Int<int8_t>("Active", offsetof(ModelClass, Active)),
    });
}

dbFieldInfo* DescribeModelOperation()
{
    return dbFieldList({
        Int<int32_t>("ID", offsetof(ModelOperation, ID), Indexed),
        Int<int8_t>("Abstract", offsetof(ModelOperation, Abstract)),
        Int<int8_t>("Derived", offsetof(ModelOperation, Derived)),
        Int<int8_t>("Static", offsetof(ModelOperation, Static)),
        Int<int8_t>("Virtuality", offsetof(ModelOperation, Virtuality)),
        Text("Multiplicity", offsetof(ModelOperation, Multiplicity)),
        Text("Query", offsetof(ModelOperation, Query)),
        Text("RaisedException", offsetof(ModelOperation, RaisedException)),
    });
}

dbFieldInfo* DescribeModelAttribute()
{
    return dbFieldList({
        Int<int32_t>("ID", offsetof(ModelAttribute, ID), Indexed),
        Int<int8_t>("Associationkind", offsetof(ModelAttribute, Associationkind)),
        Int<int8_t>("Static", offsetof(ModelAttribute, Static)),
        Int<int8_t>("ReadOnly", offsetof(ModelAttribute, ReadOnly)),
        Int<int8_t>("Derived", offsetof(ModelAttribute, Derived)),
        Int<int8_t>("Navigable", offsetof(ModelAttribute, Navigable)),
        Text("Defaultvalue", offsetof(ModelAttribute, Defaultvalue)),
        Text("Multiplicity", offsetof(ModelAttribute, Multiplicity)),
    });
}

dbFieldInfo* DescribeModelParameter()
{
    return dbFieldList({
        Int<int32_t>("ID", offsetof(ModelParameter, ID), Indexed),
        Int<int8_t>("Direction", offsetof(ModelParameter, Direction)),
        Int<int8_t>("Reference", offsetof(ModelParameter, Reference)),
        Text("Defaultvalue", offsetof(ModelParameter, Defaultvalue)),
        Text("Multiplicity", offsetof(ModelParameter, Multiplicity)),
    });
}

dbFieldInfo* DescribeModelUsecase()
{
    return dbFieldList({
        Int<int32_t>("ID", offsetof(ModelUsecase, ID), Indexed),
        Int<int32_t>("EstimatedSize", offsetof(ModelUsecase, EstimatedSize)),
        Int<int32_t>("EstimatedCost", offsetof(ModelUsecase, EstimatedCost)),
        Int<int32_t>("ActualSize", offsetof(ModelUsecase, ActualSize)),
        Int<int32_t>("ActualCost", offsetof(ModelUsecase, ActualCost)),
        Text("Author", offsetof(ModelUsecase, Author)),
    });
}

dbFieldInfo* DescribeStereotypeT()
{
    return dbFieldList({
        Text("SSGUID", offsetof(StereotypeT, SSGUID), Indexed),
        Int<int32_t>("OID", offsetof(StereotypeT, OID), Indexed),
        Text("Value", offsetof(StereotypeT, Value)),
    });
}

dbFieldInfo* DescribeStereotypeObj()
{
    return dbFieldList({
        Text("StereotypeGUID", offsetof(StereotypeObj, StereotypeGUID), Indexed),
        Int<int32_t>("OID", offsetof(StereotypeObj, OID), Indexed),
    });
}

} // namespace

dbTableInfo MetaEle::TableInfo("MetaEle", &theModelDb, sizeof(MetaEle), DescribeMetaEle);
dbTableInfo ModelT::TableInfo("ModelT", &theModelDb, sizeof(ModelT), DescribeModelT);
dbTableInfo SymbolT::TableInfo("SymbolT", &theModelDb, sizeof(SymbolT), DescribeSymbolT);
dbTableInfo ModelPage::TableInfo("ModelPage", &theModelDb, sizeof(ModelPage), DescribeModelPage);
dbTableInfo ModelClass::TableInfo("ModelClass", &theModelDb, sizeof(ModelClass),
                                  DescribeModelClass);
dbTableInfo ModelOperation::TableInfo("ModelOperation", &theModelDb, sizeof(ModelOperation),
                                      DescribeModelOperation);
dbTableInfo ModelAttribute::TableInfo("ModelAttribute", &theModelDb, sizeof(ModelAttribute),
                                      DescribeModelAttribute);
dbTableInfo ModelParameter::TableInfo("ModelParameter", &theModelDb, sizeof(ModelParameter),
                                      DescribeModelParameter);
dbTableInfo ModelUsecase::TableInfo("ModelUsecase", &theModelDb, sizeof(ModelUsecase),
                                    DescribeModelUsecase);
dbTableInfo StereotypeT::TableInfo("StereotypeT", &theModelDb, sizeof(StereotypeT),
                                   DescribeStereotypeT);
dbTableInfo StereotypeObj::TableInfo("StereotypeObj", &theModelDb, sizeof(StereotypeObj),
                                     DescribeStereotypeObj);

