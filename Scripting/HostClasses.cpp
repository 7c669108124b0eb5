#include "Scripting/HostClasses.h"

#include "Scripting/Application.h"
#include "Scripting/Database.h"
#include "Scripting/File.h"
#include "Scripting/FileFinder.h"
#include "Scripting/Parser.h"

#include <js/Exception.h>

#include <initializer_list>

void InitHostClasses(JSContext* cx, JS::HandleObject global)
{
    const std::initializer_list<HostClassInit> inits = {
        InitFileClass,
        InitDatabaseClass,
        InitApplicationClass,
        InitParserClass,
        InitFileFinderClass,
    };
    for (const HostClassInit init : inits) {
        if (!init(cx, global))
            JS_ClearPendingException(cx);
    }
}
