// CCommandImageList: the 16x16 icons of commands and their short names,
// keyed by command id. Invariants: an id stands once in the map; the ordered
// list holds every record in the order of addition (an id added twice twice);
// while nothing is removed, the record at position n carries image n.
#pragma once

#include "Platform/Collections.h"
#include "Platform/ImageList.h"

#include <vector>

struct CommandIconFile;

struct CommandImageInfo {
    UINT id;
    int image;
    char name[64];
    COLORREF mask;
};

class CCommandImageList : public CImageList {
public:
    CCommandImageList();
    ~CCommandImageList() override;

    // Loads a BMP file into the image list under the command; a bitmap wider
    // than 16 pixels gives several images and the record names the first.
    // Returns the image index, or -1 (nothing recorded) when the file cannot
    // be read or the image list was not created.
    int AddBitmap(LPCTSTR path, COLORREF mask, UINT id, LPCTSTR name);
    // Creates the image list (16x16, colour with a mask) and adds every file;
    // a file that cannot be read leaves its command without an icon.
    BOOL LoadCommandIcons(const std::vector<CommandIconFile>& files);

    // A miss gives false with id 0 and image -1, the rest of the record as it was.
    bool Lookup(UINT id, CommandImageInfo& info) const;
    bool GetAt(int position, CommandImageInfo& info) const;
    int GetCount() const { return int(m_map.GetCount()); }
    // The text after the first line break of the id's string-table entry,
    // or the whole entry.
    static CString GetCommandTip(UINT id);

    // Removals shift the later images down and renumber their records, so
    // the records keep naming their own images.
    void RemoveAt(int position);
    void Remove(UINT id);
    void SetName(UINT id, LPCTSTR name);
    // The image list's whole picture, which holds the image; null when out of range.
    CBitmap* GetBitmap(int image) const;
    CBitmap* GetBitmapById(UINT id) const;

private:
    void RemoveRecord(int position, UINT id);

    CMap<UINT, UINT, CommandImageInfo, const CommandImageInfo&> m_map;
    std::vector<CommandImageInfo> m_list;
};

// The registry every menu, toolbar and tooltip reads.
CCommandImageList& GetCommandImages();
