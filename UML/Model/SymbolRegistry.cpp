#include "UML/Model/SymbolRegistry.h"

#include "Controls/CommandImageList.h"
#include "Controls/SyntaxColourer.h"
#include "MemDB/ModelSchema.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "Pub/XmlFile.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/Symbol.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>
#include <unordered_map>

namespace {

std::unordered_map<std::string, CSymbol*> theMetaclassMap;
std::unordered_map<std::string, CDiagramController*> theControllerMap;
std::vector<std::string> theMetaclassNames;
std::vector<CSymbol*> theSortedMetaclasses;
CCommandImageList* theMetaIconList = nullptr;
int theNextMetaIndex = 0;
int theNextMetaRuleId = 1;

const unsigned kFirstPaletteCommand = 2024;

struct Kind {
    const char* key;
    int mmc;
    int msc; // MSC_NONE is 255, stored as -1 in the row's signed byte
    dbTableInfo* extension;
    dbTableInfo* secondExtension;
};

// Every metaclass key in construction order with its category, shape and
// extension tables. Timestate is built twice: the second replaces the first.
const Kind kKinds[] = {
    {"Class", MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo, nullptr},
    {"Component", MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo, nullptr},
    {"Artifact", MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo, nullptr},
    {"Node", MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo, nullptr},
    {"Interface", MMC_CLASS, MSC_RECTANGLE, nullptr, nullptr},
    {"Composition", MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo, nullptr},
    {"Subject", MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo, nullptr},
    {"Enumeration", MMC_CLASS, MSC_RECTANGLE, nullptr, nullptr},
    {"Literal", MMC_LITERAL, MSC_LINETEXT, nullptr, nullptr},
    {"Attribute", MMC_ATTRIBUTE, MSC_LINETEXT, &ModelAttribute::TableInfo, nullptr},
    {"Parameter", MMC_ATTRIBUTE, MSC_LINETEXT, &ModelParameter::TableInfo, nullptr},
    {"Part", MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo, nullptr},
    {"Association", MMC_ATTRIBUTE, MSC_LINE, &ModelAttribute::TableInfo, nullptr},
    {"Actor", MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo, nullptr},
    {"Lifeline", MMC_ATTRIBUTE, MSC_LIFELINE, &ModelAttribute::TableInfo, nullptr},
    {"Timelifeline", MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo, nullptr},
    {"Objectnode", MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo, nullptr},
    {"Partition", MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo, nullptr},
    {"Operation", MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo, nullptr},
    {"Activity", MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo, nullptr},
    {"Interaction", MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo, nullptr},
    {"Statemachine", MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo, nullptr},
    {"Usecase", MMC_OPERATION, MSC_ELLIPSE, &ModelOperation::TableInfo, &ModelUsecase::TableInfo},
    {"Signal", MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo, nullptr},
    {"Dependency", MMC_RELATION, MSC_LINE, nullptr, nullptr},
    {"Port", MMC_RELATION, MSC_RECTANGLE, nullptr, nullptr},
    {"Realization", MMC_RELATION, MSC_LINE, nullptr, nullptr},
    {"Realized", MMC_RELATION, MSC_BAR, nullptr, nullptr},
    {"Required", MMC_RELATION, MSC_BAR, nullptr, nullptr},
    {"Connector", MMC_RELATION, MSC_LINE, nullptr, nullptr},
    {"Performance", MMC_RELATION, MSC_LINE, nullptr, nullptr},
    {"Page", MMC_PAGE, MSC_NONE, &ModelPage::TableInfo, nullptr},
    {"Package", MMC_NAMESPACE, MSC_RECTANGLE, nullptr, nullptr},
    {"Syspackage", MMC_NAMESPACE, MSC_RECTANGLE, nullptr, nullptr},
    {"Stereotype", MMC_STEREOTYPE, MSC_RECTANGLE, nullptr, nullptr},
    {"Deploymentdiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Packagediagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Usecasediagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Classdiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Componentdiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Compositestructurediagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Sequencediagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Statemachinediagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Activitydiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Interactionoverviewdiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Timingdiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"Anatomydiagram", MMC_DIAGRAM, MSC_NONE, nullptr, nullptr},
    {"State", MMC_COMMENT, MSC_RECTANGLE, nullptr, nullptr},
    {"Timestate", MMC_COMMENT, MSC_RECTANGLE, nullptr, nullptr},
    {"Comment", MMC_COMMENT, MSC_TEXT, nullptr, nullptr},
    {"Constraint", MMC_COMMENT, MSC_TEXT, nullptr, nullptr},
    {"Initial", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"Final", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"Unknownobject", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"Start", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"Return", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"Flowfinal", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"History", MMC_NONE, MSC_ELLIPSE, nullptr, nullptr},
    {"Lifelinestop", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Message", MMC_NONE, MSC_LINE, nullptr, nullptr},
    {"Create", MMC_NONE, MSC_LINE, nullptr, nullptr},
    {"Methodcall", MMC_NONE, MSC_LINE, nullptr, nullptr},
    {"Coregion", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Action", MMC_NONE, MSC_TEXT, nullptr, nullptr},
    {"Reference", MMC_COMMENT, MSC_RECTANGLE, nullptr, nullptr},
    {"Inlineframe", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Junction", MMC_NONE, MSC_ELLIPSE, &ModelOperation::TableInfo, &ModelUsecase::TableInfo},
    {"Send", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Receive", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Choice", MMC_NONE, MSC_TEXT, nullptr, nullptr},
    {"Flow", MMC_NONE, MSC_LINE, nullptr, nullptr},
    {"Activityline", MMC_NONE, MSC_LINE, nullptr, nullptr},
    {"Duration", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Fork", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Terminal", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Pin", MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo, nullptr},
    {"Actionnode", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Timestate", MMC_COMMENT, MSC_RECTANGLE, nullptr, nullptr},
    {"Timeduration", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
    {"Timeline", MMC_NONE, MSC_RECTANGLE, nullptr, nullptr},
};

struct ControllerKind {
    const char* key;
    const char* prototype;
    CDiagramController::Order order;
};

const ControllerKind kControllers[] = {
    {"Deploymentdiagram", "Deploymentdiagram", CDiagramController::PlainOrder},
    {"Componentdiagram", "Componentdiagram", CDiagramController::PlainOrder},
    {"Classdiagram", "Classdiagram", CDiagramController::PlainOrder},
    {"Compositestructurediagram", "Compositestructurediagram", CDiagramController::PlainOrder},
    {"Packagediagram", "Packagediagram", CDiagramController::PlainOrder},
    {"Usecasediagram", "Usecasediagram", CDiagramController::PlainOrder},
    {"Sequencediagram", "Sequencediagram", CDiagramController::LifelinesBelow},
    {"Activitydiagram", "Activitydiagram", CDiagramController::PartitionsBelow},
    {"Interactionoverviewdiagram", "Interactionoverviewdiagram", CDiagramController::PlainOrder},
    {"Statemachinediagram", "Statemachinediagram", CDiagramController::PlainOrder},
    {"Timingdiagram", "Timingdiagram", CDiagramController::PlainOrder},
    // Drops on an anatomy diagram follow the package diagram's rules.
    {"Anatomydiagram", "Packagediagram", CDiagramController::PlainOrder},
};

// The prototypes and controllers live to the end of the process.
struct Objects {
    std::vector<std::unique_ptr<CSymbol>> prototypes;
    // Prototypes registered by the symbol classes, by key.
    std::unordered_map<std::string, CSymbol*> registered;
    std::vector<std::unique_ptr<CDiagramController>> controllers;
};

Objects& TheObjects()
{
    static Objects* objects = new Objects;
    return *objects;
}

bool IsName(const char* a, const char* b)
{
    return strcasecmp(a, b) == 0;
}

// Reads nodes up to the end tag named tag (any case); false when the file
// ends first.
bool SkipTo(CXmlFile& xml, const char* tag)
{
    while (xml.ReadNextNode())
        if (xml.GetKind() == XML_END && IsName(xml.GetName(), tag))
            return true;
    return false;
}

bool ReadRule(CXmlFile& xml, const char* parent)
{
    char name[CXmlFile::NameSize];
    SafeStrCopy(name, xml.GetName(), sizeof name);
    std::string model = name, symbol = name;
    MetaEle rule;
    while (xml.ReadNextAttribute()) {
        if (IsName(xml.GetName(), "model"))
            model = xml.GetValue();
        else if (IsName(xml.GetName(), "symbol"))
            symbol = xml.GetValue();
        else if (IsName(xml.GetName(), "in"))
            rule.In = std::atoi(xml.GetValue());
        else if (IsName(xml.GetName(), "out"))
            rule.Out = std::atoi(xml.GetValue());
    }
    rule.ID = theNextMetaRuleId++;
    rule.Parent = parent;
    rule.Name = name;
    rule.Model = model.c_str();
    rule.Symbol = symbol.c_str();
    theModelDb.InsertRecord(&MetaEle::TableInfo, &rule);
    return SkipTo(xml, name);
}

// False when the file ends inside the element.
bool ReadMetaclass(CXmlFile& xml)
{
    char tag[CXmlFile::NameSize];
    SafeStrCopy(tag, xml.GetName(), sizeof tag);
    CSymbol* prototype = nullptr;
    if (FindMetaclass(tag, prototype)) {
        prototype->metaIndex = theNextMetaIndex++;
        SafeStrCopy(prototype->metaName, tag, sizeof prototype->metaName);
        SafeStrCopy(prototype->modelName, tag, sizeof prototype->modelName);
        SafeStrCopy(prototype->symbolName, tag, sizeof prototype->symbolName);
        theMetaclassNames.push_back(tag);
    }
    while (xml.ReadNextAttribute()) {
        if (!prototype)
            continue;
        const char* name = xml.GetName();
        const char* value = xml.GetValue();
        if (IsName(name, "model")) {
            SafeStrCopy(prototype->modelName, value, sizeof prototype->modelName);
        } else if (IsName(name, "symbol")) {
            SafeStrCopy(prototype->symbolName, value, sizeof prototype->symbolName);
        } else if (IsName(name, "img")) {
            if (theMetaIconList) {
                const std::string path = std::string(theModuleDir) + "Img/" + value;
                prototype->iconIndex = theMetaIconList->AddBitmap(
                    path.c_str(), 0xFFFFFF, kFirstPaletteCommand + unsigned(prototype->metaIndex),
                    prototype->symbolName);
            }
        } else if (IsName(name, "file")) {
            prototype->fileUnit = IsName(value, "true") ? 1 : 0;
        } else if (IsName(name, "stereotype")) {
            SafeStrCopy(prototype->defaultStereotype, value, sizeof prototype->defaultStereotype);
        } else if (IsName(name, "help")) {
            SafeStrCopy(prototype->helpTopic, value, sizeof prototype->helpTopic);
        }
    }
    while (xml.ReadNextNode()) {
        if (xml.GetKind() == XML_END && IsName(xml.GetName(), tag))
            return true;
        if (xml.GetKind() == XML_START && !ReadRule(xml, tag))
            return false;
    }
    return false;
}

bool IsBuiltKey(const char* key)
{
    for (const Kind& k : kKinds)
        if (std::strcmp(k.key, key) == 0)
            return true;
    return false;
}

CSyntaxColourer* FindColourerOfMetaclass(const char* type)
{
    CSymbol* prototype;
    return FindMetaclass(type, prototype) ? prototype : nullptr;
}

} // namespace

void SetMetaIconList(CCommandImageList* icons)
{
    theMetaIconList = icons;
}

bool RegisterMetaclass(const char* key, CSymbol* prototype)
{
    Objects& objects = TheObjects();
    if (!objects.controllers.empty() && IsBuiltKey(key))
        return false;
    objects.registered[key] = prototype;
    theMetaclassMap[key] = prototype;
    return true;
}

void BuildSymbolRegistry()
{
    SetSyntaxFinder(FindColourerOfMetaclass);
    Objects& objects = TheObjects();
    const bool first = objects.prototypes.empty();
    if (first) {
        for (const Kind& k : kKinds) {
            auto prototype = std::make_unique<CSymbol>(static_cast<int8_t>(k.mmc), static_cast<int8_t>(k.msc));
            prototype->extensionTable = k.extension;
            prototype->secondExtensionTable = k.secondExtension;
            objects.prototypes.push_back(std::move(prototype));
        }
    }
    size_t next = 0;
    for (const Kind& k : kKinds) {
        auto own = objects.registered.find(k.key);
        CSymbol* base = objects.prototypes[next++].get();
        theMetaclassMap[k.key] = own != objects.registered.end() ? own->second : base;
    }
    // Each controller keeps the prototype of its kind, so it is built once
    // every prototype, registered ones included, is in the map.
    if (first)
        for (const ControllerKind& c : kControllers)
            objects.controllers.push_back(std::make_unique<CDiagramController>(c.prototype, c.order));
    for (size_t i = 0; i < std::size(kControllers); ++i)
        theControllerMap[kControllers[i].key] = objects.controllers[i].get();
}

bool LoadMetaModel()
{
    const std::string path = std::string(theModuleDir) + "cfg/meta.xml";
    BuildSymbolRegistry();
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_READ)) {
        std::string message = "Fail to open " + path + "\r\n";
        LOG_FAILURE(4, message.c_str());
        return false;
    }
    // A file cut short, or one whose tags never close, has lost the rules
    // after the cut: it is refused rather than taken as a smaller metamodel.
    bool rootClosed = false;
    bool elementsClosed = true;
    while (xml.ReadNextNode()) {
        if (xml.GetKind() == XML_END && IsName(xml.GetName(), "metamodel"))
            rootClosed = true;
        if (xml.GetKind() != XML_START)
            continue;
        if (IsName(xml.GetName(), "metamodel")) {
            while (xml.ReadNextAttribute()) {
            }
            continue;
        }
        elementsClosed = ReadMetaclass(xml) && elementsClosed;
    }
    xml.Close();
    SortMetaclasses();
    if (!rootClosed || !elementsClosed) {
        std::string message = "Fail to read " + path + " to its end\r\n";
        LOG_FAILURE(4, message.c_str());
        return false;
    }
    return true;
}

void SortMetaclasses()
{
    std::vector<std::string> names = theMetaclassNames;
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return std::strcmp(a.c_str(), b.c_str()) < 0; });
    for (const std::string& name : names)
        theSortedMetaclasses.push_back(theMetaclassMap[name]);
}

bool FindMetaclass(const char* name, CSymbol*& prototype)
{
    prototype = nullptr;
    if (!name || !*name)
        return false;
    auto it = theMetaclassMap.find(name);
    if (it == theMetaclassMap.end())
        return false;
    prototype = it->second;
    return true;
}

bool FindDiagramController(const char* kind, CDiagramController*& controller)
{
    controller = nullptr;
    if (!kind)
        return false;
    auto it = theControllerMap.find(kind);
    if (it == theControllerMap.end())
        return false;
    controller = it->second;
    return true;
}

bool FindMetaclassByIndex(int index, CSymbol*& prototype)
{
    prototype = nullptr;
    if (index < 1 || index > static_cast<int>(theMetaclassNames.size()))
        return false;
    return FindMetaclass(theMetaclassNames[size_t(index - 1)].c_str(), prototype);
}

const std::vector<CSymbol*>& GetSortedMetaclasses()
{
    return theSortedMetaclasses;
}

const std::vector<std::string>& GetMetaclassNames()
{
    return theMetaclassNames;
}
