#include "Scripting/HostClasses.h"

#include "Scripting/Application.h"
#include "Scripting/Database.h"

#include <js/Exception.h>

#include <initializer_list>

void InitHostClasses(JSContext* cx, JS::HandleObject global)
{
    const std::initializer_list<HostClassInit> inits = {
        InitDatabaseClass,
        InitApplicationClass,
    };
    for (const HostClassInit init : inits) {
        if (!init(cx, global))
            JS_ClearPendingException(cx);
    }
}
