// The gallery: for each diagram kind, a diagram made by its prototype and
// every entry of its symbol toolbar (the kind's rules with a symbol, in ID
// order, one entry per metaclass) placed through the page controller with the
// placement tool armed, as the view places them. The entries go twice: a plain
// band on the left half of the page and a selected band on the right.
// Painted at zoom 1 to test-output/symbols/<kind>.png.
//
// Each entry must be created, leave ink in its bounds, and be found by a
// click at its centre (a line: its midpoint) that finds it or one of its
// member bands. By default an entry is placed on the page; a key placed
// inside a container, or a line, has one row in kRecipes. An entry whose key
// still has the base handler is left out until its class registers, and so
// is one whose container or line ends wait for theirs.
#include "SymbolFixture.h"

#include "MemDB/dbQueryText.h"
#include "Platform/Messages.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Symbols/DiagramSymbol.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <typeinfo>

namespace {

// How one toolbar key is placed. Containers and line ends are symbols of the
// same band placed by earlier entries. A row naming a diagram kind serves
// that kind before a row without one.
struct Recipe {
    const char* key;
    // Pressed at the centre of the band's latest symbol of this Type; null:
    // on the page.
    const char* in = nullptr;
    // A line: pressed on the band's first symbol of Type from, released on
    // its latest symbol of Type to.
    const char* from = nullptr;
    const char* to = nullptr;
    const char* kind = nullptr;
    // Spans the page whatever was drawn: placed in a row of its own, and the
    // selected band goes below the plain one instead of beside it.
    bool pageWide = false;
    // Hollow in the middle: clicked at the centre of its text box.
    bool byText = false;
    // With in, or a line: pressed (and released) this far below the
    // centres, where marks and messages on a lifeline's line keep apart.
    int below = 0;
    // A line ending on a symbol of Type to placed for it just before, by
    // that key's own recipe (in a new container of its own, if it has one).
    bool freshTo = false;
};

const Recipe kRecipes[] = {
    {"Attribute", "Class"},
    {"Operation", "Class"},
    {"Lifelinestop", "Lifeline", nullptr, nullptr, nullptr, false, false, 6000},
    {"Duration", "Lifeline", nullptr, nullptr, nullptr, false, false, 1000},
    {"Coregion", "Lifeline", nullptr, nullptr, nullptr, false, false, 3000},
    {"Timeline", "Timestate"},
    {"Timeduration", "Timestate"},
    {"Timestate", "Timelifeline"},
    {"Timelifeline", nullptr, nullptr, nullptr, nullptr, true},
    {"Inlineframe", nullptr, nullptr, nullptr, nullptr, true, true},
    {"Association", nullptr, "Interface", "Enumeration"},
    {"Association", nullptr, "Class", "Artifact", "Componentdiagram"},
    {"Association", nullptr, "Node", "Artifact", "Deploymentdiagram"},
    {"Association", nullptr, "Actor", "Usecase", "Usecasediagram"},
    {"Realization", nullptr, "Class", "Interface"},
    {"Realization", nullptr, "Artifact", "Component", "Deploymentdiagram"},
    {"Realization", nullptr, "Actor", "Usecase", "Usecasediagram"},
    {"Dependency", nullptr, "Comment", "Class"},
    {"Dependency", nullptr, "Comment", "Component", "Deploymentdiagram"},
    {"Dependency", nullptr, "Comment", "Usecase", "Usecasediagram"},
    {"Dependency", nullptr, "Comment", "Composition", "Compositestructurediagram"},
    {"Part", "Composition"},
    {"Port", "Component"},
    {"Port", "Class", nullptr, nullptr, "Compositestructurediagram"},
    {"Realized", "Port"},
    {"Required", "Port"},
    {"Connector", nullptr, "Port", "Realized"},
    {"Connector", nullptr, "Port", "Part", "Compositestructurediagram"},
    {"Performance", nullptr, "Actor", "Usecase"},
    // Clear of the marks later placed on the last lifeline.
    {"Message", nullptr, "Lifeline", "Lifeline", nullptr, false, false, 600, true},
    {"Create", nullptr, "Lifeline", "Lifeline", nullptr, false, false, 2500, true},
    {"Methodcall", nullptr, "Lifeline", "Lifeline", nullptr, false, false, 4500, true},
    {"Message", nullptr, "Timeline", "Timeline", "Timingdiagram", false, false, 0, true},
    // Between neighbours: a flow over another symbol would take its clicks.
    {"Flow", nullptr, "Action", "Actionnode"},
    {"Flow", nullptr, "Start", "State", "Statemachinediagram"},
    {"Flow", nullptr, "Initial", "Final", "Interactionoverviewdiagram"},
    {"Activityline", nullptr, "Objectnode", "Pin"},
};

const Recipe* RecipeOf(const char* kind, const char* key)
{
    const Recipe* found = nullptr;
    for (const Recipe& r : kRecipes)
        if (std::strcmp(r.key, key) == 0 && (!r.kind || std::strcmp(r.kind, kind) == 0) && (!found || r.kind))
            found = &r;
    return found;
}

bool HasClassOfItsOwn(const char* key)
{
    CSymbol* prototype = Prototype(key);
    return prototype && typeid(*prototype) != typeid(CSymbol);
}

// The symbol toolbar of a kind: the prototypes its rules place, in rule ID
// order, each once.
std::vector<CSymbol*> ToolbarOf(const char* kind)
{
    std::vector<std::string> symbols;
    {
        dbQueryText q;
        q.Append(dbFragText, "Parent=").AppendString(kind);
        q.Append(dbFragText, " and Symbol!='' order by ID");
        dbTypedCursor<MetaEle> c(&MetaEle::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                symbols.emplace_back(c->Symbol);
            while (c.Next());
    }
    std::vector<CSymbol*> entries;
    for (const std::string& symbol : symbols) {
        CSymbol* prototype = Prototype(symbol.c_str());
        if (prototype && std::find(entries.begin(), entries.end(), prototype) == entries.end())
            entries.push_back(prototype);
    }
    return entries;
}

POINT Centre(const SymbolT& s)
{
    return POINT{(s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2};
}

class SymbolGallery : public SymbolFixture, public ::testing::WithParamInterface<const char*> {
protected:
    SymbolGallery() : SymbolFixture(GetParam()) {}

    void SetUp() override
    {
        SymbolFixture::SetUp();
        // A page wide enough for both bands.
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", page), 0);
        ModelPage wide = *c.GetRecord();
        wide.PageWidth = 42000;
        theModelDb.UpdateRecord(c.GetCurrentOid(), &ModelPage::TableInfo, &wide);
        SetZoom(1.0f);
        PrepareSymbolDC(&picture.dc);
        controller = ShowPage();
        ASSERT_NE(controller, nullptr);
        SafeStrCopy(thePageState.Title, kind_, sizeof thePageState.Title);
    }
    void TearDown() override { PlacementTool::Reset(); }

    // Entries on the page go left to right in cells at least kCell wide, in
    // rows at least kRow high (room for the members placed later); a row
    // starts below everything in the previous one.
    struct Band {
        int left;
        int right;
        POINT next;
        std::vector<int> row;
        std::map<std::string, std::vector<int>> byType;  // placing order
        std::vector<int> placed;
    };
    static const int kCell = 3500;
    static const int kRow = 4500;
    static const int kGap = 800;

    void NextRow(Band& band)
    {
        int bottom = band.next.y + kRow - kGap;
        for (int id : band.row) {
            const SymbolT row = Row(id);
            bottom = std::max({bottom, row.y2, row.ty2});
        }
        band.next = POINT{band.left, bottom + kGap};
        band.row.clear();
    }

    int Press(POINT p) { return controller->OnMouseDown(MK_LBUTTON, p, &picture.dc); }
    int Release(POINT p) { return controller->OnMouseUp(0, p, &picture.dc); }

    // Arms the entry, presses at down and releases at up; the new symbol's
    // ID, 0 when refused.
    int Gesture(CSymbol* entry, POINT down, POINT up)
    {
        UndoLog::NewGroup();
        const int before = theNextSymbolId;
        PlacementTool::SelectKind(entry->metaIndex + 1);
        EXPECT_NE(PlacementTool::GetMode(), PlacementTool::None);
        Press(down);
        Release(up);
        EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::None);
        return theNextSymbolId > before ? theNextSymbolId : 0;
    }

    // The band's first or latest symbol of Type key; false when none was
    // placed.
    static bool Placed(const Band& band, const char* key, bool latest, SymbolT& row)
    {
        const auto found = band.byType.find(key);
        return found != band.byType.end() &&
               FetchSymbolById(latest ? found->second.back() : found->second.front(), row);
    }

    // Places one entry in band; false when it waits for a container or line
    // end whose key has no class yet.
    bool PlaceEntry(Band& band, CSymbol* entry)
    {
        static const Recipe plain{""};
        const Recipe* recipe = RecipeOf(kind_, entry->metaName);
        const Recipe& r = recipe ? *recipe : plain;
        int id = 0;
        SymbolT container, from, to;
        if (r.from) {
            if (r.freshTo && HasClassOfItsOwn(r.to) && Placed(band, r.from, false, from)) {
                const Recipe* end = RecipeOf(kind_, r.to);
                if (end && end->in)
                    PlaceEntry(band, Prototype(end->in));
                PlaceEntry(band, Prototype(r.to));
            }
            if (!Placed(band, r.from, false, from) || !Placed(band, r.to, true, to)) {
                EXPECT_FALSE(HasClassOfItsOwn(r.from) && HasClassOfItsOwn(r.to))
                    << entry->metaName << ": no " << r.from << " or " << r.to << " placed before it";
                return false;
            }
            const POINT down = Centre(from), up = Centre(to);
            id = Gesture(entry, POINT{down.x, down.y + r.below}, POINT{up.x, up.y + r.below});
        } else if (r.in) {
            if (!Placed(band, r.in, true, container)) {
                EXPECT_FALSE(HasClassOfItsOwn(r.in)) << entry->metaName << ": no " << r.in << " placed before it";
                return false;
            }
            const POINT down{Centre(container).x, Centre(container).y + r.below};
            id = Gesture(entry, down, down);
        } else {
            if (band.next.x > band.left && (r.pageWide || band.next.x + kCell > band.right))
                NextRow(band);
            id = Gesture(entry, band.next, band.next);
        }
        EXPECT_GT(id, 0) << entry->metaName << " was refused";
        if (id <= 0)
            return true;
        const SymbolT row = Row(id);
        if (!r.from && !r.in) {
            band.next.x = std::max({band.next.x + kCell, row.x2 + kGap, row.tx2 + kGap});
            band.row.push_back(id);
            if (r.pageWide)
                NextRow(band);
        }
        band.byType[row.Type].push_back(id);
        band.placed.push_back(id);

        const POINT click = r.byText ? POINT{(row.tx1 + row.tx2) / 2, (row.ty1 + row.ty2) / 2} : Centre(row);
        HitSymbol out;
        EXPECT_TRUE(controller->HitTest(click, out)) << entry->metaName;
        EXPECT_TRUE(out.rec.ID == id || (out.rec.ID == 0 && out.rec.FID == id))
            << entry->metaName << " click found " << out.rec.Type << " " << out.rec.ID;
        return true;
    }

    // Whether a symbol of the band reaches over its right edge, into the other
    // band's half.
    bool SpreadsBeyond(const Band& band)
    {
        for (int id : band.placed)
            if (Row(id).x2 > band.right)
                return true;
        return false;
    }

    // Non-white device pixels inside the symbol's bounds.
    bool Inked(const SymbolT& row)
    {
        const int x1 = PageCanvas::Device(std::min(row.x1, row.x2)) - 1;
        const int x2 = PageCanvas::Device(std::max(row.x1, row.x2)) + 1;
        const int y1 = PageCanvas::Device(std::min(row.y1, row.y2)) - 1;
        const int y2 = PageCanvas::Device(std::max(row.y1, row.y2)) + 1;
        for (int y = std::max(y1, 0); y <= y2; ++y)
            for (int x = std::max(x1, 0); x <= x2; ++x)
                if (picture.IsInk(x, y))
                    return true;
        return false;
    }

    PageCanvas picture{PageCanvas::Device(39000) + 2, PageCanvas::Device(26700) + 2};
    CDiagramController* controller = nullptr;
};

TEST_P(SymbolGallery, PlacesEveryToolbarEntryPlainAndSelected)
{
    const std::vector<CSymbol*> toolbar = ToolbarOf(kind_);
    ASSERT_FALSE(toolbar.empty());
    const int half = thePageState.UsableWidth / 2;
    Band bands[2] = {{1000, half - 500, {1000, 1500}, {}, {}, {}},
                     {half + 500, thePageState.UsableWidth - 1000, {half + 500, 1500}, {}, {}, {}}};
    std::string waiting;
    for (Band& band : bands) {
        if (&band != bands && SpreadsBeyond(bands[0])) {
            NextRow(bands[0]);
            band = Band{bands[0].left, bands[0].right, bands[0].next, {}, {}, {}};
        }
        for (CSymbol* entry : toolbar) {
            SCOPED_TRACE(entry->metaName);
            if ((!HasClassOfItsOwn(entry->metaName) || !PlaceEntry(band, entry)) && &band == bands)
                waiting += std::string(waiting.empty() ? "" : " ") + entry->metaName;
        }
    }
    for (int id : bands[1].placed)
        controller->SetSelection(page, true, id);

    PrepareSymbolDC(&picture.dc);
    controller->DrawPage(&picture.dc);
    picture.Save(std::string("symbols/") + kind_);
    for (const Band& band : bands)
        for (int id : band.placed) {
            const SymbolT row = Row(id);
            EXPECT_TRUE(Inked(row)) << row.Type << " " << id << " left no ink in its bounds";
        }
    RecordProperty("waiting", waiting);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SymbolGallery, ::testing::ValuesIn(kDiagramKeys),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
