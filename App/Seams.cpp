#include "App/HelpSeam.h"
#include "App/ScriptSeam.h"
#include "App/ShellServices.h"

#include "Platform/CString.h"

namespace {

ScriptHost* NoHost() { return nullptr; }

bool NoRun(ScriptHost*, const char* path)
{
    CString line;
    line.Format("No script host: %s was not run", path ? path : "");
    OutputMessage(line.GetString());
    return false;
}

void NoDestroy(ScriptHost*) {}

void NoViewer(const char* target)
{
    CString line;
    line.Format("No help viewer: %s was not shown", target ? target : "");
    OutputMessage(line.GetString());
}

const ScriptSeam kNoScripts = { NoHost, NoRun, NoDestroy };
const HelpSeam kNoHelp = { NoViewer };

} // namespace

ScriptSeam theScriptSeam = kNoScripts;
HelpSeam theHelpSeam = kNoHelp;

void ResetScriptSeam() { theScriptSeam = kNoScripts; }
void ResetHelpSeam() { theHelpSeam = kNoHelp; }
