#include "UML/Symbols/SymbolClasses.h"

#include "UML/Model/SymbolRegistry.h"
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
#include "UML/Symbols/PseudostateSymbols.h"
#include "UML/Symbols/StateSymbols.h"
#include "UML/Symbols/StereotypeSymbol.h"
#include "UML/Symbols/UsecaseSymbol.h"

namespace {

// A prototype per key, never destroyed: the registry refers to it to the end
// of the process.
template <class T>
bool Register(const char* key)
{
    return RegisterMetaclass(key, new T);
}

} // namespace

bool RegisterUmlSymbolClasses()
{
    static bool called = false;
    if (called)
        return false;
    called = true;
    bool ok = true;
    for (const char* key : kDiagramKeys)
        ok = Register<CDiagramSymbol>(key) && ok;
    ok = Register<CPageSymbol>("Page") && ok;
    ok = Register<CPackageSymbol>("Package") && ok;
    ok = Register<CPackageSymbol>("Syspackage") && ok;
    ok = Register<CCommentSymbol>("Comment") && ok;
    ok = Register<CConstraintSymbol>("Constraint") && ok;
    ok = Register<CInitialSymbol>("Initial") && ok;
    ok = Register<CInitialSymbol>("Unknownobject") && ok;
    ok = Register<CInitialSymbol>("Start") && ok;
    ok = Register<CFinalSymbol>("Final") && ok;
    ok = Register<CFinalSymbol>("Return") && ok;
    ok = Register<CFlowfinalSymbol>("Flowfinal") && ok;
    ok = Register<CHistorySymbol>("History") && ok;
    ok = Register<CTerminalSymbol>("Terminal") && ok;
    ok = Register<CForkSymbol>("Fork") && ok;
    ok = Register<CLifelinestopSymbol>("Lifelinestop") && ok;
    ok = Register<CCoregionSymbol>("Coregion") && ok;
    ok = Register<CDurationSymbol>("Duration") && ok;
    ok = Register<CTimedurationSymbol>("Timeduration") && ok;
    ok = Register<CTimelineSymbol>("Timeline") && ok;
    ok = Register<CInterfaceSymbol>("Interface") && ok;
    ok = Register<CClassSymbol>("Class") && ok;
    ok = Register<CArtifactSymbol>("Artifact") && ok;
    ok = Register<CAttributeSymbol>("Attribute") && ok;
    ok = Register<COperationSymbol>("Operation") && ok;
    ok = Register<CActivitySymbol>("Activity") && ok;
    ok = Register<CInteractionSymbol>("Interaction") && ok;
    ok = Register<CSignalSymbol>("Signal") && ok;
    ok = Register<CStatemachineSymbol>("Statemachine") && ok;
    ok = Register<CParameterSymbol>("Parameter") && ok;
    ok = Register<CEnumerationSymbol>("Enumeration") && ok;
    ok = Register<CLiteralSymbol>("Literal") && ok;
    ok = Register<CStereotypeSymbol>("Stereotype") && ok;
    ok = Register<CDependencySymbol>("Dependency") && ok;
    ok = Register<CRealizationSymbol>("Realization") && ok;
    ok = Register<CAssociationSymbol>("Association") && ok;
    ok = Register<CConnectorSymbol>("Connector") && ok;
    ok = Register<CPerformanceSymbol>("Performance") && ok;
    ok = Register<CPartSymbol>("Part") && ok;
    ok = Register<CObjectnodeSymbol>("Objectnode") && ok;
    ok = Register<CPinSymbol>("Pin") && ok;
    ok = Register<CPortSymbol>("Port") && ok;
    ok = Register<CRealizedSymbol>("Realized") && ok;
    ok = Register<CRequiredSymbol>("Required") && ok;
    ok = Register<CComponentSymbol>("Component") && ok;
    ok = Register<CCompositionSymbol>("Composition") && ok;
    ok = Register<CNodeSymbol>("Node") && ok;
    ok = Register<CSubjectSymbol>("Subject") && ok;
    ok = Register<CActionSymbol>("Action") && ok;
    ok = Register<CActionnodeSymbol>("Actionnode") && ok;
    ok = Register<CChoiceSymbol>("Choice") && ok;
    ok = Register<CInlineframeSymbol>("Inlineframe") && ok;
    ok = Register<CReferenceSymbol>("Reference") && ok;
    ok = Register<CSendSymbol>("Send") && ok;
    ok = Register<CReceiveSymbol>("Receive") && ok;
    ok = Register<CStateSymbol>("State") && ok;
    ok = Register<CTimestateSymbol>("Timestate") && ok;
    ok = Register<CActorSymbol>("Actor") && ok;
    ok = Register<CLifelineSymbol>("Lifeline") && ok;
    ok = Register<CPartitionSymbol>("Partition") && ok;
    ok = Register<CTimelifelineSymbol>("Timelifeline") && ok;
    ok = Register<CUsecaseSymbol>("Usecase") && ok;
    ok = Register<CJunctionSymbol>("Junction") && ok;
    ok = Register<CMessageSymbol>("Message") && ok;
    ok = Register<CCreateSymbol>("Create") && ok;
    ok = Register<CFlowSymbol>("Flow") && ok;
    ok = Register<CFlowSymbol>("Activityline") && ok;
    ok = Register<CMethodcallSymbol>("Methodcall") && ok;
    return ok;
}
