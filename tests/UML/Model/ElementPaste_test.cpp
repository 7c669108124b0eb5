#include "UML/Model/Symbol.h"

#include "MemDB/FlatImage.h"
#include "MemDB/UndoLog.h"
#include "ModelEnvironment.h"
#include "ModelRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CSymbol* Prototype(const char* key)
{
    CSymbol* p = nullptr;
    EXPECT_TRUE(FindMetaclass(key, p)) << key;
    return p;
}

// A block of the element images of the rows, back to back, as the model
// browser's copy writes them after the run's name.
std::vector<char> ElementBlock(const std::vector<int>& ids)
{
    std::vector<char> block;
    for (int id : ids) {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0);
        CSymbol* p = Prototype(c->Type);
        const size_t at = block.size();
        block.resize(at + p->FlatElementSize(*c.GetRecord()));
        EXPECT_EQ(p->FlattenElement(block.data() + at, *c.GetRecord()), block.size() - at);
    }
    return block;
}

// Pastes every image of the block under target until one is refused;
// returns the new elements' IDs.
std::vector<int> PasteAll(const std::vector<char>& block, size_t size, int target)
{
    std::vector<int> pasted;
    PasteIdMap map(target);
    for (size_t at = 0; at < size;) {
        ModelT image;
        if (!MemDbReadImage(&ModelT::TableInfo, block.data() + at, size - at, &image))
            break;
        const int before = theNextElementId;
        const size_t used = Prototype(image.Type)->PasteElement(block.data() + at, size - at, map);
        if (used < 1)
            break;
        pasted.push_back(before + 1);
        at += used;
    }
    return pasted;
}

TEST(ElementPaste, CopiesGoUnderTheChosenOwnerWhenItMayOwnThem)
{
    UndoLog::Clear();
    InsertElement(7001, 0, "Class", "EP-C");
    InsertElement(7002, 7001, "Attribute", "EP-A1", MMC_ATTRIBUTE);
    InsertElement(7003, 7002, "Attribute", "EP-A2", MMC_ATTRIBUTE);
    InsertElement(7004, 0, "Class", "EP-TARGET");
    InsertElement(7005, 0, "Actor", "EP-ACTOR", MMC_ATTRIBUTE);
    theNextElementId = 7100;
    const std::vector<char> block = ElementBlock({7002, 7003});
    ModelT first;
    const size_t firstSize = MemDbReadImage(&ModelT::TableInfo, block.data(), block.size(), &first);
    ASSERT_GT(firstSize, 0u);
    struct Case {
        const char* name;
        int target;
        size_t size;
        size_t pasted;
    } const cases[] = {
        {"both under the class, though one owned the other", 7004, block.size(), 2},
        {"an owner that may not own attributes takes none", 7005, block.size(), 0},
        {"a cut block pastes its whole images", 7004, firstSize + 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> pasted = PasteAll(block, c.size, c.target);
        EXPECT_EQ(pasted.size(), c.pasted);
        for (int id : pasted) {
            dbTypedCursor<ModelT> e(&ModelT::TableInfo);
            ASSERT_GT(e.SelectByKey("ID", id), 0);
            EXPECT_EQ(e->FID, c.target);
            EXPECT_EQ(e->SN, id);
            EXPECT_EQ(std::string(e->GUID).size(), 22u) << "a new GUID";
            EXPECT_STRNE(e->GUID, "EP-A1");
        }
    }
    UndoLog::Clear();
}

} // namespace
