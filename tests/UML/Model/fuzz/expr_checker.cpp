// Feeds arbitrary bytes to the expression checker (action and call texts)
// and to the parameter-list reader and colouring, over a small model. Each
// must end, and colour runs must come in ascending offsets within the text.
#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "UML/Model/ExprChecker.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/ParameterText.h"
#include "UML/Model/Symbol.h"
#include "Pub/SyntaxRunCodec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Add(int owner, const char* type, const char* name, const char* use, int mmc)
{
    ModelT e;
    e.ID = e.SN = ++theNextElementId;
    e.FID = owner;
    e.Type = type;
    e.Name = name;
    const std::string guid = "F" + std::to_string(e.ID);
    e.GUID = guid.c_str();
    e.Use = use;
    e.MMC = static_cast<int8_t>(mmc);
    theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    return e.ID;
}

int Model()
{
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        std::abort();
    ResetModelCounters();
    const int predefined = Add(0, "Package", "Predefined", "", MMC_NAMESPACE);
    for (const char* name : {"Integer", "Float", "Boolean", "Char", "String"})
        Add(predefined, "Class", name, "", MMC_CLASS);
    const int project = Add(0, "Syspackage", "Model", "", MMC_NAMESPACE);
    const int point = Add(project, "Class", "Point", "", MMC_CLASS);
    Add(point, "Attribute", "x", "F2", MMC_ATTRIBUTE);
    const int plus = Add(point, "Operation", "+", "F9", MMC_OPERATION);
    Add(plus, "Parameter", "p", "F9", MMC_ATTRIBUTE);
    const int machine = Add(project, "Class", "Machine", "", MMC_CLASS);
    Add(machine, "Attribute", "pos", "F9", MMC_ATTRIBUTE);
    const int move = Add(machine, "Operation", "move", "F9", MMC_OPERATION);
    Add(move, "Parameter", "dx", "F2", MMC_ATTRIBUTE);
    Add(machine, "Signal", "ping", "", MMC_OPERATION);
    Add(project, "Class", "List", "", MMC_CLASS);
    static int roots[2];
    roots[0] = project;
    roots[1] = predefined;
    theShellHooks.GetProjectRoot = [] { return roots[0]; };
    theShellHooks.GetPredefinedRoot = [] { return roots[1]; };
    theExprChecker.Reset(true);
    return machine;
}

void CheckRuns(const SyntaxRunCodec& codec, size_t length)
{
    SyntaxRunCodec reader;
    reader.Attach(codec.GetText());
    int offset, colour, last = -1;
    while (reader.NextRun(offset, colour)) {
        if (offset <= last || size_t(offset) > length)
            std::abort();
        last = offset;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int scope = Model();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const char* text = bytes.c_str();
    const size_t length = std::strlen(text);
    SyntaxRunCodec codec;

    theExprChecker.SetContext(true, scope, 0);
    theExprChecker.CheckExpression(text, codec);
    CheckRuns(codec, length);
    theExprChecker.SetContext(false, scope, 0);
    theExprChecker.CheckOperationCall(text, codec);
    CheckRuns(codec, length);
    theExprChecker.CheckSignalCall(text, codec);
    CheckRuns(codec, length);

    codec.Reset();
    ColorParameterList(scope, text, static_cast<int>(length), codec);
    CheckRuns(codec, length);

    int pos = 0, previous = -1;
    ParameterItem item;
    while (ParseParameterItem(scope, text, pos, static_cast<int>(length), item)) {
        if (pos <= previous || size_t(pos) > length)
            std::abort();
        previous = pos;
    }
    return 0;
}
