// Name look-up in the model as seen from a scope element: its own members,
// inherited, realized and port members, outer scopes and package imports,
// then the Library and Predefined models.
//
// A search takes criteria (scope ID, category MMC with 0 for any, metaclass
// name with empty for any and then taking the place of the category, element
// name with empty for any, minimum visibility with 0 for any) and an optional
// match list. Without a list it stops at the first match and reports it; with
// one it runs every step and collects, appending while the list holds at most
// MaxTypeMatches entries. Every walk (imports, realizations, ports, owners,
// subtrees) visits an element once per search, so cycles end.
//
// The selections are built once and bind the searched values, so the look-ups
// that colouring makes on every key stroke compile nothing and a typed name
// is never read as query text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One found element; the texts point into the database and stay valid until
// the row changes.
struct TypeMatch {
    const char* name;
    const char* guid;
    const char* use;
    int8_t mmc;
    int32_t id;
    int32_t owner;
};
typedef std::vector<TypeMatch> TypeMatchList;

const size_t MaxTypeMatches = 500;

bool ResolveTypeName(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list);

// The steps of the look-up, with the same criteria.
bool FindScopeMembers(int scope, int category, const char* metaclass, const char* name, int visibility,
                      TypeMatchList* list);
bool FindEnumerationLiterals(int scope, const char* name, int visibility, TypeMatchList* list);
bool FindImportedMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list);
bool FindRealizedMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list);
bool FindPortMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list);
bool FindInheritedMembers(int scope, int category, const char* metaclass, const char* name, int visibility,
                          TypeMatchList* list);
bool FindSubtreeMembers(int root, int category, const char* metaclass, const char* name, TypeMatchList* list);
bool FindOuterScopeMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list);

// ID of the element with that GUID; 0 for none or an empty GUID.
int FindElementIdByGuid(const char* guid);
// Whether the element with that GUID is named name or realizes, at any
// depth, an element so named.
bool IsKindOfNamed(const char* guid, const char* name);

// While a session lives, the searches share what they read of imports,
// realizations and ports instead of reading it for each name: for the many
// look-ups of one text, during which the model does not change. Sessions
// nest; the outermost one owns the shared reading.
class TypeLookupSession {
public:
    TypeLookupSession();
    ~TypeLookupSession();
    TypeLookupSession(const TypeLookupSession&) = delete;
    TypeLookupSession& operator=(const TypeLookupSession&) = delete;

private:
    bool outer_;
};

// Forgets the 'import' and 'access' stereotypes found in the last project.
void ResetTypeResolution();
