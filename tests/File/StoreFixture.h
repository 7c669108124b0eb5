// A project folder of the test's own, the store hooked in, and the Messages
// pane recorded. Every test starts and ends with no project open.
#pragma once

#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "TestFolder.h"
#include "UML/Model/ShellHooks.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

inline const std::string kHeader = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
inline const std::string kPredefinedUnit = kHeader +
                                           "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n"
                                           "<Class Name=\"Object\" GUID=\"P1\"/>\r\n"
                                           "<Class Name=\"String\" GUID=\"P2\"/>\r\n"
                                           "</uml>\r\n";

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProjectStore::Close();
        MemDbClearModel();
        ProjectStore::InstallHooks();
        messages.clear();
        theShellHooks.OutputMessage = [](const char* text) { messages.push_back(text); };
    }
    void TearDown() override
    {
        ProjectStore::Close();
        ResetShellHooks();
    }

    // The element IDs named so, in ID order.
    static int Find(const std::string& name)
    {
        dbQueryText q;
        q.Append(dbFragText, "ID>0 order by ID");
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                if (name == (c->Name ? c->Name : ""))
                    return c->ID;
            while (c.Next());
        return -1;
    }
    static ModelT Element(int id)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0) << id;
        return *c.GetRecord();
    }
    // The subtree below id as "Name(child,child),Name" in sibling order.
    static std::string Tree(int id)
    {
        std::vector<int> children;
        dbQueryText q;
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &id).Append(dbFragText, " order by SN");
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                children.push_back(c->ID);
            while (c.Next());
        std::string text;
        for (const int child : children) {
            const std::string below = Tree(child);
            text += (text.empty() ? "" : ",") + std::string(Element(child).Name ? Element(child).Name : "") +
                    (below.empty() ? "" : "(" + below + ")");
        }
        return text;
    }
    static const char* Text(const char* text) { return text ? text : ""; }
    // Every element row, then every symbol row, as one line each in ID order.
    static std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        dbQueryText q;
        q.Append(dbFragText, "ID>0 order by ID");
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do {
                std::ostringstream line;
                line << c->ID << " " << c->FID << " " << c->SN << " " << Text(c->Name) << " " << Text(c->Type) << " "
                     << Text(c->File) << " " << c->ItemState;
                rows.push_back(line.str());
            } while (c.Next());
        dbTypedCursor<SymbolT> symbols(&SymbolT::TableInfo);
        if (symbols.Select(q, dbCursorViewOnly) > 0)
            do {
                std::ostringstream line;
                line << "symbol " << symbols->ID << " " << symbols->PID << " " << symbols->FID << " "
                     << Text(symbols->Type) << " " << Text(symbols->SGUID) << " " << Text(symbols->GUID) << " "
                     << symbols->x1 << ","
                     << symbols->y1 << "," << symbols->x2 << "," << symbols->y2 << " " << symbols->ItemState;
                rows.push_back(line.str());
            } while (symbols.Next());
        return rows;
    }
    static bool Said(const std::string& part)
    {
        for (const std::string& m : messages)
            if (m.find(part) != std::string::npos)
                return true;
        return false;
    }
    static std::string Messages()
    {
        std::string all;
        for (const std::string& m : messages)
            all += m + "\n";
        return all;
    }
    static bool Names(const FileFailures& failures, const std::string& file)
    {
        for (const FileFailure& f : failures)
            if (f.path.size() >= file.size() && f.path.compare(f.path.size() - file.size(), file.size(), file) == 0 &&
                !f.reason.empty())
                return true;
        return false;
    }

    static inline std::vector<std::string> messages;
};
