// The project of the project benchmarks: ten units below the model unit,
// each a package holding a class diagram of 20 pages and classes with nine
// attributes apiece, 10,000 elements per unit; each page shows ten packages
// holding nine class symbols each. Rows go straight into the engine, without
// undo records.
#pragma once

#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "UML/Model/Symbol.h"

#include <string>

namespace BenchModel {

const int kUnits = 10, kElementsPerUnit = 10000, kPagesPerUnit = 20;
// Each page shows ten packages, each holding the symbols of nine classes.
const int kGroupsPerPage = 10, kNestedPerGroup = 9;

inline int Insert(int owner, const char* type, const std::string& name)
{
    ModelT e;
    e.ID = e.SN = ++theNextElementId;
    e.FID = owner;
    e.Type = type;
    e.Name = name.c_str();
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, TRUE);
    e.GUID = guid;
    theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    return e.ID;
}

inline int InsertSymbol(int page, int parent, const char* type, int x, int y, const std::string& text)
{
    SymbolT s;
    s.ID = ++theNextSymbolId;
    s.PID = page;
    s.FID = parent;
    s.Type = type;
    s.x1 = x;
    s.y1 = y;
    s.x2 = x + (parent ? 1500 : 16000);
    s.y2 = y + (parent ? 400 : 4000);
    s.Text = text.c_str();
    char sguid[GuidTextLength + 1];
    MakeGuidText(sguid, sizeof sguid, FALSE);
    s.SGUID = sguid;
    theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    return s.ID;
}

inline void InsertPageSymbols(int page)
{
    for (int g = 0; g < kGroupsPerPage; ++g) {
        const int group = InsertSymbol(page, 0, "Package", 1000, 1000 + g * 5000, "Group" + std::to_string(g));
        for (int k = 0; k < kNestedPerGroup; ++k)
            InsertSymbol(page, group, "Class", 1200 + k * 1700, 2000 + g * 5000, "Class" + std::to_string(k));
    }
}

// Fills the open project, whose unit files go to dir.
inline void Build(const std::string& dir)
{
    for (int u = 0; u < kUnits; ++u) {
        const int unit = Insert(theModelRootId, "Package", "Unit" + std::to_string(u));
        ProjectStore::SetUnitPath(unit, (dir + "unit" + std::to_string(u) + ".uml").c_str());
        int made = 1;
        const int diagram = Insert(unit, "Classdiagram", "Diagram");
        ++made;
        for (int p = 0; p < kPagesPerUnit; ++p, ++made)
            InsertPageSymbols(Insert(diagram, "Page", "Page" + std::to_string(p)));
        while (made < kElementsPerUnit) {
            const int cls = Insert(unit, "Class", "Class" + std::to_string(made));
            ++made;
            for (int a = 0; a < 9 && made < kElementsPerUnit; ++a, ++made)
                Insert(cls, "Attribute", "attribute" + std::to_string(a));
        }
    }
}

} // namespace BenchModel
