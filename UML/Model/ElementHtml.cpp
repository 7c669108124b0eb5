// The base help page of an element: head, the "Base properties" section with
// the four common rows, tail.
#include "UML/Model/Symbol.h"

#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "Pub/Log.h"
#include "Pub/Paths.h"
#include "UML/Model/HtmlRows.h"

#include <string>

CString CSymbol::HtmlPageName(const ModelT& element) const
{
    return CString((std::string(metaName) + std::to_string(element.ID) + ".htm").c_str());
}

bool CSymbol::OpenHtmlPage(const char* folder, const ModelT& element, CBufferedFile& file) const
{
    const CString path = PathJoin(folder, HtmlPageName(element));
    if (file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return true;
    LOG_FAILURE(4, ("Fail to create " + std::string(path.GetString()) + "\r\n").c_str());
    return false;
}

bool CSymbol::CloseHtmlPage(CBufferedFile& file) const
{
    file.Close();
    if (!file.HasWriteError())
        return true;
    LOG_FAILURE(4, ("Fail to write " + std::string(file.GetFilePath().GetString()) + "\r\n").c_str());
    return false;
}

bool CSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    CBufferedFile file;
    if (!OpenHtmlPage(folder, element, file))
        return false;
    HtmlPageHead(element, file);
    HtmlSectionRow(file, LoadResString(61447));
    HtmlCommonRows(element, file);
    HtmlPageTail(file);
    return CloseHtmlPage(file);
}
