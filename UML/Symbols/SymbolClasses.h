// The registration of the UML symbol classes. The shell, and every test and
// benchmark of the symbol classes, calls RegisterUmlSymbolClasses before the
// metamodel is loaded: a static library drops objects nothing refers to, so no
// class registers itself from a static constructor.
#pragma once

// Enters one prototype per key of the symbol classes into the registry, each
// with its class's category, shape and tables. Once per process: false when
// the registry was built before (it then keeps its base handlers) or on a
// second call.
bool RegisterUmlSymbolClasses();
