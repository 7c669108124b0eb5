// The registry after the symbol classes registered under the shipped
// metamodel: each key holds an object of its class with its category, shape
// and tables, and no key is left with the base handler; the controllers hold
// the diagram prototypes; a late registration changes nothing.
#include "SymbolFixture.h"

#include "UML/Model/DiagramController.h"
#include "UML/Symbols/ActionSymbols.h"
#include "UML/Symbols/AssociationSymbol.h"
#include "UML/Symbols/ClassifierSymbols.h"
#include "UML/Symbols/CommentSymbol.h"
#include "UML/Symbols/ComponentSymbols.h"
#include "UML/Symbols/ConnectorSymbol.h"
#include "UML/Symbols/DependencySymbol.h"
#include "UML/Symbols/DiagramSymbol.h"
#include "UML/Symbols/EnumerationSymbol.h"
#include "UML/Symbols/MarkerSymbols.h"
#include "UML/Symbols/MemberSymbols.h"
#include "UML/Symbols/MessageSymbols.h"
#include "UML/Symbols/PackageSymbol.h"
#include "UML/Symbols/PageSymbol.h"
#include "UML/Symbols/ParameterSymbol.h"
#include "UML/Symbols/ParticipantSymbols.h"
#include "UML/Symbols/PartSymbols.h"
#include "UML/Symbols/PortSymbols.h"
#include "UML/Symbols/StateSymbols.h"
#include "UML/Symbols/StereotypeSymbol.h"
#include "UML/Symbols/SymbolClasses.h"
#include "UML/Symbols/UsecaseSymbol.h"

#include <cstring>
#include <typeinfo>

namespace {

struct Registered {
    const char* key;
    const std::type_info& type;
    int mmc;
    int msc;
    dbTableInfo* extension;
    dbTableInfo* second = nullptr;
};

const Registered kRegistered[] = {
    {"Page", typeid(CPageSymbol), MMC_PAGE, MSC_NONE, &ModelPage::TableInfo},
    {"Package", typeid(CPackageSymbol), MMC_NAMESPACE, MSC_RECTANGLE, nullptr},
    {"Syspackage", typeid(CPackageSymbol), MMC_NAMESPACE, MSC_RECTANGLE, nullptr},
    {"Comment", typeid(CCommentSymbol), MMC_COMMENT, MSC_TEXT, nullptr},
    {"Constraint", typeid(CConstraintSymbol), MMC_COMMENT, MSC_TEXT, nullptr},
    {"Initial", typeid(CInitialSymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"Unknownobject", typeid(CInitialSymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"Start", typeid(CInitialSymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"Final", typeid(CFinalSymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"Return", typeid(CFinalSymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"Flowfinal", typeid(CFlowfinalSymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"History", typeid(CHistorySymbol), MMC_NONE, MSC_ELLIPSE, nullptr},
    {"Terminal", typeid(CTerminalSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Lifelinestop", typeid(CLifelinestopSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Coregion", typeid(CCoregionSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Duration", typeid(CDurationSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Timeduration", typeid(CTimedurationSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Fork", typeid(CForkSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Timeline", typeid(CTimelineSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Interface", typeid(CInterfaceSymbol), MMC_CLASS, MSC_RECTANGLE, nullptr},
    {"Class", typeid(CClassSymbol), MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo},
    {"Artifact", typeid(CArtifactSymbol), MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo},
    {"Attribute", typeid(CAttributeSymbol), MMC_ATTRIBUTE, MSC_LINETEXT, &ModelAttribute::TableInfo},
    {"Operation", typeid(COperationSymbol), MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo},
    {"Activity", typeid(CActivitySymbol), MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo},
    {"Interaction", typeid(CInteractionSymbol), MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo},
    {"Signal", typeid(CSignalSymbol), MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo},
    {"Statemachine", typeid(CStatemachineSymbol), MMC_OPERATION, MSC_LINETEXT, &ModelOperation::TableInfo},
    {"Parameter", typeid(CParameterSymbol), MMC_ATTRIBUTE, MSC_LINETEXT, &ModelParameter::TableInfo},
    {"Enumeration", typeid(CEnumerationSymbol), MMC_CLASS, MSC_RECTANGLE, nullptr},
    {"Literal", typeid(CLiteralSymbol), MMC_LITERAL, MSC_LINETEXT, nullptr},
    {"Stereotype", typeid(CStereotypeSymbol), MMC_STEREOTYPE, MSC_RECTANGLE, nullptr},
    {"Dependency", typeid(CDependencySymbol), MMC_RELATION, MSC_LINE, nullptr},
    {"Realization", typeid(CRealizationSymbol), MMC_RELATION, MSC_LINE, nullptr},
    {"Association", typeid(CAssociationSymbol), MMC_ATTRIBUTE, MSC_LINE, &ModelAttribute::TableInfo},
    {"Connector", typeid(CConnectorSymbol), MMC_RELATION, MSC_LINE, nullptr},
    {"Performance", typeid(CPerformanceSymbol), MMC_RELATION, MSC_LINE, nullptr},
    {"Part", typeid(CPartSymbol), MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo},
    {"Objectnode", typeid(CObjectnodeSymbol), MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo},
    {"Pin", typeid(CPinSymbol), MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo},
    {"Port", typeid(CPortSymbol), MMC_RELATION, MSC_RECTANGLE, nullptr},
    {"Realized", typeid(CRealizedSymbol), MMC_RELATION, MSC_BAR, nullptr},
    {"Required", typeid(CRequiredSymbol), MMC_RELATION, MSC_BAR, nullptr},
    {"Component", typeid(CComponentSymbol), MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo},
    {"Composition", typeid(CCompositionSymbol), MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo},
    {"Node", typeid(CNodeSymbol), MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo},
    {"Subject", typeid(CSubjectSymbol), MMC_CLASS, MSC_RECTANGLE, &ModelClass::TableInfo},
    {"Action", typeid(CActionSymbol), MMC_NONE, MSC_TEXT, nullptr},
    {"Actionnode", typeid(CActionnodeSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Choice", typeid(CChoiceSymbol), MMC_NONE, MSC_TEXT, nullptr},
    {"Inlineframe", typeid(CInlineframeSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Reference", typeid(CReferenceSymbol), MMC_COMMENT, MSC_RECTANGLE, nullptr},
    {"Send", typeid(CSendSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"Receive", typeid(CReceiveSymbol), MMC_NONE, MSC_RECTANGLE, nullptr},
    {"State", typeid(CStateSymbol), MMC_COMMENT, MSC_RECTANGLE, nullptr},
    {"Timestate", typeid(CTimestateSymbol), MMC_COMMENT, MSC_RECTANGLE, nullptr},
    {"Actor", typeid(CActorSymbol), MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo},
    {"Lifeline", typeid(CLifelineSymbol), MMC_ATTRIBUTE, MSC_LIFELINE, &ModelAttribute::TableInfo},
    {"Partition", typeid(CPartitionSymbol), MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo},
    {"Timelifeline", typeid(CTimelifelineSymbol), MMC_ATTRIBUTE, MSC_RECTANGLE, &ModelAttribute::TableInfo},
    {"Usecase", typeid(CUsecaseSymbol), MMC_OPERATION, MSC_ELLIPSE, &ModelOperation::TableInfo,
     &ModelUsecase::TableInfo},
    {"Junction", typeid(CJunctionSymbol), MMC_NONE, MSC_ELLIPSE, &ModelOperation::TableInfo,
     &ModelUsecase::TableInfo},
    {"Message", typeid(CMessageSymbol), MMC_NONE, MSC_LINE, nullptr},
    {"Create", typeid(CCreateSymbol), MMC_NONE, MSC_LINE, nullptr},
    {"Flow", typeid(CFlowSymbol), MMC_NONE, MSC_LINE, nullptr},
    {"Activityline", typeid(CFlowSymbol), MMC_NONE, MSC_LINE, nullptr},
    {"Methodcall", typeid(CMethodcallSymbol), MMC_NONE, MSC_LINE, nullptr},
};

bool IsRegisteredKey(const char* key)
{
    for (const Registered& r : kRegistered)
        if (std::strcmp(r.key, key) == 0)
            return true;
    for (const char* d : kDiagramKeys)
        if (std::strcmp(d, key) == 0)
            return true;
    return false;
}

TEST(Registration, EachKeyHoldsItsClassWithItsCategoryShapeAndTables)
{
    for (const Registered& r : kRegistered) {
        SCOPED_TRACE(r.key);
        CSymbol* prototype = Prototype(r.key);
        ASSERT_NE(prototype, nullptr);
        EXPECT_EQ(typeid(*prototype), r.type);
        EXPECT_EQ(prototype->mmc, r.mmc);
        EXPECT_EQ(prototype->msc, static_cast<int8_t>(r.msc));
        EXPECT_EQ(prototype->elementTable, &ModelT::TableInfo);
        EXPECT_EQ(prototype->extensionTable, r.extension);
        EXPECT_EQ(prototype->secondExtensionTable, r.second);
        EXPECT_STREQ(prototype->metaName, r.key);
    }
    for (const char* key : kDiagramKeys) {
        SCOPED_TRACE(key);
        CSymbol* prototype = Prototype(key);
        ASSERT_NE(prototype, nullptr);
        EXPECT_EQ(typeid(*prototype), typeid(CDiagramSymbol));
        EXPECT_EQ(prototype->mmc, MMC_DIAGRAM);
        EXPECT_EQ(prototype->msc, static_cast<int8_t>(MSC_NONE));
        EXPECT_STREQ(prototype->metaName, key);
    }
}

TEST(Registration, KeysSharingAClassHaveObjectsOfTheirOwn)
{
    EXPECT_NE(Prototype("Initial"), Prototype("Start"));
    EXPECT_NE(Prototype("Package"), Prototype("Syspackage"));
    EXPECT_NE(Prototype("Classdiagram"), Prototype("Timingdiagram"));
}

TEST(Registration, NoKeyOfTheShippedMetamodelKeepsTheBaseHandler)
{
    const std::vector<std::string> keys = GetMetaclassNames();
    ASSERT_FALSE(keys.empty());
    for (const std::string& key : keys) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(IsRegisteredKey(key.c_str())) << "no class named for the key";
        CSymbol* prototype = Prototype(key.c_str());
        ASSERT_NE(prototype, nullptr);
        EXPECT_NE(typeid(*prototype), typeid(CSymbol));
    }
    CSymbol* entry = nullptr;
    for (int index = 1; FindMetaclassByIndex(index, entry); ++index) {
        SCOPED_TRACE(index);
        EXPECT_NE(typeid(*entry), typeid(CSymbol)) << entry->metaName;
    }
}

TEST(Registration, ControllersHoldTheDiagramPrototypes)
{
    for (const char* key : kDiagramKeys) {
        SCOPED_TRACE(key);
        CDiagramController* controller = nullptr;
        ASSERT_TRUE(FindDiagramController(key, controller));
        ASSERT_NE(controller->KindPrototype, nullptr);
        EXPECT_EQ(typeid(*controller->KindPrototype), typeid(CDiagramSymbol));
    }
}

TEST(Registration, ALateRegistrationIsRefused)
{
    CSymbol* before = Prototype("Class");
    static CSymbol late;
    EXPECT_FALSE(RegisterMetaclass("Class", &late));
    EXPECT_FALSE(RegisterMetaclass("Timestate", &late));
    EXPECT_FALSE(RegisterUmlSymbolClasses());
    BuildSymbolRegistry();
    EXPECT_EQ(Prototype("Class"), before);
    EXPECT_EQ(typeid(*Prototype("Initial")), typeid(CInitialSymbol));
}

} // namespace
