// The Database class on the fixture project: its methods with good, missing
// and bad arguments, and its rows read and written against the engine's
// own cursors.
#include "ScriptFixture.h"

#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbTableInfo.h"
#include "UML/Model/FieldText.h"

#include <algorithm>

namespace {

using DatabaseTest = ScriptFixture;

template <class Row>
Row Fetch(const char* column, const char* value)
{
    dbTypedCursor<Row> cursor(&Row::TableInfo);
    EXPECT_EQ(cursor.SelectByKey(column, value), 1) << value;
    return *cursor.GetRecord();
}

TEST_F(DatabaseTest, MethodsTakeGoodMissingAndBadArguments)
{
    RunCases({
        { "var d = new Database(); print(d, d.number, d.curPosition, d.isQueryInModel)",
          { "JSDatabase:total 0,current 0 0 0 false" } },
        // A selection of three, walked.
        { "print(d.queryModel(\"Name='Alpha' or Name='Beta' or Name='note' order by Name\"), d.isQueryInModel, d.getColumn('name'))",
          { "3 true Alpha" } },
        { "print(d.nextRecorder(), d.nextRecorder(), d.nextRecorder(), d.curPosition, d.isLastRecorder())",
          { "true true false 2 true" } },
        { "print(d.getColumn('NAME'), d.gotoRecorder(3), d.curPosition, d.gotoRecorder(-1), d.gotoRecorder(1), d.getColumn('Name'))",
          { "note false 2 false true Beta" } },
        { "print(d.gotoRecorder(), d.curPosition, d.gotoRecorder('x'), d.isLastRecorder(), d)",
          { "true 0 true false JSDatabase:total 3,current 0" } },
        { "print(d.getColumn('Nothing'), d.getColumn('MMC'), d.getColumn('Type'))", { "null 1 Class" } },
        { "d.getColumn();\nprint('after')", { "Column name should be prompted", "@1" } },
        // Nothing selected: getColumn does not look at its argument.
        { "print(d.queryModel(\"Name='none'\"), d.getColumn(), d.nextRecorder(), d.isLastRecorder(), d.gotoRecorder(0))",
          { "0 null false false false" } },
        { "print(d.querySymbol(''), d.isQueryInModel)", { "0 false" } },
        { "d.queryModel();", { "Condition should be prompted", "@1" } },
        { "d.querySymbol(Symbol());", { "Condition should be prompted", "@1" } },
        { "d.queryModel(\"Name='Alpha'\"); print(d.reset(), d.number, d.curPosition, d.getColumn('Name'))",
          { "true 0 0 null" } },
        // Queued settings.
        { "d.setColumn('Name');", { "Column name and value should be prompted", "@1" } },
        { "d.insertModel('Class');", { "No column has been set", "@1" } },
        { "d.setColumn('Name', 'Gamma', 'Dangling'); d.insertModel();", { "Meta name should be prompted", "@1" } },
        { "d.insertModel('Nothing');", { "Meta name is invalid", "@1" } },
        { "var made = d.insertModel('Class'); d.queryModel('ID=' + made); print(d.getColumn('Name'), d.getColumn('SN') == made)",
          { "Gamma true" } },
        { "d.setColumn('Name', 'Delta');\nd.updateModel('Class');", { "Meta name and model id should be prompted", "@2" } },
        { "d.updateModel('Class', 'x');", { "Invalid model id", "@1" } },
        { "d.updateModel('Class', -1);", { "Invalid model id", "@1" } },
        { "print(d.updateModel('Class', made), d.getColumn('Name'))", { "true Delta" } },
        { "d.setColumn('Name', 'Nobody'); print(d.updateModel('Class', 999999))", { "false" } },
        { "d.updateSymbol(1);", { "No column has been set", "@1" } },
        { "d.setColumn('Text', 'T'); d.updateSymbol();", { "Symbol id should be prompted", "@1" } },
        { "d.updateSymbol(-3);", { "Invalid symbol id", "@1" } },
        { "print(d.updateSymbol(999999))", { "false" } },
        // A condition the engine rejects is a warning with its message.
        { "d.queryModel('Name = = 1');\nprint('after')", { "operand expected in position 7", "@1" } },
        // Methods refuse an object of another class and the prototype.
        { "Database.prototype.getColumn.call(new Application(), 'Name');", { "JSDatabase has not been initialized", "@1" } },
        { "Database.prototype.queryModel('');", { "JSDatabase has not been initialized", "@1" } },
        { "print(Database.prototype.number);", { "JSDatabase has not been initialized", "@1" } },
        { "Database.prototype.toString.call({});", { "JSDatabase has not been initialized", "@1" } },
        // Read-only properties and constants, in strict code too.
        { "'use strict'; d.number = 5; d.isQueryInModel = true; print(d.number, d.isQueryInModel)",
          { "1 true" } },
        { "Database.MMC_CLASS = 7; print(Database.MMC_CLASS, Database.MMC_COMMENT, Database.MSC_BAR, Database.SYMBOL_CHECKED, "
          "Database.ITEM_FIXED, Database.PARAMETER_DIR_INOUT, Database.START_ID)",
          { "1 10 8 128 32 3 0" } },
        { "print(Database().toString(), new Database() instanceof Database)", { "JSDatabase:total 0,current 0 true" } },
    });
}

// A warning ends the script at once: no catch, no finally, nothing after.
TEST_F(DatabaseTest, AWarningEndsTheScriptPastCatchAndFinally)
{
    RunCases({
        { "var d = new Database();\ntry {\n  d.queryModel();\n} catch (e) {\n  print('caught');\n} finally {\n"
          "  print('finally');\n}\nprint('after');",
          { "Condition should be prompted", "@3" } },
        { "print('next run')", { "next run" } },
    });
}

// Every column of every element row reads as the engine's cursor gives it;
// symbol rows likewise.
TEST_F(DatabaseTest, GetColumnReadsEveryColumnAsTheCursorsDo)
{
    const int alpha = ElementId("Alpha");
    ASSERT_GT(alpha, 0);
    Lines expected;
    std::string script = "var d = new Database(); d.queryModel('order by ID');\nvar columns = [";
    const dbFieldInfo* fd = ModelT::TableInfo.columns;
    do {
        if (FindColumn(&ModelT::TableInfo, fd->name) == fd)
            script += std::string("'") + fd->name + "',";
    } while ((fd = fd->next) != ModelT::TableInfo.columns);
    script += "];\ndo { print(columns.map(function (c) { return d.getColumn(c); }).join('|')); } while (d.nextRecorder());";

    dbTypedCursor<ModelT> rows(&ModelT::TableInfo);
    dbQueryText order;
    order.Append(dbFragText, "order by ID");
    for (bool more = rows.Select(order, dbCursorViewOnly) > 0; more; more = rows.Next() != nullptr) {
        std::string line;
        fd = ModelT::TableInfo.columns;
        do {
            if (FindColumn(&ModelT::TableInfo, fd->name) != fd)
                continue;
            char text[512];
            GetFieldText(fd->name, &ModelT::TableInfo, rows.GetRecord(), text, sizeof text);
            line += std::string(line.empty() ? "" : "|") + text;
        } while ((fd = fd->next) != ModelT::TableInfo.columns);
        expected.push_back(line);
    }
    ASSERT_GE(expected.size(), 5u);
    EXPECT_EQ(shell.Run(script), expected);

    // An extension column of an attribute, and a symbol row's columns.
    EXPECT_EQ(shell.Run("d.queryModel(\"Name='count'\"); print(d.getColumn('Navigable'), d.getColumn('Multiplicity'))"),
              Lines{ "1 " });
}

// Rows written by a script go straight into the engine: no undo record and
// no unit marked as modified.
TEST_F(DatabaseTest, WritesLeaveNoUndoRecord)
{
    const size_t undo = UndoLog::UndoDepth();
    const int beta = ElementId("Beta");
    EXPECT_EQ(shell.Run("var d = new Database(); d.setColumn('Name', 'Made', 'ID', '5'); var id = d.insertModel('Class');\n"
                        "d.setColumn('Name', 'Renamed'); print(d.updateModel('Class', " + std::to_string(beta) + "), id > 5)"),
              Lines{ "true true" });
    EXPECT_EQ(UndoLog::UndoDepth(), undo);
    EXPECT_FALSE(ProjectStore::IsModified());
    const ModelT made = Fetch<ModelT>("Name", "Made");
    EXPECT_STREQ(made.Type, "Class");
    EXPECT_EQ(made.SN, made.ID);
    EXPECT_EQ(ElementId("Renamed"), beta);
}

// A text of any length reads whole, so writing it back keeps its end.
TEST_F(DatabaseTest, LongTextsReadWholeAndWriteBackWhole)
{
    const int note = ElementId("note");
    EXPECT_EQ(shell.Run("var d = new Database(); d.setColumn('Name', '" + std::string("x").append(2000, 'y') + "');\n"
                        "d.updateModel('Comment', " + std::to_string(note) + "); d.queryModel('ID=" + std::to_string(note) +
                        "');\nvar t = d.getColumn('Name'); print(t.length, t.slice(-3));\n"
                        "d.setColumn('Name', t + '!'); d.updateModel('Comment', " + std::to_string(note) + ");"),
              Lines{ "2001 yyy" });
    dbTypedCursor<ModelT> cursor(&ModelT::TableInfo);
    ASSERT_EQ(cursor.SelectByKey("ID", note), 1);
    EXPECT_EQ(std::string(cursor->Name), "x" + std::string(2000, 'y') + "!");
}

// A stored text that is not UTF-8 reaches the script with U+FFFD for each
// bad byte; a well-formed character stays whole.
TEST_F(DatabaseTest, TextsNotInUtf8ReachScriptsWithReplacementCharacters)
{
    {
        dbTypedCursor<ModelT> cursor(&ModelT::TableInfo, dbCursorForUpdate);
        ASSERT_EQ(cursor.SelectByKey("Name", "Beta"), 1);
        ModelT row = *cursor.GetRecord();
        row.Name = "a\xFF\xC3\xA9\xE2\x82z";
        theModelDb.UpdateRecord(cursor.GetCurrentOid(), &ModelT::TableInfo, &row);
        theModelDb.Commit();
    }
    EXPECT_EQ(shell.Run("var d = new Database(); d.queryModel('ID=" + std::to_string(ElementId("a\xFF\xC3\xA9\xE2\x82z")) +
                        "');\nvar n = d.getColumn('Name'); print(n, n.length)"),
              Lines{ "a\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBDz 6" });
}

// The selection keeps record identifiers: a row removed since the query
// reads null, the others still read.
TEST_F(DatabaseTest, ARowRemovedSinceTheQueryReadsNull)
{
    EXPECT_EQ(shell.Run("var d = new Database(); print(d.queryModel(\"Name='Alpha' or Name='Beta' order by Name\"))"), Lines{ "2" });
    {
        dbTypedCursor<ModelT> cursor(&ModelT::TableInfo, dbCursorForUpdate);
        ASSERT_EQ(cursor.SelectByKey("Name", "Alpha"), 1);
        cursor.RemoveCurrent();
        theModelDb.Commit();
    }
    EXPECT_EQ(shell.Run("print(d.getColumn('Name'), d.nextRecorder(), d.getColumn('Name'))"), Lines{ "null true Beta" });
}

TEST_F(DatabaseTest, PrintMetaListsTheMetaclassesWithTheirCategories)
{
    const Lines lines = shell.Run("print(Database.printMeta())");
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Name                             Meta model class");
    EXPECT_EQ(lines[1], "---------                        --------------");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Class                            MMC_CLASS"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Comment                          MMC_COMMENT"), lines.end());
    EXPECT_EQ(lines.back(), "true");
}

TEST_F(DatabaseTest, PrintMetaTableListsTheColumnsOfTheTables)
{
    const Lines lines = shell.Run("Database.printMetaTable('Attribute')");
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Model table fields(Attribute):");
    EXPECT_EQ(lines[1], "Name                             Index type   Type");
    EXPECT_EQ(lines[2], "---------                        ----------   --------");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Navigable                        none         int1"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Symbol table fields(Attribute):"), lines.end());
    RunCases({
        { "Database.printMetaTable();", { "Meta name must be prompted", "@1" } },
        { "Database.printMetaTable('Nothing');", { "Meta doesn't exist", "@1" } },
    });
}

} // namespace
