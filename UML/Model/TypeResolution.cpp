#include "UML/Model/TypeResolution.h"

#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "UML/Model/ShellHooks.h"

#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

// The values the selections are bound to; set just before each select, which
// reads them once.
struct Bound {
    int32_t scope = 0;
    int32_t category = 0;
    int32_t visibility = 0;
    const char* metaclass = "";
    const char* name = "";
} bound;

enum Term { NameTerm = 1, TypeTerm = 2, CategoryTerm = 4, VisibilityTerm = 8, TypeLeads = 16 };

// The children of the bound scope with the terms of mask. The first term is
// the one whose index select execution searches; the others are grouped
// after it and filter. Name leads when given (the most selective), then the
// metaclass when it is a rare one (TypeLeads), else the owner.
dbQueryText& ChildQuery(int mask)
{
    static std::unique_ptr<dbQueryText> queries[32];
    std::unique_ptr<dbQueryText>& q = queries[mask];
    if (q)
        return *q;
    q = std::make_unique<dbQueryText>();
    struct Part {
        int term;
        const char* text;
        int kind;
        const void* value;
    } const parts[] = {
        {NameTerm, "Name=", dbFragStringPtr, &bound.name},
        {TypeTerm | TypeLeads, "Type=", dbFragStringPtr, &bound.metaclass},
        {0, "FID=", dbFragInt4, &bound.scope},
        {TypeTerm, "Type=", dbFragStringPtr, &bound.metaclass},
        {CategoryTerm, "MMC=", dbFragInt4, &bound.category},
        {VisibilityTerm, "Visibility>=", dbFragInt4, &bound.visibility},
    };
    bool typed = false;
    int terms = 0;
    for (const Part& p : parts) {
        if (p.term != 0 && (mask & p.term) != p.term)
            continue;
        if (p.term & TypeTerm) {
            if (typed)
                continue;
            typed = true;
        }
        // "a and (b and (c ...))": the first term stands alone on the left.
        if (terms++ > 0)
            q->Append(dbFragText, " and (");
        q->Append(dbFragText, p.text).Append(p.kind, p.value);
    }
    for (int i = 1; i < terms; ++i)
        q->Append(dbFragText, ")");
    return *q;
}

// Selects the children of scope matching the criteria into c.
int SelectChildren(dbTypedCursor<ModelT>& c, int scope, int category, const char* metaclass, const char* name,
                   int visibility, bool rareType = false)
{
    int mask = rareType ? TypeLeads : 0;
    if (!IsEmpty(name))
        mask |= NameTerm;
    if (!IsEmpty(metaclass))
        mask |= TypeTerm;
    else if (category != 0)
        mask |= CategoryTerm;
    if (visibility != 0)
        mask |= VisibilityTerm;
    bound.scope = scope;
    bound.category = category;
    bound.visibility = visibility;
    bound.metaclass = metaclass ? metaclass : "";
    bound.name = name ? name : "";
    return c.Select(ChildQuery(mask), dbCursorViewOnly);
}

// The children of scope of one relationship metaclass (Dependency,
// Realization, Realized, Port). Those are few beside the members a large
// package holds, so the metaclass's index leads.
int SelectKind(dbTypedCursor<ModelT>& c, int scope, const char* metaclass)
{
    return SelectChildren(c, scope, 0, metaclass, nullptr, 0, true);
}

bool Append(TypeMatchList* list, const ModelT& row)
{
    if (list->size() > MaxTypeMatches)
        return false;
    list->push_back(TypeMatch{row.Name, row.GUID, row.Use, row.MMC, row.ID, row.FID});
    return true;
}

// The GUIDs of the 'import' and 'access' stereotypes, kept as copies: rows of
// an earlier project may be gone.
struct ImportStereotypes {
    std::string import;
    std::string access;
} theImportStereotypes;

std::string StereotypeGuid(const char* name)
{
    static dbQueryText q;
    static const char* wanted = "";
    if (!q.Fragments())
        q.Append(dbFragText, "Name=")
            .Append(dbFragStringPtr, &wanted)
            .Append(dbFragText, " and (Type='Stereotype' and Use='Dependency')");
    wanted = name;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0 ? std::string(c->GUID ? c->GUID : "") : std::string();
}

// A relationship row: the element itself, what its Use names, and the
// visibility and stereotype the walks read.
struct Link {
    int self;
    std::string use;
    int visibility;
    std::string stereotype;
};

// What the walks read of the relationships: their rows by metaclass and
// owner, and the elements their Uses name. Kept for one search, or for a
// whole session of searches over an unchanging model.
struct LinkCache {
    std::unordered_map<std::string, std::unordered_map<int, std::vector<Link>>> links;
    std::unordered_map<std::string, int> ids;
};

LinkCache* theSessionCache = nullptr;

// One look-up: the criteria and what the walks have visited.
class TypeSearch {
public:
    TypeSearch(int category, const char* metaclass, const char* name, TypeMatchList* list)
        : category_(category), metaclass_(metaclass), name_(name), list_(list)
    {
    }

    bool Resolve(int scope)
    {
        bool found = false;
        auto step = [&](bool hit) {
            found = found || hit;
            return Enough(found);
        };
        if (step(Scope(scope, 0)) || step(Inherited(scope, 0)) || step(Realized(scope)) || step(Ports(scope)) ||
            step(Outer(scope)) || step(Imported(scope)) || step(Subtree(theShellHooks.GetLibraryRoot())) ||
            step(Subtree(theShellHooks.GetPredefinedRoot())))
            return true;
        return found;
    }

    bool Scope(int scope, int visibility)
    {
        std::vector<ModelT> rows;
        {
            dbTypedCursor<ModelT> c(&ModelT::TableInfo);
            if (SelectChildren(c, scope, category_, metaclass_, name_, visibility) > 0) {
                if (!list_)
                    return true;
                do
                    if (!Append(list_, *c.GetRecord()))
                        break;
                while (c.Next());
                return true;
            }
        }
        return Literals(scope, visibility);
    }

    bool Literals(int scope, int visibility)
    {
        for (const Link& enumeration : LinksOf(scope, "Enumeration")) {
            if (visibility != 0 && enumeration.visibility < visibility)
                continue;
            dbTypedCursor<ModelT> c(&ModelT::TableInfo);
            if (SelectChildren(c, enumeration.self, 0, nullptr, name_, 0) > 0) {
                if (list_)
                    Append(list_, *c.GetRecord());
                return true;
            }
        }
        return false;
    }

    // An access reaches the target's public members; an import also what the
    // target imports, but not what it merely accesses (reached is set below
    // the first import).
    bool Imported(int scope, bool reached = false)
    {
        if (!FirstVisit(reached ? ReachedImportStep : ImportStep, scope))
            return false;
        if (theImportStereotypes.import.empty()) {
            theImportStereotypes.import = StereotypeGuid("import");
            theImportStereotypes.access = StereotypeGuid("access");
        }
        bool found = false;
        for (const Target& d : Targets(scope, "Dependency")) {
            const bool isImport = !theImportStereotypes.import.empty() && d.stereotype == theImportStereotypes.import;
            const bool isAccess = !theImportStereotypes.access.empty() && d.stereotype == theImportStereotypes.access;
            if (!isImport && !(isAccess && !reached))
                continue;
            found = Scope(d.id, VISIBILITY_PUBLIC) || found;
            if (!Enough(found) && isImport)
                found = Imported(d.id, true) || found;
            if (Enough(found))
                return true;
        }
        return found;
    }

    bool Realized(int scope)
    {
        if (!FirstVisit(RealizedStep, scope))
            return false;
        bool found = false;
        for (const Target& r : Targets(scope, "Realized")) {
            found = Scope(r.id, 0) || found;
            if (!Enough(found))
                found = Inherited(r.id, 0) || found;
            if (!Enough(found))
                found = Imported(r.id) || found;
            if (Enough(found))
                return true;
        }
        return found;
    }

    bool Ports(int scope)
    {
        if (!FirstVisit(PortStep, scope))
            return false;
        bool found = false;
        for (const Link& port : LinksOf(scope, "Port")) {
            found = Realized(port.self) || found;
            if (Enough(found))
                return true;
        }
        return found;
    }

    bool Inherited(int scope, int visibility)
    {
        if (!FirstVisit(InheritedStep + visibility, scope))
            return false;
        std::vector<Target> parents = Targets(scope, "Realization");
        const std::vector<Target> realized = Targets(scope, "Realized");
        parents.insert(parents.end(), realized.begin(), realized.end());
        bool found = false;
        for (const Target& p : parents) {
            int minimum = visibility;
            if (p.visibility == VISIBILITY_PRIVATE)
                minimum = VISIBILITY_PUBLIC;
            else if (p.visibility == VISIBILITY_PROTECTED)
                minimum = VISIBILITY_PROTECTED;
            found = Scope(p.id, minimum) || found;
            if (!Enough(found))
                found = Inherited(p.id, minimum) || found;
            if (!Enough(found))
                found = Imported(p.id) || found;
            if (Enough(found))
                return true;
        }
        return found;
    }

    bool Subtree(int root)
    {
        if (root <= 0 || !FirstVisit(SubtreeStep, root))
            return false;
        std::vector<int> matches;
        {
            dbTypedCursor<ModelT> c(&ModelT::TableInfo);
            if (SelectChildren(c, root, category_, metaclass_, name_, 0) <= 0)
                return false;
            if (!list_)
                return true;
            do {
                if (!Append(list_, *c.GetRecord()))
                    break;
                matches.push_back(c->ID);
            } while (c.Next());
        }
        for (int id : matches)
            Subtree(id);
        return true;
    }

    bool Outer(int scope)
    {
        bool found = false;
        while (scope > 0 && scope != theShellHooks.GetProjectRoot() && FirstVisit(OuterStep, scope)) {
            int owner;
            {
                dbTypedCursor<ModelT> c(&ModelT::TableInfo);
                if (c.SelectByKey("ID", scope) <= 0)
                    break;
                owner = c->FID;
            }
            found = Scope(owner, 0) || found;
            if (!Enough(found))
                found = Imported(scope) || found;
            if (Enough(found))
                return true;
            scope = owner;
        }
        return found;
    }

private:
    enum Step { ImportStep, ReachedImportStep, RealizedStep, PortStep, SubtreeStep, OuterStep, InheritedStep };

    struct Target {
        int id;
        int visibility;
        std::string stereotype;
    };

    // The scope's children of one relationship metaclass (or Enumeration).
    // All rows of the metaclass are read once per search, through its index
    // alone, and kept by owner: an import walk asks for the same kind in
    // many scopes.
    const std::vector<Link>& LinksOf(int scope, const char* metaclass)
    {
        static const std::vector<Link> none;
        auto& links = Cache().links;
        auto kind = links.find(metaclass);
        if (kind == links.end()) {
            kind = links.emplace(metaclass, std::unordered_map<int, std::vector<Link>>()).first;
            dbTypedCursor<ModelT> c(&ModelT::TableInfo);
            if (c.SelectByKey("Type", metaclass) > 0)
                do
                    kind->second[c->FID].push_back(
                        Link{c->ID, c->Use ? c->Use : "", c->Visibility, c->Stereotype ? c->Stereotype : ""});
                while (c.Next());
        }
        const auto owned = kind->second.find(scope);
        return owned == kind->second.end() ? none : owned->second;
    }

    // The existing elements named by the Use of the scope's children of one
    // metaclass, with each child's visibility and stereotype.
    std::vector<Target> Targets(int scope, const char* metaclass)
    {
        std::vector<Target> targets;
        auto& ids = Cache().ids;
        for (const Link& link : LinksOf(scope, metaclass)) {
            auto known = ids.find(link.use);
            if (known == ids.end())
                known = ids.emplace(link.use, FindElementIdByGuid(link.use.c_str())).first;
            if (known->second)
                targets.push_back(Target{known->second, link.visibility, link.stereotype});
        }
        return targets;
    }

    // A search without a list ends at its first match.
    bool Enough(bool found) const { return found && !list_; }

    bool FirstVisit(int step, int id)
    {
        return visited_.insert((static_cast<uint64_t>(step) << 32) | static_cast<uint32_t>(id)).second;
    }

    int category_;
    const char* metaclass_;
    const char* name_;
    TypeMatchList* list_;
    LinkCache& Cache() { return theSessionCache ? *theSessionCache : cache_; }

    std::unordered_set<uint64_t> visited_;
    LinkCache cache_;
};

} // namespace

bool ResolveTypeName(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Resolve(scope);
}

bool FindScopeMembers(int scope, int category, const char* metaclass, const char* name, int visibility,
                      TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Scope(scope, visibility);
}

bool FindEnumerationLiterals(int scope, const char* name, int visibility, TypeMatchList* list)
{
    return TypeSearch(0, nullptr, name, list).Literals(scope, visibility);
}

bool FindImportedMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Imported(scope);
}

bool FindRealizedMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Realized(scope);
}

bool FindPortMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Ports(scope);
}

bool FindInheritedMembers(int scope, int category, const char* metaclass, const char* name, int visibility,
                          TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Inherited(scope, visibility);
}

bool FindSubtreeMembers(int root, int category, const char* metaclass, const char* name, TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Subtree(root);
}

bool FindOuterScopeMembers(int scope, int category, const char* metaclass, const char* name, TypeMatchList* list)
{
    return TypeSearch(category, metaclass, name, list).Outer(scope);
}

int FindElementIdByGuid(const char* guid)
{
    if (IsEmpty(guid))
        return 0;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("GUID", guid) > 0 ? c->ID : 0;
}

bool IsKindOfNamed(const char* guid, const char* name)
{
    std::unordered_set<int> seen;
    std::vector<std::string> pending{guid ? guid : ""};
    while (!pending.empty()) {
        const std::string g = pending.back();
        pending.pop_back();
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (g.empty() || c.SelectByKey("GUID", g.c_str()) <= 0 || !seen.insert(c->ID).second)
            continue;
        if (std::strcmp(c->Name ? c->Name : "", name ? name : "") == 0)
            return true;
        dbTypedCursor<ModelT> parents(&ModelT::TableInfo);
        if (SelectKind(parents, c->ID, "Realization") > 0)
            do
                pending.push_back(parents->Use ? parents->Use : "");
            while (parents.Next());
    }
    return false;
}

TypeLookupSession::TypeLookupSession() : outer_(theSessionCache != nullptr)
{
    if (!outer_)
        theSessionCache = new LinkCache;
}

TypeLookupSession::~TypeLookupSession()
{
    if (!outer_) {
        delete theSessionCache;
        theSessionCache = nullptr;
    }
}

void ResetTypeResolution()
{
    theImportStereotypes = ImportStereotypes();
}
