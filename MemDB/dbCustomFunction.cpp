#include "MemDB/dbCustomFunction.h"

#include <mutex>

#include "MemDB/dbNameTable.h"

namespace {

std::mutex& RegistryLock()
{
    static std::mutex* lock = new std::mutex;  // outlives static registrations
    return *lock;
}

dbCustomFunction* registry = nullptr;

} // namespace

dbCustomFunction::dbCustomFunction(const char* name, Function function, int kind)
    : function(function), name(name), next(nullptr), kind(kind)
{
    dbNameTable::Instance().Intern(&this->name, 0, true);
    std::lock_guard<std::mutex> guard(RegistryLock());
    next = registry;
    registry = this;
}

dbCustomFunction::~dbCustomFunction()
{
    std::lock_guard<std::mutex> guard(RegistryLock());
    for (dbCustomFunction** at = &registry; *at; at = &(*at)->next) {
        if (*at == this) {
            *at = next;
            return;
        }
    }
}

const dbCustomFunction* dbCustomFunction::Find(const char* name)
{
    const char* interned = dbNameTable::Instance().Find(name);
    if (interned == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> guard(RegistryLock());
    for (const dbCustomFunction* f = registry; f; f = f->next) {
        if (f->name == interned)
            return f;
    }
    return nullptr;
}
