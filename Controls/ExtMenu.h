// CExtMenu: a menu whose items are owner-drawn, with a 16x16 image column,
// check boxes, labels and right-aligned accelerator texts, in a classic or
// an XP-like look. An owner-drawn platform item carries no text, so the
// object keeps one record per item and hands it to the platform as the
// item's data.
// Invariants: record n describes platform position n, except in a menu
// loaded from a template after other code put items before the loaded
// ones (GetForeignItemCount); every popup this menu adds is a CExtMenu
// owned through m_popups and attached permanently to its handle, so the
// owner's measure and draw requests find it; a command's images stand once
// in theMenuImages, as one index or, when added with derived copies, a
// group of four (image, faded, shadow, grey) that all carry its id.
#pragma once

#include "Platform/ImageList.h"
#include "Platform/Menu.h"

#include <memory>
#include <string>
#include <vector>

class CCommandImageList;

struct CExtMenuItemData {
    std::u16string text;   // label, then optionally a tab and the accelerator
    int ownIndex = -1;     // image in ownList
    int sharedIndex = -1;  // image in theMenuImages
    int ownImage = -1;     // -1: no own image; else 0 or the bitmap id it came from
    UINT flags = 0;        // MF_... the item was last added or modified with
    UINT_PTR id = 0;       // the command, or a popup's handle
    bool seen = false;     // mark of SynchronizeItems
    std::unique_ptr<CImageList> ownList;
};

class CExtMenu : public CMenu {
    DECLARE_DYNAMIC(CExtMenu)
public:
    CExtMenu();
    ~CExtMenu() override;

    // Settings of the class. Only the image size can change (SetImageSize).
    static int ImageWidth;
    static int ImageHeight;
    static const int XpLookOnXp = 1;
    static const int XpLookElsewhere = 0;
    static const int DerivedImages = 1;
    static const int SelectDisabledClassic = 1;
    static const int SelectDisabledXp = 0;
    static const int AlignAcceleratorsXp = 1;
    static const int AlignAcceleratorsClassic = 1;
    // Set for the rest of the run by the first bitmap loaded without
    // colour mapping; the classic painter then greys disabled images.
    static int GreyDisabledImages;

    // The system tests.
    static bool IsWin95Class();
    static bool IsClassicTheme();
    static bool IsXpThemed();
    static bool IsXpLook();
    static int GetXpLookSetting();
    static int GetSelectDisabledSetting();

    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenuByName(LPCTSTR lpszResourceName);
    virtual BOOL DestroyMenu();
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // Adding items. Id 0 gives a separator; every item is owner-drawn; with
    // MF_POPUP the id is the popup's handle. A bitmap id names a toolbar
    // resource whose button image for the command becomes the shared image;
    // -1 takes the image the command already has.
    BOOL AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, int bitmapId = -1);
    BOOL AppendItem(LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId = -1);
    BOOL AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);
    BOOL AppendItem(LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr, int bitmapId = -1);
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, int bitmapId = -1);
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text, CImageList* list, int index);
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, CImageList* list, int index);
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text, CBitmap* bitmap);
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, CBitmap* bitmap);
    // A new popup under the text; it belongs to this menu.
    CExtMenu* AppendPopup(LPCTSTR text);
    CExtMenu* AppendPopup(LPCWSTR text);
    BOOL InsertItem(UINT position, LPCTSTR text, UINT flags, UINT_PTR id, int bitmapId = -1);
    BOOL InsertItem(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId = -1);
    BOOL InsertItem(UINT position, LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);
    BOOL InsertItem(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr, int bitmapId = -1);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, int bitmapId = -1);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text, CImageList* list, int index);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, CImageList* list, int index);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text, CBitmap* bitmap);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, CBitmap* bitmap);

    // Changing every item of a command: text (none keeps it) and image.
    BOOL ModifyItem(LPCTSTR text, UINT id, CImageList* list, int index);
    BOOL ModifyItem(LPCWSTR text, UINT id, CImageList* list, int index);
    BOOL ModifyItem(LPCTSTR text, UINT id, int bitmapId = -1);
    BOOL ModifyItem(LPCWSTR text, UINT id, int bitmapId = -1);
    BOOL ModifyItem(LPCTSTR text, UINT id, CBitmap* bitmap);
    BOOL ModifyItem(LPCWSTR text, UINT id, CBitmap* bitmap);
    // A colour block as the image; hatch -1 is solid, a null size the image size.
    BOOL ModifyItem(LPCTSTR text, UINT id, COLORREF fill, COLORREF border, int hatch, const CSize* size = nullptr);
    BOOL ModifyItem(LPCWSTR text, UINT id, COLORREF fill, COLORREF border, int hatch, const CSize* size = nullptr);
    BOOL ModifyItemByText(LPCTSTR newText, LPCTSTR oldText, int bitmapId);
    BOOL ModifyItemByText(LPCWSTR newText, LPCWSTR oldText, int bitmapId);
    // Images for every command of the tree the registry knows; 0 without one.
    BOOL LoadImages(CCommandImageList* registry);
    BOOL ApplyToolBarImages(UINT toolBarId);
    BOOL ApplyToolBarImages(const UINT* toolBarIds, int count);

    // Texts by position (MF_BYPOSITION) or command; a position outside the
    // records gives false and changes nothing.
    BOOL GetMenuText(UINT item, CString& text, UINT flags = MF_BYPOSITION);
    BOOL GetMenuText(UINT item, std::u16string& text, UINT flags = MF_BYPOSITION);
    BOOL SetMenuText(UINT item, LPCTSTR text, UINT flags = MF_BYPOSITION);
    BOOL SetMenuText(UINT item, LPCWSTR text, UINT flags = MF_BYPOSITION);

    // Removing items with their records (a popup with its object).
    BOOL RemoveMenu(UINT item, UINT flags);
    BOOL DeleteMenu(UINT item, UINT flags);
    // Removes the item with the text and, by kind, items before it: 1 and 2
    // one, 3 two. The found record's index, or -1 (nothing removed).
    int RemoveMenuByText(LPCTSTR text, int kind = 0);
    int RemoveMenuByText(LPCWSTR text, int kind = 0);
    int DeleteMenuByText(LPCTSTR text, int kind = 0);
    int DeleteMenuByText(LPCWSTR text, int kind = 0);

    // Searches, depth-first in position order.
    CExtMenu* FindItemPosition(UINT id, int* position);
    CExtMenu* FindNextItemPosition(UINT id, int* position, std::vector<CExtMenu*>& menus,
                                   std::vector<int>& positions);
    CExtMenuItemData* FindItemData(UINT id);
    CExtMenuItemData* FindItemDataByText(LPCTSTR text);
    CExtMenuItemData* FindItemDataByText(LPCWSTR text);
    int FindItemIndexByText(LPCTSTR text);
    int FindItemIndexByText(LPCWSTR text);
    CExtMenu* FindPopup(LPCTSTR text);
    CExtMenu* FindPopup(LPCWSTR text);
    CExtMenu* FindPopupByString(LPCTSTR text);
    // True when the toolbar resource has a button for the command; the
    // index is set to its image index when that is above 0.
    static bool FindToolBarImage(UINT id, UINT toolBarId, int* index);

    // Rebuilds the records from the platform menu.
    void SynchronizeItems();
    static void SyncMenu(CMenu* menu);
    // The answer to WM_MENUCHAR: the item whose text holds '&' and the
    // character, with MNC_EXECUTE; 0 for none or outside a popup.
    static LRESULT HandleMenuChar(UINT character, UINT flags, CMenu* menu);
    static bool IsRegisteredPopup(CMenu* menu);
    static bool IsRegisteredPopup(HMENU menu);

    // Images.
    static COLORREF BlendToWhite(COLORREF colour, double f);
    static COLORREF BlendToBlack(COLORREF colour, double f);
    int AddSharedImage(CImageList* list, int index, UINT id);
    static int SharedImageIndexOf(UINT id);
    static bool HasDerivedImages(int index);
    bool AddResourceImage(CImageList* list, UINT bitmapId);
    static HBITMAP LoadSysColourBitmap(UINT bitmapId);
    static int DibColourCount(const BITMAPINFOHEADER& header);
    bool CopyItemImage(CImageList* source, int index, CImageList* target);
    bool IconToBitmap(CDC* dc, CImageList* list, int index, CBitmap* bitmap);
    void MakeColourBlock(CDC* dc, CBitmap* bitmap, int blockWidth, int blockHeight, int imageWidth,
                         int imageHeight, COLORREF fill, COLORREF border, int hatch);
    static void MakeFadedImage(CBitmap* bitmap);
    static void MakeShadowImage(CBitmap* bitmap);
    static void MakeGreyImage(CBitmap* bitmap, COLORREF background);
    static void ReplaceLightGrey(CBitmap* bitmap);
    void DrawDisabledImage(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int sx, int sy,
                           COLORREF background);
    void DrawDisabledImageMono(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int sx, int sy,
                               COLORREF background);
    void DrawGreyImage(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, COLORREF background);
    void SetCheckMarkImages(int unselectedId, int selectedId);
    void SetBitmapBackground(COLORREF colour);
    void ClearBitmapBackground();
    void SetMonoDisabled() { m_monoDisabled = true; }
    void ClearMonoDisabled() { m_monoDisabled = false; }
    bool GetMonoDisabled() const { return m_monoDisabled; }
    static void SetImageSize(int width, int height);

    // Painting.
    void DrawItemClassic(LPDRAWITEMSTRUCT lpDrawItemStruct);
    void DrawItemXp(LPDRAWITEMSTRUCT lpDrawItemStruct);
    void DrawClassicCheckBox(CDC* dc, CRect box, bool selected, bool radio);
    void DrawXpCheckBox(CDC* dc, CRect box, bool radio, COLORREF highlight, bool selected);
    static void DrawCheckMark(CDC* dc, int x, int y, COLORREF colour, bool narrow);
    static void DrawRadioDot(CDC* dc, int x, int y, COLORREF colour);

    // Read access for the owner of the menu and for tests.
    int GetRecordCount() const { return int(m_items.size()); }
    const CExtMenuItemData* GetRecord(int index) const;
    int GetPopupCount() const { return int(m_popups.size()); }
    const CImageList* GetCheckImages() const { return m_checkImages; }
    bool CheckImagesShared() const { return m_checkImagesShared; }
    bool LoadedFromResource() const { return m_loadedFromResource; }

private:
    static UINT NewItemFlags(UINT flags, UINT_PTR id, bool byPosition);
    void RegisterPopup(UINT flags, UINT_PTR id);
    std::unique_ptr<CExtMenuItemData> NewRecord(LPCWSTR text, UINT flags, UINT_PTR id);
    int ToolBarSharedImage(UINT_PTR id, int bitmapId);
    CExtMenu* NewPopup();
    BOOL ModifyWalk(LPCWSTR text, UINT id, CImageList* list, int index, int bitmapId, bool useBitmapId);
    BOOL RemoveOrDelete(UINT item, UINT flags, bool destroy);
    int RemoveByText(LPCWSTR text, int kind, bool destroy);
    BOOL InsertAt(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index, int bitmapId);
    int ImageOfBitmap(CBitmap* bitmap, CImageList* list);
    void AlignAccelerators();
    void RestorePopupStrings();
    int GetForeignItemCount();
    CExtMenuItemData* MakeOwnerDrawn(int position, UINT flags, UINT_PTR id, const std::u16string& text);
    CExtMenuItemData* TakeUnusedItemData(UINT_PTR id);
    CExtMenu* Find(UINT id, int* position, const std::vector<CExtMenu*>* menus, const std::vector<int>* positions);
    CExtMenuItemData* RecordOf(LPDRAWITEMSTRUCT lpDrawItemStruct) const;
    bool DerivedCopies(CImageList* list, int index, CBitmap copies[3]);

    std::vector<std::unique_ptr<CExtMenuItemData>> m_items;
    std::vector<HMENU> m_popups;
    COLORREF m_bitmapBackground = 0xFFFFFF;
    bool m_useBitmapBackground = false;
    bool m_monoDisabled = false;
    CImageList* m_checkImages = nullptr;
    bool m_checkImagesShared = false;
    int m_checkSelectedId = -1;
    int m_checkUnselectedId = -1;
    bool m_loadedFromResource = false;
};

// The handle of every popup added to any CExtMenu.
extern std::vector<HMENU> thePopupRegistry;
// The shared images of commands and, at the same index, their command ids.
// theMenuImages has no list until the first shared image is added.
extern CImageList theMenuImages;
extern std::vector<int> theMenuImageIds;
// The operating-system class the menus steer by (GetOsVersionClass).
extern int theMenuOsClass;
// The theme answer: -1 until read from the profile (section "Themes",
// entry "Current"; absent is not the classic theme), then 0 or 1.
extern int theMenuClassicTheme;
