// Opening a link text with the desktop's handler, limited to web, mail and
// file links: the handler runs programs, so any other scheme is refused.
#pragma once

#include "Platform/CString.h"

// The URL the text means when it is an http, https, mailto or file link;
// empty otherwise.
CString SafeLinkUrl(LPCTSTR lpszLink);
// TRUE when the link was safe and handed to the desktop's handler.
BOOL OpenSafeLink(LPCTSTR lpszLink);
