// CDateTimeCtrl: the date-time picker, on a Qt date-time edit. The window
// text is the value in the control's format: the short date ("M/d/yyyy")
// until DTM_SETFORMAT gives a picture of the classic letters (d dd ddd dddd,
// M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt, text in single
// quotes, '' for a quote). The keys edit the field under the caret (Up and
// Down step it, Left and Right move between fields, digits type). F4 or
// Alt+Down opens the month calendar, a pop-up owned by the control that
// takes the focus (DTM_GETMONTHCAL): the arrow keys move the day, Enter or
// a click on a day picks it, Esc closes it unchanged; either way the focus
// returns to the control. When the focus leaves the calendar for another
// window, the calendar closes and the control hears WM_KILLFOCUS with that
// window, as if it had held the focus. A change of the value by the user
// sends DTN_DATETIMECHANGE to the parent; opening and closing the calendar
// DTN_DROPDOWN and DTN_CLOSEUP.
#pragma once

#include "Platform/Wnd.h"

#include <string>

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

#define DTS_SHORTDATEFORMAT 0x0000
#define DTS_UPDOWN 0x0001
#define DTS_TIMEFORMAT 0x0009

#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE 1

#define DTM_FIRST 0x1000
#define DTM_GETSYSTEMTIME (DTM_FIRST + 1)
#define DTM_SETSYSTEMTIME (DTM_FIRST + 2)
#define DTM_GETMONTHCAL (DTM_FIRST + 8)
#define DTM_SETFORMAT (DTM_FIRST + 50)

#define DTN_FIRST (0U - 760U)
#define DTN_DATETIMECHANGE (DTN_FIRST + 1)
#define DTN_DROPDOWN (DTN_FIRST + 6)
#define DTN_CLOSEUP (DTN_FIRST + 7)

#define WC_DATETIMEPICK "SysDateTimePick32"

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // False for a picture with an unclosed quote; null returns to the
    // style's default format.
    BOOL SetFormat(LPCTSTR pszFormat);
    // False for a date or time that does not exist.
    BOOL SetTime(const SYSTEMTIME* pTimeNew);
    DWORD GetTime(LPSYSTEMTIME pTimeDest) const;
    // The open month calendar, null when closed.
    CWnd* GetMonthCalCtrl() const;
};

// A classic picture as a Qt date-time format; false for an unclosed quote.
bool DateTimePictureToQt(const char* picture, std::string* qtFormat);
