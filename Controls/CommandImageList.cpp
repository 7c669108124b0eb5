// The command icon registry.
#include "Controls/CommandImageList.h"
#include "Platform/Resource.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"

CCommandImageList::CCommandImageList() : m_map(10)
{
    m_map.InitHashTable(250);
    m_list.reserve(100);
}

CCommandImageList::~CCommandImageList()
{
    m_list.clear();
    m_map.RemoveAll();
}

CString CCommandImageList::GetCommandTip(UINT id)
{
    const CString entry = LoadResString(id);
    const int lineBreak = entry.Find('\n');
    return lineBreak < 0 ? entry : entry.Mid(lineBreak + 1);
}

int CCommandImageList::AddBitmap(LPCTSTR path, COLORREF mask, UINT id, LPCTSTR name)
{
    CBitmap bitmap;
    if (!bitmap.LoadFromFile(path))
        return -1;
    if (!m_hImageList)
        return -1;
    const int image = Add(&bitmap, mask);
    if (image < 0)
        return image;
    CommandImageInfo info{};
    info.id = id;
    info.image = image;
    SafeStrCopy(info.name, name ? CString(name) : GetCommandTip(id), sizeof info.name);
    info.mask = mask;
    m_map.SetAt(id, info);
    m_list.push_back(info);
    return image;
}

BOOL CCommandImageList::LoadCommandIcons(const std::vector<CommandIconFile>& files)
{
    if (!m_hImageList && !Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1))
        return FALSE;
    for (const CommandIconFile& file : files)
        AddBitmap(file.path, file.mask, file.id, nullptr);
    return TRUE;
}

bool CCommandImageList::Lookup(UINT id, CommandImageInfo& info) const
{
    if (m_map.Lookup(id, info))
        return true;
    info.id = 0;
    info.image = -1;
    return false;
}

bool CCommandImageList::GetAt(int position, CommandImageInfo& info) const
{
    if (position < 0 || position >= GetCount() || position >= int(m_list.size())) {
        info.id = 0;
        info.image = -1;
        return false;
    }
    info = m_list[size_t(position)];
    return true;
}

void CCommandImageList::RemoveRecord(int position, UINT id)
{
    const int image = m_list[size_t(position)].image;
    CImageList::Remove(image);
    m_list.erase(m_list.begin() + position);
    m_map.RemoveKey(id);
    for (CommandImageInfo& info : m_list) {
        if (info.image > image) {
            --info.image;
            CommandImageInfo mapped;
            if (m_map.Lookup(info.id, mapped) && mapped.image == info.image + 1) {
                mapped.image = info.image;
                m_map.SetAt(info.id, mapped);
            }
        }
    }
}

void CCommandImageList::RemoveAt(int position)
{
    if (position < 0 || position >= GetCount() || position >= int(m_list.size()))
        return;
    RemoveRecord(position, m_list[size_t(position)].id);
}

void CCommandImageList::Remove(UINT id)
{
    CommandImageInfo info;
    if (!m_map.Lookup(id, info) || info.image < 0 || info.image >= int(m_list.size()))
        return;
    RemoveRecord(info.image, id);
}

void CCommandImageList::SetName(UINT id, LPCTSTR name)
{
    CommandImageInfo info;
    if (!name || !m_map.Lookup(id, info))
        return;
    SafeStrCopy(info.name, name, sizeof info.name);
    m_map.SetAt(id, info);
    if (info.image >= 0 && info.image < int(m_list.size()))
        m_list[size_t(info.image)] = info;
}

CBitmap* CCommandImageList::GetBitmap(int image) const
{
    IMAGEINFO info;
    if (!GetImageInfo(image, &info))
        return nullptr;
    return CBitmap::FromHandle(info.hbmImage);
}

CBitmap* CCommandImageList::GetBitmapById(UINT id) const
{
    CommandImageInfo info;
    return m_map.Lookup(id, info) ? GetBitmap(info.image) : nullptr;
}

CCommandImageList& GetCommandImages()
{
    static CCommandImageList registry;
    return registry;
}
