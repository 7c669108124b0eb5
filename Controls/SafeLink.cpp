#include "Controls/SafeLink.h"

#include "Platform/Shell.h"

CString SafeLinkUrl(LPCTSTR lpszLink)
{
    CString text(lpszLink ? lpszLink : "");
    text.Trim();
    if (text.IsEmpty())
        return CString();
    const CString url = GuessUrl(text);
    const int colon = url.Find(':');
    if (colon <= 0)
        return CString();
    CString scheme = url.Left(colon);
    scheme.MakeLower();
    for (const char* allowed : { "http", "https", "mailto", "file" })
        if (scheme == allowed)
            return url;
    return CString();
}

BOOL OpenSafeLink(LPCTSTR lpszLink)
{
    const CString url = SafeLinkUrl(lpszLink);
    return !url.IsEmpty() && ShellOpenUrl(url);
}
