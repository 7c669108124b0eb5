#include "App/ProjectFiles.h"

#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/ModuleDir.h"
#include "Pub/Paths.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path Absolute(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    std::error_code ignored;
    const fs::path absolute = fs::absolute(fs::path(text), ignored);
    fs::path normal = (absolute.empty() ? fs::path(text) : absolute).lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

fs::path Normalised(const char* path) { return Absolute(PathJoin(theProjectDir, path ? path : "").GetString()); }

std::string Quoted(const char* name) { return std::string("\"") + (name ? name : "") + "\""; }

} // namespace

std::string ProjectFileRole(const char* path, int exceptId)
{
    const fs::path file = Normalised(path);
    if (file == Normalised(PathJoin(theModuleDir, "cfg/predefined.uml")))
        return "it is the file of the predefined unit";
    dbQueryText q;
    q.Append(dbFragText, "File!=''");
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do {
            if (c->ID == exceptId || Normalised(c->File) != file)
                continue;
            if (c->ID == theProjectRootId)
                return "it is the project file";
            if (c->FID == theLibraryRootId)
                return "it is the file of the library " + Quoted(c->Name);
            return "it is the file of the unit " + Quoted(c->Name);
        } while (c.Next());
    return "";
}

std::string UnitPathConflict(const char* path, int elementId)
{
    const std::string role = ProjectFileRole(path, elementId);
    if (!role.empty())
        return role;
    const fs::path relative = Normalised(path).lexically_relative(Absolute(theProjectDir.GetString()));
    if (relative.empty() || *relative.begin() == ".." || relative == ".")
        return "the file lies outside the project folder";
    return "";
}
