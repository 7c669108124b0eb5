// CMetaFileDC: a context that records a picture for other programs; here the
// picture is SVG. Its device pixels are 1/96 inch, so MM_HIMETRIC maps
// 2540 units to 96 pixels as on the screen.
#pragma once

#include "Platform/Dc.h"

struct HENHMETAFILE__;
typedef HENHMETAFILE__* HENHMETAFILE;

struct MetaFileTarget;

class CMetaFileDC : public CDC {
public:
    CMetaFileDC() = default;
    ~CMetaFileDC() override;

    // bounds: the picture frame in 0.01 mm (null: 1 by 1 pixel); refDC
    // measures text when given; fileName, when given, receives the picture
    // on CloseEnhanced.
    BOOL CreateEnhanced(CDC* refDC, LPCTSTR fileName, LPCRECT bounds, LPCTSTR description);
    // Ends the picture; null when it was never made or its file cannot be written.
    HENHMETAFILE CloseEnhanced();

private:
    MetaFileTarget* m_target = nullptr;
};

// The picture's SVG bytes: copies at most size bytes and returns the count;
// with no buffer, returns the size.
UINT GetEnhMetaFileBits(HENHMETAFILE picture, UINT size, LPBYTE buffer);
HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE picture, LPCTSTR fileName);
BOOL DeleteEnhMetaFile(HENHMETAFILE picture);
