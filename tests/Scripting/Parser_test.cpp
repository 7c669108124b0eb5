// The Parser class in the main window: the word reader's tokens and ring
// through a script, its methods with good, missing and bad arguments, and
// insertItem, which makes elements only under an element and with a GUID
// of their own.
#include "ScriptFixture.h"

#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"

#include <cstring>
#include <fstream>

namespace {

class ParserTest : public ScriptFixture {
protected:
    void SetUp() override
    {
        ScriptFixture::SetUp();
        source = shell.Folder() + "source.h";
        shell.Run("var source = '" + source + "';\n"
                  "function tokens(p) {\n"
                  "  var all = [], w;\n"
                  "  while ((w = p.readWord()) != null) all.push(w == '\\n' ? '\\\\n' : w);\n"
                  "  return all.join('|');\n"
                  "}",
                  "setup.js");
    }

    void Source(const std::string& bytes) const { std::ofstream(source, std::ios::binary) << bytes; }

    std::string source;
};

TEST_F(ParserTest, ReadsTheTokenTables)
{
    const struct {
        std::string bytes;
        const char* setup;
        const char* tokens;
    } cases[] = {
        { "a+=1;", "p.addOperator('+', '+=', ';')", "a|+=|1|;" },
        { "x+-y", "p.addOperator('+', '-')", "x|+|-|y" },
        { "3.14abc abc3 3 abc", "", "3.14abc|abc3|3|abc" },
        { "a b\r\n\r\nc", "", "a|b|\\n|\\n|c" },
        { "_id $x", "p.setAdditionalChars('_$')", "_id|$x" },
        { "caf\xC3\xA9 \xE2\x82\xAC" "1 \xF0\x9F\x98\x80!", "", "caf\xC3\xA9|\xE2\x82\xAC" "1|\xF0\x9F\x98\x80|!" },
        { "a\xFF" "b", "", "a|\xEF\xBF\xBD|b" },
        { std::string("a\0b", 3), "", "a|b" },
    };
    for (const auto& c : cases) {
        Source(c.bytes);
        EXPECT_EQ(shell.Run(std::string("var p = new Parser(); ") + c.setup + "; p.openFile(source); print(tokens(p))"),
                  Lines{ c.tokens })
            << c.bytes;
    }
}

TEST_F(ParserTest, KeepsTheRingPast680Tokens)
{
    std::string bytes;
    for (int i = 1; i <= 700; ++i)
        bytes += "t" + std::to_string(i) + " ";
    Source(bytes);
    RunCases({
        { "var p = new Parser(); p.openFile(source); for (var i = 0; i < 680; ++i) p.readWord();\n"
          "print(p.getCurrentIndex(), p.getWord(0), p.getWord(1), p.getWord(679))",
          { "0 t680 t1 t679" } },
        { "print(p.readWord(), p.getCurrentIndex(), p.getWord(1))", { "t681 1 t681" } },
        { "var at = p.getCurrentIndex(); p.reserveWord(p.getForeIndex(at)); print(p.readWord(), p.getCurrentIndex() == at, p.readWord())",
          { "t680 true t682" } },
        { "p.rollbackWord(5); print(p.getCurrentIndex(), p.readWord(), p.getCurrentIndex())", { "5 t683 6" } },
        { "print(p.getNextIndex(679), p.getForeIndex(0), p.getNextIndex(-5), p.getNextIndex(3.4))", { "0 679 -4 4" } },
        { "p.rollbackWord(680);", { "Invalid current index", "@1" } },
        { "p.rollbackWord(-1);", { "Invalid current index", "@1" } },
        { "p.rollbackWord();", { "Invalid current index", "@1" } },
        { "p.getNextIndex(NaN);", { "Invalid current index", "@1" } },
        { "p.getForeIndex();", { "Invalid current index", "@1" } },
        { "p.reserveWord(680);", { "Invalid index", "@1" } },
        { "p.reserveWord(-1);", { "Invalid index", "@1" } },
        { "p.getWord(680);", { "Invalid index", "@1" } },
        { "p.getWord('x');", { "Invalid index", "@1" } },
        { "print(p.getCurrentIndex(), p.closeFile(), p.readWord(), p.closeFile())", { "6 true null false" } },
    });
}

TEST_F(ParserTest, MethodsTakeGoodMissingAndBadArguments)
{
    RunCases({
        { "var q = new Parser(); print(q.readWord(), q.closeFile(), q.openFile('/no/such.h'), q.getCurrentIndex())",
          { "null false false 0" } },
        { "print(q.setFileType('.cpp.h'), q.isValidFile('a.h'), q.isValidFile('a.c'), q.isValidFile('a.x'), q.isValidFile('make'))",
          { "undefined true true false false" } },
        { "print(q.setAdditionalChars('_'), q.addOperator('::', 1, Symbol()), q.isOperator('::'), q.isOperator('1'),\n"
          "      q.isOperator(':'), q.isWord('_a'), q.isWord('\\u00e9'), q.isWord('9'))",
          { "false undefined true true false true true false" } },
        { "print(Parser.isSameStr('Abc', 'aBC'), Parser.isSameStr('Abc', 'aBC', false), Parser.isSameStr('a', 'a', 0))",
          { "false true true" } },
        { "var g = Parser.generateGUID(); print(g.length, g != Parser.generateGUID())", { "22 true" } },
        { "q.isValidFile();", { "File name should be prompted", "@1" } },
        { "q.openFile(Symbol());", { "Invalid file name", "@1" } },
        { "q.setFileType();", { "fileType must be prompted", "@1" } },
        { "q.setAdditionalChars();", { "additionalChars must be prompted", "@1" } },
        { "q.isOperator();", { "Word must be prompted", "@1" } },
        { "q.isWord(Symbol());", { "Word must be prompted", "@1" } },
        { "Parser.isSameStr('a');", { "Word must be prompted", "@1" } },
        { "Parser.prototype.getCurrentIndex();", { "JSParser has not been initialized", "@1" } },
        { "Parser.prototype.readWord.call(new fileFinder());", { "JSParser has not been initialized", "@1" } },
    });
}

TEST_F(ParserTest, InsertItemMakesElementsUnderElementsOnly)
{
    const int core = ElementId("Core");
    const std::string owner = std::to_string(core);
    RunCases({
        { "var p = new Parser(); var id = p.insertItem('Class', " + owner + ", 'Gamma', '');\n"
          "print(id > 0, p.insertItem('Attribute', id, 'size', Parser.generateGUID(), 'C2') > id)",
          { "true true" } },
        { "p.insertItem('Class', " + owner + ", 'x');", { "Meta name, father ID, name and guid must be prompted", "@1" } },
        { "p.insertItem('Nope', " + owner + ", 'x', '');", { "Invalid meta name", "@1" } },
        { "p.insertItem(Symbol(), " + owner + ", 'x', '');", { "Invalid meta name", "@1" } },
        { "p.insertItem('Class', 0, 'x', '');", { "Invalid father ID", "@1" } },
        { "p.insertItem('Class', -1, 'x', '');", { "Invalid father ID", "@1" } },
        { "p.insertItem('Class', 999999, 'x', '');", { "Invalid father ID", "@1" } },
        { "p.insertItem('Class', 'x', 'x', '');", { "Invalid father ID", "@1" } },
        { "p.insertItem('Class', " + owner + ", Symbol(), '');", { "Invalid name", "@1" } },
        { "p.insertItem('Class', " + owner + ", 'x', 'C1');", { "Invalid guid", "@1" } },
        { "p.insertItem('Class', " + owner + ", 'x', '', Symbol());", { "Invalid used guid", "@1" } },
    });
    dbTypedCursor<ModelT> gamma(&ModelT::TableInfo);
    ASSERT_EQ(gamma.SelectByKey("Name", "Gamma"), 1);
    EXPECT_EQ(gamma->FID, core);
    EXPECT_EQ(std::strlen(gamma->GUID), 22u);
    dbTypedCursor<ModelT> size(&ModelT::TableInfo);
    ASSERT_EQ(size.SelectByKey("Name", "size"), 1);
    EXPECT_EQ(size->FID, gamma->ID);
    EXPECT_STREQ(size->Use, "C2");
    EXPECT_EQ(ElementId("x"), 0);
}

} // namespace
