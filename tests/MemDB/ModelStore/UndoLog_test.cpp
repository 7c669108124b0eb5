// The undo log: whole groups undone and redone against snapshots of every
// table, rows re-inserted under new identifiers with the other records
// renumbered, spilling past the image buffers, and history dropped when a
// spill file cannot be read back.
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <dirent.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "MemDB/UndoSpill.h"
#include "ModelStoreFixture.h"

using namespace modelstore;

namespace {

class UndoLogTest : public ModelStoreTest {
protected:
    // A text of the pool: null, empty, short or (rarely) long.
    const char* RandomText()
    {
        switch (rng() % 8) {
        case 0:
            return nullptr;
        case 1:
            return "";
        case 2:
            texts.push_back(std::string(300 + rng() % 300, static_cast<char>('a' + rng() % 26)));
            return texts.back().c_str();
        }
        std::string s;
        for (size_t n = rng() % 20; n > 0; --n)
            s += static_cast<char>('A' + rng() % 58);
        texts.push_back(s);
        return texts.back().c_str();
    }
    // Gives each field of record a random value with probability 1/share.
    void Scramble(dbTableInfo* table, void* record, unsigned share)
    {
        dbFieldInfo* fd = table->columns;
        do {
            if (rng() % share != 0)
                continue;
            char* p = static_cast<char*>(record) + fd->appOffs;
            if (fd->appType == dbFieldInfo::tpString) {
                const char* s = RandomText();
                memcpy(p, &s, sizeof s);
            } else {
                uint32_t v = rng() % 5 == 0 ? rng() : rng() % 4;
                memcpy(p, &v, fd->appSize);
            }
        } while ((fd = fd->next) != table->columns);
    }
    dbTableInfo* RandomTable()
    {
        dbTableInfo* tables[] = {&ModelT::TableInfo, &SymbolT::TableInfo, &ModelPage::TableInfo,
                                 &StereotypeT::TableInfo, &ModelOperation::TableInfo};
        return tables[rng() % 5];
    }
    oid_t RandomRow(dbTableInfo* table)
    {
        std::vector<oid_t> ids = RowIds(table);
        return ids.empty() ? 0 : ids[rng() % ids.size()];
    }
    void RandomChange()
    {
        dbTableInfo* table = RandomTable();
        std::vector<uint64_t> record(64);
        unsigned kind = rng() % 10;
        oid_t id = RandomRow(table);
        if (kind < 4 || id == 0) {
            Scramble(table, record.data(), 1);
            ASSERT_NE(MemDbInsert(table, record.data()), 0u);
        } else if (kind < 8) {
            ASSERT_TRUE(theModelDb.FetchRecord(id, table, record.data()));
            Scramble(table, record.data(), 3);
            MemDbUpdate(table, record.data(), id);
        } else {
            MemDbRemove(table, id);
        }
    }
    // A gesture of one to six changes, at least one of them logged.
    void RandomGesture()
    {
        UndoLog::NewGroup();
        size_t depth = UndoLog::UndoDepth();
        for (unsigned n = 1 + rng() % 6; n > 0; --n)
            RandomChange();
        while (UndoLog::UndoDepth() == depth)
            RandomChange();
    }

    std::mt19937 rng{20261210};
    std::deque<std::string> texts;
};

oid_t InsertElement(const char* name)
{
    ModelT e;
    e.ID = 1;
    e.Name = name;
    e.Type = "Class";
    return MemDbInsert(&ModelT::TableInfo, &e);
}

void RenameElement(oid_t id, const char* name)
{
    ModelT e;
    ASSERT_TRUE(theModelDb.FetchRecord(id, &ModelT::TableInfo, &e));
    e.Name = name;
    ASSERT_EQ(MemDbUpdate(&ModelT::TableInfo, &e, id), 1);
}

std::vector<std::string> SpillFiles()
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(UndoSpill::Folder())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string SpillPath(const char* name)
{
    return std::string(UndoSpill::Folder()) + "/" + name;
}

TEST_F(UndoLogTest, GroupsUndoAndRedoToTheSnapshotsTheyLeft)
{
    const int gestures = 60;
    std::vector<Snapshot> states{TakeSnapshot()};
    for (int i = 0; i < gestures; ++i) {
        RandomGesture();
        states.push_back(TakeSnapshot());
    }
    for (int i = gestures; i > 0; --i) {
        ASSERT_EQ(UndoLog::Undo(), 1);
        ASSERT_TRUE(SameTables(TakeSnapshot(), states[i - 1])) << "undoing gesture " << i;
    }
    EXPECT_EQ(UndoLog::Undo(), 0);
    EXPECT_TRUE(SameTables(TakeSnapshot(), states[0]));
    for (int i = 1; i <= gestures; ++i) {
        ASSERT_EQ(UndoLog::Redo(), 1);
        ASSERT_TRUE(SameTables(TakeSnapshot(), states[i])) << "redoing gesture " << i;
    }
    EXPECT_EQ(UndoLog::Redo(), 0);

    // Half-way back, a new gesture discards what could have been redone.
    for (int i = gestures; i > gestures / 2; --i)
        ASSERT_EQ(UndoLog::Undo(), 1);
    RandomGesture();
    EXPECT_EQ(UndoLog::Redo(), 0);
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_TRUE(SameTables(TakeSnapshot(), states[gestures / 2]));
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_TRUE(SameTables(TakeSnapshot(), states[gestures / 2 - 1]));
}

TEST_F(UndoLogTest, InterleavedUndoRedoAndGesturesFollowTheHistory)
{
    // states[0 .. done] can be returned to by undoing; states past done
    // by redoing, until a new gesture cuts them off.
    std::vector<Snapshot> states{TakeSnapshot()};
    size_t done = 0;
    for (int step = 0; step < 300; ++step) {
        unsigned choice = rng() % 4;
        if (choice < 2) {
            RandomGesture();
            states.resize(++done);
            states.push_back(TakeSnapshot());
        } else if (choice == 2) {
            ASSERT_EQ(UndoLog::Undo(), done > 0 ? 1 : 0);
            if (done > 0)
                --done;
        } else {
            ASSERT_EQ(UndoLog::Redo(), done + 1 < states.size() ? 1 : 0);
            if (done + 1 < states.size())
                ++done;
        }
        ASSERT_TRUE(SameTables(TakeSnapshot(), states[done])) << "step " << step;
        if (step % 50 == 0) {
            ASSERT_TRUE(IndexesAgree()) << "step " << step;
        }
    }
    EXPECT_TRUE(IndexesAgree());
}

TEST_F(UndoLogTest, ReinsertedRowRenumbersTheEarlierRecordsOfIt)
{
    UndoLog::NewGroup();
    oid_t id = InsertElement("A");
    UndoLog::NewGroup();
    RenameElement(id, "B");
    UndoLog::NewGroup();
    MemDbRemove(&ModelT::TableInfo, id);

    // A row written past the log takes the freed id, so the removed row
    // cannot come back under it.
    ModelT other;
    other.Name = "Other";
    ASSERT_EQ(theModelDb.InsertRecord(&ModelT::TableInfo, &other), id);
    const std::string otherRow = RowsById(&ModelT::TableInfo).at(id);

    ASSERT_EQ(UndoLog::Undo(), 1);
    std::map<oid_t, std::string> rows = RowsById(&ModelT::TableInfo);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.at(id), otherRow);
    oid_t back = rows.rbegin()->first == id ? rows.begin()->first : rows.rbegin()->first;
    ASSERT_NE(back, id);
    EXPECT_NE(rows.at(back).find("Name=\"B\""), std::string::npos);

    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_NE(RowsById(&ModelT::TableInfo).at(back).find("Name=\"A\""), std::string::npos);
    EXPECT_EQ(RowsById(&ModelT::TableInfo).at(id), otherRow);
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(RowIds(&ModelT::TableInfo), std::vector<oid_t>{id});
    EXPECT_EQ(UndoLog::Undo(), 0);
}

TEST_F(UndoLogTest, RedoneInsertRenumbersTheLaterRecordsOfIt)
{
    UndoLog::NewGroup();
    oid_t id = InsertElement("A");
    UndoLog::NewGroup();
    RenameElement(id, "B");
    ASSERT_EQ(UndoLog::Undo(), 1);
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_TRUE(RowIds(&ModelT::TableInfo).empty());

    ModelT other;
    other.Name = "Other";
    ASSERT_EQ(theModelDb.InsertRecord(&ModelT::TableInfo, &other), id);
    const std::string otherRow = RowsById(&ModelT::TableInfo).at(id);

    ASSERT_EQ(UndoLog::Redo(), 1);
    ASSERT_EQ(UndoLog::Redo(), 1);
    std::map<oid_t, std::string> rows = RowsById(&ModelT::TableInfo);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.at(id), otherRow);
    oid_t redone = rows.begin()->first == id ? rows.rbegin()->first : rows.begin()->first;
    EXPECT_NE(rows.at(redone).find("Name=\"B\""), std::string::npos);
}

TEST_F(UndoLogTest, RowsRemovedTogetherComeBackWithTheirOwnHistories)
{
    // Re-inserting one row may hand it the freed id of another row of the
    // group that is not back yet (index nodes take and free ids as well);
    // each row's own update must still find it.
    UndoLog::NewGroup();
    std::vector<oid_t> ids;
    for (int i = 0; i < 400; ++i) {
        texts.push_back("row" + std::to_string(i));
        ids.push_back(InsertElement(texts.back().c_str()));
    }
    Snapshot inserted = TakeSnapshot();
    UndoLog::NewGroup();
    for (size_t i = 0; i < ids.size(); ++i) {
        texts.push_back("renamed" + std::to_string(i * 7919 % 400));
        RenameElement(ids[i], texts.back().c_str());
    }
    for (size_t i = 0; i < ids.size(); i += 2)
        MemDbRemove(&ModelT::TableInfo, ids[i]);
    for (size_t i = ids.size() - 1; i < ids.size(); i -= 2)
        MemDbRemove(&ModelT::TableInfo, ids[i]);
    Snapshot removed = TakeSnapshot();

    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_TRUE(SameTables(TakeSnapshot(), inserted));
    ASSERT_EQ(UndoLog::Redo(), 1);
    EXPECT_TRUE(SameTables(TakeSnapshot(), removed));
    ASSERT_EQ(UndoLog::Undo(), 1);
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_TRUE(RowIds(&ModelT::TableInfo).empty());
    ASSERT_EQ(UndoLog::Redo(), 1);
    ASSERT_EQ(UndoLog::Redo(), 1);
    EXPECT_TRUE(SameTables(TakeSnapshot(), removed));
    EXPECT_TRUE(IndexesAgree());
}

// Each replayed row is reported with its images on both sides of the
// replay; the side where the row does not exist is empty.
TEST_F(UndoLogTest, ReplaysReportTheRowsTheyChanged)
{
    UndoLog::NewGroup();
    const oid_t kept = InsertElement("A");
    const oid_t gone = InsertElement("Gone");
    UndoLog::NewGroup();
    RenameElement(kept, "B");
    MemDbRemove(&ModelT::TableInfo, gone);
    InsertElement("New");

    auto name = [](const std::vector<char>& image) {
        if (image.empty())
            return std::string("-");
        ModelT row;
        EXPECT_EQ(MemDbReadImage(&ModelT::TableInfo, image.data(), image.size(), &row), image.size());
        return std::string(row.Name ? row.Name : "");
    };
    auto report = [&] {
        std::vector<std::string> rows;
        for (const UndoLog::ReplayedRow& row : UndoLog::LastReplayed()) {
            EXPECT_EQ(row.table, &ModelT::TableInfo);
            rows.push_back(name(row.before) + ">" + name(row.after));
        }
        return rows;
    };
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(report(), (std::vector<std::string>{"New>-", "->Gone", "B>A"}));
    ASSERT_EQ(UndoLog::Redo(), 1);
    EXPECT_EQ(report(), (std::vector<std::string>{"A>B", "Gone>-", "->New"}));
    UndoLog::Clear();
    EXPECT_EQ(UndoLog::Undo(), 0);
    EXPECT_TRUE(UndoLog::LastReplayed().empty());
}

class UndoSpillTest : public UndoLogTest {
protected:
    // One gesture of inserts whose images fill the undo buffer count times.
    void BigInsertGesture(int buffers)
    {
        UndoLog::NewGroup();
        std::string name(200, 'n');
        size_t bytes = 0;
        for (int i = 0; bytes < buffers * UndoLog::BufferSize; ++i) {
            name.replace(0, 8, std::to_string(10000000 + i));
            ModelT e;
            e.ID = i;
            e.Name = name.c_str();
            e.GUID = "g";
            ASSERT_NE(MemDbInsert(&ModelT::TableInfo, &e), 0u);
            bytes += MemDbImageSize(&ModelT::TableInfo, &e);
        }
    }
};

TEST_F(UndoSpillTest, GroupsLargerThanTheBuffersSpillAndReplay)
{
    Snapshot empty = TakeSnapshot();
    BigInsertGesture(3);
    Snapshot inserted = TakeSnapshot();
    UndoLog::NewGroup();
    std::vector<oid_t> ids = RowIds(&ModelT::TableInfo);
    std::string renamed(150, 'r');
    for (size_t i = 0; i < ids.size(); i += 2) {
        ModelT e;
        ASSERT_TRUE(theModelDb.FetchRecord(ids[i], &ModelT::TableInfo, &e));
        e.Use = renamed.c_str();
        ASSERT_EQ(MemDbUpdate(&ModelT::TableInfo, &e, ids[i]), 1);
    }
    for (size_t i = 1; i < ids.size(); i += 3)
        MemDbRemove(&ModelT::TableInfo, ids[i]);
    Snapshot changed = TakeSnapshot();
    std::vector<std::string> files = SpillFiles();
    ASSERT_GE(files.size(), 4u);
    EXPECT_EQ(files[0], "vexalundo0.tmp");

    ASSERT_EQ(UndoLog::Undo(), 1);
    ASSERT_TRUE(SameTables(TakeSnapshot(), inserted));
    ASSERT_EQ(UndoLog::Undo(), 1);
    ASSERT_TRUE(SameTables(TakeSnapshot(), empty));
    EXPECT_EQ(UndoLog::Undo(), 0);
    EXPECT_GE(SpillFiles().size(), files.size() + 3);
    EXPECT_EQ(SpillFiles().back(), "vexalundo" + std::to_string(files.size() - 1) + ".tmp");

    ASSERT_EQ(UndoLog::Redo(), 1);
    ASSERT_TRUE(SameTables(TakeSnapshot(), inserted));
    ASSERT_EQ(UndoLog::Redo(), 1);
    ASSERT_TRUE(SameTables(TakeSnapshot(), changed));
    EXPECT_TRUE(IndexesAgree());
    ASSERT_EQ(UndoLog::Undo(), 1);
    ASSERT_TRUE(SameTables(TakeSnapshot(), inserted));

    UndoLog::Reset();
    EXPECT_TRUE(SpillFiles().empty());
    EXPECT_EQ(UndoLog::Undo(), 0);
    EXPECT_EQ(UndoLog::Redo(), 0);
}

TEST_F(UndoSpillTest, UnreadableSpillDropsTheOlderHistory)
{
    struct Case {
        const char* what;
        void (*damage)(const std::string& path);
    };
    const Case cases[] = {
        {"missing", [](const std::string& path) { unlink(path.c_str()); }},
        {"cut short", [](const std::string& path) { truncate(path.c_str(), 1000); }},
        {"overwritten", [](const std::string& path) {
             std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(4);
             f << std::string(4096, '\xFF');
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UndoLog::Reset();
        MemDbClearModel();
        BigInsertGesture(2);
        size_t rows = RowIds(&ModelT::TableInfo).size();
        UndoLog::NewGroup();
        oid_t last = InsertElement("last");
        c.damage(SpillPath("vexalundo0.tmp"));

        ASSERT_EQ(UndoLog::Undo(), 1);
        EXPECT_EQ(RowIds(&ModelT::TableInfo).size(), rows);
        EXPECT_FALSE(theModelDb.IsRecordOf(last, &ModelT::TableInfo));
        // The big gesture is undone as far as its images could be read.
        ASSERT_EQ(UndoLog::Undo(), 1);
        size_t left = RowIds(&ModelT::TableInfo).size();
        EXPECT_GT(left, 0u);
        EXPECT_LT(left, rows);
        EXPECT_EQ(UndoLog::UndoDepth(), 0u);
        EXPECT_EQ(UndoLog::Undo(), 0);

        // What was undone can be redone.
        ASSERT_EQ(UndoLog::Redo(), 1);
        EXPECT_EQ(RowIds(&ModelT::TableInfo).size(), rows);
        ASSERT_EQ(UndoLog::Redo(), 1);
        EXPECT_EQ(RowIds(&ModelT::TableInfo).size(), rows + 1);
    }
}

TEST_F(UndoSpillTest, UnwritableSpillDropsTheHistoryAndTheRestOfItsGroup)
{
    BigInsertGesture(1);
    UndoLog::Reset();
    MemDbClearModel();
    // A folder where the first spill file should go makes its writing fail.
    std::string blocked = SpillPath("vexalundo0.tmp");
    ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0);

    UndoLog::NewGroup();
    InsertElement("first");
    BigInsertGesture(2);
    size_t rows = RowIds(&ModelT::TableInfo).size();
    UndoLog::NewGroup();
    InsertElement("last");

    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(RowIds(&ModelT::TableInfo).size(), rows);
    EXPECT_EQ(UndoLog::Undo(), 0);
    EXPECT_EQ(RowIds(&ModelT::TableInfo).size(), rows);
    EXPECT_EQ(rmdir(blocked.c_str()), 0);
}

TEST(UndoSpillFolder, IsRemovedWhenTheProcessEnds)
{
    // The child process runs this body again from the start: the run name
    // travels in the environment so that both use the same one.
    if (!getenv("VEXAL_SPILL_TEST_NAME")) {
        char name[DbNameSize];
        ASSERT_EQ(MakeGuidText(name, DbNameSize, FALSE), 1);
        setenv("VEXAL_SPILL_TEST_NAME", name, 1);
    }
    const std::string prefix = std::string("vexal-") + getenv("VEXAL_SPILL_TEST_NAME") + "-";
    const char* tmp = getenv("TMPDIR");
    const std::string parent = tmp && *tmp ? tmp : "/tmp";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            strcpy(theDbName, getenv("VEXAL_SPILL_TEST_NAME"));
            MemDbOpen();
            std::string name(300, 'n');
            ModelT e;
            e.Name = name.c_str();
            for (int i = 0; i < 2000; ++i)
                MemDbInsert(&ModelT::TableInfo, &e);
            bool inPlace = std::string(UndoSpill::Folder()).find("/" + prefix) != std::string::npos;
            exit(inPlace && !SpillFiles().empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    DIR* dir = opendir(parent.c_str());
    ASSERT_NE(dir, nullptr);
    while (dirent* entry = readdir(dir))
        EXPECT_NE(strncmp(entry->d_name, prefix.c_str(), prefix.size()), 0) << entry->d_name;
    closedir(dir);
}

} // namespace
