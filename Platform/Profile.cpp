// The application's profile on QSettings: an INI file per profile name in
// the registry key's folder of the user's configuration (tests point
// QSettings' user path at a folder of their own). A section is a group,
// an entry a key; integers are stored as numbers, binary entries as bytes.
#include "Platform/CString.h"
#include "Platform/WinApp.h"

#include <QSettings>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<QSettings> Open(const CWinApp* app)
{
    const QString org = QString::fromUtf8(app->m_pszRegistryKey ? app->m_pszRegistryKey : app->m_pszAppName);
    const QString name = QString::fromUtf8(app->m_pszProfileName ? app->m_pszProfileName : app->m_pszAppName);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, org, name);
}

// The settings of the outermost open write batch, or null.
QSettings* g_batch = nullptr;
int g_batchDepth = 0;

// The profile as one call sees it: the open batch's settings, or settings
// of its own, written out by Commit. A write out takes the file's lock,
// reads the file again and writes it whole to a new file renamed over it.
class Profile {
public:
    explicit Profile(const CWinApp* app) : own_(g_batch ? nullptr : Open(app)), settings_(g_batch ? g_batch : own_.get()) {}
    QSettings* operator->() const { return settings_; }
    bool Commit()
    {
        if (own_)
            own_->sync();
        return settings_->status() == QSettings::NoError;
    }

private:
    std::unique_ptr<QSettings> own_;
    QSettings* settings_;
};

// Sections and entries may hold any text; '/' and '\' would make groups.
QString Key(LPCTSTR section, LPCTSTR entry)
{
    QString s = QString::fromUtf8(section ? section : "");
    QString e = QString::fromUtf8(entry ? entry : "");
    s.replace('/', QChar(0x2215)).replace('\\', QChar(0x2216));
    e.replace('/', QChar(0x2215)).replace('\\', QChar(0x2216));
    return s + '/' + e;
}

bool Valid(LPCTSTR section, LPCTSTR entry) { return section && *section && entry && *entry; }

} // namespace

void AfxSetProfileFolder(LPCTSTR folder)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromUtf8(folder ? folder : ""));
}

CProfileWriteBatch::CProfileWriteBatch()
{
    if (g_batchDepth++ == 0 && AfxGetApp())
        g_batch = Open(AfxGetApp()).release();
}

CProfileWriteBatch::~CProfileWriteBatch()
{
    if (--g_batchDepth > 0)
        return;
    std::unique_ptr<QSettings> settings(g_batch);
    g_batch = nullptr;
    if (settings)
        settings->sync();
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_registryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_pszRegistryKey = m_registryKey.c_str();
    m_profileName = m_appName;
    m_pszProfileName = m_profileName.c_str();
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (!Valid(lpszSection, lpszEntry))
        return UINT(nDefault);
    const QVariant v = Profile(this)->value(Key(lpszSection, lpszEntry));
    bool ok = false;
    const int value = v.toInt(&ok);
    return UINT(ok ? value : nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (!Valid(lpszSection, lpszEntry))
        return FALSE;
    Profile settings(this);
    settings->setValue(Key(lpszSection, lpszEntry), nValue);
    return settings.Commit();
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    const CString fallback(lpszDefault ? lpszDefault : "");
    if (!Valid(lpszSection, lpszEntry))
        return fallback;
    const QVariant v = Profile(this)->value(Key(lpszSection, lpszEntry));
    if (!v.isValid())
        return fallback;
    return CString(v.toString().toUtf8().constData());
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (!lpszSection || !*lpszSection)
        return FALSE;
    Profile settings(this);
    if (!lpszEntry) {
        settings->remove(Key(lpszSection, "").chopped(1));
    } else if (!*lpszEntry) {
        return FALSE;
    } else if (!lpszValue) {
        settings->remove(Key(lpszSection, lpszEntry));
    } else {
        settings->setValue(Key(lpszSection, lpszEntry), QString::fromUtf8(lpszValue));
    }
    return settings.Commit();
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    if (!Valid(lpszSection, lpszEntry))
        return FALSE;
    const QVariant v = Profile(this)->value(Key(lpszSection, lpszEntry));
    if (!v.isValid())
        return FALSE;
    const QByteArray bytes = v.toByteArray();
    *pBytes = UINT(bytes.size());
    *ppData = new BYTE[bytes.size() ? size_t(bytes.size()) : 1];
    std::memcpy(*ppData, bytes.constData(), size_t(bytes.size()));
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes)
{
    if (!Valid(lpszSection, lpszEntry) || (!pData && nBytes))
        return FALSE;
    Profile settings(this);
    settings->setValue(Key(lpszSection, lpszEntry),
                       QByteArray(reinterpret_cast<const char*>(pData), int(nBytes)));
    return settings.Commit();
}
