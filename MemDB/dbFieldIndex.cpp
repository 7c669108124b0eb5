#include "MemDB/dbFieldIndex.h"

#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbHashIndex.h"
#include "MemDB/dbSpatialIndex.h"
#include "MemDB/dbTreeIndex.h"

uint32_t dbFieldIndex::CreateTree(dbEngine* db, const dbFieldInfo* fd)
{
    return fd->type == dbFieldInfo::tpRectangle ? dbSpatialIndex::Create(db)
                                                : dbTreeIndex::Create(db);
}

void dbFieldIndex::DropTree(dbEngine* db, int type, uint32_t treeId)
{
    if (type == dbFieldInfo::tpRectangle)
        dbSpatialIndex::Drop(db, treeId);
    else
        dbTreeIndex::Drop(db, treeId);
}

void dbFieldIndex::InsertIntoTree(dbEngine* db, const dbFieldInfo* fd, uint32_t recordId)
{
    if (fd->type == dbFieldInfo::tpRectangle)
        return dbSpatialIndex::Insert(db, fd->tTree, recordId, fd->dbsOffs);
    dbTreeIndex::Insert(db, fd->tTree, recordId, fd->type, fd->dbsSize, fd->comparator,
                        fd->dbsOffs);
}

void dbFieldIndex::Insert(dbEngine* db, const dbFieldInfo* fd, uint32_t recordId,
                          size_t growthLimit)
{
    if (fd->hashTable != 0)
        dbHashIndex::Insert(db, fd->hashTable, recordId, fd->type, fd->dbsSize, fd->dbsOffs,
                            growthLimit);
    // A T-tree insertion waits in the transaction's queue when it can; an
    // R-tree takes its record at once.
    if (fd->tTree != 0
        && (fd->type == dbFieldInfo::tpRectangle || !db->GetTreeBatches().Add(db, fd, recordId)))
        InsertIntoTree(db, fd, recordId);
}

void dbFieldIndex::Remove(dbEngine* db, const dbFieldInfo* fd, uint32_t recordId)
{
    if (fd->hashTable != 0)
        dbHashIndex::Remove(db, fd->hashTable, recordId, fd->type, fd->dbsSize, fd->dbsOffs);
    if (fd->tTree != 0 && fd->type == dbFieldInfo::tpRectangle)
        dbSpatialIndex::Remove(db, fd->tTree, recordId, fd->dbsOffs);
    else if (fd->tTree != 0)
        dbTreeIndex::Remove(db, fd->tTree, recordId, fd->type, fd->dbsSize, fd->comparator,
                            fd->dbsOffs);
}

void dbFieldIndex::Clear(dbEngine* db, const dbFieldInfo* fd)
{
    if (fd->hashTable != 0)
        dbHashIndex::Clear(db, fd->hashTable);
    if (fd->tTree != 0 && fd->type == dbFieldInfo::tpRectangle)
        dbSpatialIndex::Clear(db, fd->tTree);
    else if (fd->tTree != 0)
        dbTreeIndex::Clear(db, fd->tTree);
}
