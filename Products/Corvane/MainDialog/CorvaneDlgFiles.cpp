// The file commands of the main dialog: a settings file is loaded into the
// data set and checked like a read, the data set is saved into the current
// or a chosen file, and the status log is exported as text.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/SystemHelper/System/FileHelpers.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Framework/Files/FileDialog.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/MainDialog/Commands/OrderCheck.h"
#include "Products/Corvane/MainDialog/Commands/SettingsFileMessages.h"
#include "Products/Corvane/MainDialog/Commands/SettingsFileNames.h"
#include "Products/Corvane/MainDialog/Commands/StatusLogFile.h"
#include "Products/Corvane/Core/SettingsFileReader.h"
#include "Products/Corvane/Core/SettingsFileWriter.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/ArticleCompare.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"

#include <ctime>
#include <filesystem>

namespace Corvane {

using namespace CorvaneIds;

namespace {

constexpr wchar_t kTextFileFilter[] = L"Text File (*.txt)|*.txt||";
// The longest file-error text the message box shows.
constexpr int kMaxErrorText = 256;

// A status line of the file commands: the key's text about the file.
CString FileLine(LPCWSTR key, const CString& path)
{
    CString line;
    line.Format(GetLanguageText(key), path.GetString());
    return line;
}

}

void CCorvaneDlg::OnOpen()
{
    HideTooltips();
    if (GetWorkerBusyFlag().IsSet())
        return;
    ShowStatus(Translate(L"STATE_OPEN_FILE_WORK"));
    if (m_bModified && ZELLMessageBox(Translate(L"MSG_OPEN_WITH_CHANGED_DATA"), MB_YESNO, L"", 0) != IDYES)
        return;
    CString path;
    if (ChooseSettingsFile(false, path)) {
        // A name typed into the dialog may name no file.
        if (!FileExists(path.str())) {
            const CString failed = FileLine(L"STATE_OPEN_FILE_FAILED", path);
            ShowStatus(failed);
            ZELLMessageBox(CSettingsFileMessages::Missing(path), MB_ICONERROR, failed, 0);
            return;
        }
        OpenSettingsFile(path);
        return;
    }
    ShowStatus(Translate(L"STATE_OPEN_FILE_CANCELED"));
    SetStatusTimer();
}

void CCorvaneDlg::OnSave()
{
    HideTooltips();
    if (!GetWorkerBusyFlag().IsSet())
        SaveFileCommand(false);
}

bool CCorvaneDlg::SaveFileCommand(bool askForName)
{
    if (!ValidatePages())
        return false;
    CString path = askForName ? CString() : m_strCurrentFile;
    const bool choose = path.IsEmpty();
    if (choose)
        path = CSettingsFileNames::DefaultSaveName(m_data.ArticleNo, m_data.NetworkID);
    ShowStatus(FileLine(L"STATE_SAVE_FILE_WORK", path));
    if (choose) {
        if (!ChooseSettingsFile(true, path)) {
            ShowStatus(Translate(L"STATE_SAVE_FILE_CANCELED"));
            SetStatusTimer();
            return false;
        }
    }
    ShowStatus(COrderCheck::StatusLine(L"STATE_WRITE_FILE_NAME", path));
    const bool written = SaveSettingsFile(path);
    const bool saved = written && FileExists(path.str());
    if (saved) {
        m_strCurrentFile = path;
        EnableButton(kSaveButton, false);
        // The edits are kept in the file: a read or an open loses nothing.
        m_bModified = false;
        m_bNotInFile = false;
    }
    // A file that could not be written has said so already.
    if (saved || written)
        ShowStatus(FileLine(saved ? L"STATE_SAVE_FILE_DONE" : L"STATE_SAVE_FILE_FAILED", path));
    SetStatusTimer();
    return saved;
}

bool CCorvaneDlg::SaveSettingsFile(const CString& path)
{
    CSettingsFileHeader header;
    header.ApplicationName = AfxGetAppName();
    header.ApplicationLanguage = m_strLanguage;
    header.SavedOn = CSettingsFileHeader::FormatSavedOn(std::time(nullptr));
    const CString currentAddress = CSettingsFileNames::CurrentIPAddress(ConnectionAddress(), m_data);
    CSettingsFileWriter writer;
    if (writer.Save(Text::FsPath(path.str()), m_data, header,
                    g_StartupOptions.ChangeIPMode ? &currentAddress : nullptr))
        return true;
    // The status line tells that saving failed while the box tells why.
    ShowStatus(FileLine(L"STATE_SAVE_FILE_FAILED", path));
    ZELLMessageBox(writer.GetError().Left(kMaxErrorText), MB_ICONERROR, L"", 0);
    return false;
}

bool CCorvaneDlg::OpenSettingsFile(const CString& path)
{
    if (!FileExists(path.str()))
        return false;
    ShowStatus(COrderCheck::StatusLine(L"STATE_READ_FILE_NAME", path));
    // A file that cannot be read leaves the pages showing what they showed.
    CString failure;
    if (!LoadSettingsFile(path, failure)) {
        const CString failed = FileLine(L"STATE_OPEN_FILE_FAILED", path);
        ShowStatus(failed);
        ZELLMessageBox(failure, MB_ICONERROR, failed, 0);
        return false;
    }
    for (const tPageEntry& entry : m_arrPageEntries)
        RemovePageFromSheet(entry.name);
    SetConnectionState(kStateOffline);
    ShowConnectionText();
    m_bDataValid = CheckAndShowData(&m_data);
    // The loaded data set replaced the blocks the pages pointed into: they
    // take the new ones before anything shows or stores them.
    if (m_bDataValid) {
        RefreshPages();
        if (CSettingsPage* active = ActivePage())
            active->RefreshView();
    }
    ShowLoadedFile(path);
    // Values no device takes are marked on their pages; the user hears of
    // them once, here, and not only when a write refuses them.
    const CString invalid =
        CSettingsFileMessages::InvalidValues(CSettingsFileValues::FindInvalid(m_data), m_data.GetEthernetPortCount(), path);
    if (!invalid.IsEmpty())
        ZELLMessageBox(invalid, MB_ICONWARNING, CString(), 0);
    return true;
}

// A file that cannot be read leaves the data set as it was.
bool CCorvaneDlg::LoadSettingsFile(const CString& path, CString& failure)
{
    CFBCData loaded;
    // A file that carries no modem number tells of none.
    loaded.IMEI = CFBCData::kNoIMEI;
    CSettingsFileReader reader;
    if (!reader.Load(Text::FsPath(path.str()), loaded)) {
        OutputDebugStringW(reader.GetError());
        failure = CSettingsFileMessages::ReadFailure(reader, path);
        return false;
    }
    // The pages point into the tables of the set they show: none may keep a
    // pointer into the set that goes, nor show again before it takes the
    // new tables (RefreshPages).
    DetachPagesFromData();
    m_data = std::move(loaded);
    return true;
}

void CCorvaneDlg::ShowLoadedFile(const CString& path)
{
    const CString article = ArticleText(m_data.ArticleNo);
    SetTitles(article, m_data.Description);
    CString title;
    title.Format(L"%s - %s", article.GetString(), AfxGetAppName());
    SetWindowText(title);
    m_strCurrentFile = path;
    m_bNotInFile = false;
    ShowStatus(path);
    // The loaded settings are in the file already; they may go to a device.
    EnableSaveAndWrite(false, m_bDataValid);
}

bool CCorvaneDlg::ChooseSettingsFile(bool forSaving, CString& path)
{
    const CCorvaneApp* app = GetCorvaneApp();
    const CString folder = app != nullptr ? app->GetDataFolder() : CString();
    const CString initial = CSettingsFileNames::InitialPath(folder, path, CSettingsFileNames::kSettingsExtension);
    return ChooseFile(!forSaving, initial, CSettingsFileNames::kSettingsExtension, Translate(L"FILE_FILTER"), path);
}

bool CCorvaneDlg::ChooseFile(bool open, const CString& initialPath, LPCWSTR extension, const CString& filter,
                             CString& path)
{
    CFileDialog dialog(open ? TRUE : FALSE, extension, initialPath, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter,
                       this);
    if (dialog.DoModal() != IDOK)
        return false;
    path = CSettingsFileNames::CleanPath(dialog.GetPathName());
    RememberFolder(path);
    return true;
}

void CCorvaneDlg::RememberFolder(const CString& path)
{
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileString(L"Folder", L"MyDocuments", CSettingsFileNames::FolderOf(path));
}

void CCorvaneDlg::ExportStatusLog()
{
    if (!CStatusLogFile::IsWorthSaving(StatusLog(), Translate(L"STATE_READY")))
        return;
    const CCorvaneApp* app = GetCorvaneApp();
    const CString folder = app != nullptr ? app->GetDataFolder() : CString();
    CString path;
    if (!ChooseFile(true, CSettingsFileNames::InitialPath(folder, CString(), CSettingsFileNames::kTextExtension),
                    CSettingsFileNames::kTextExtension, kTextFileFilter, path))
        return;
    switch (CStatusLogFile::Write(path, StatusLog())) {
    case ENStatusLogWrite::Written:
        break;
    case ENStatusLogWrite::CannotOpen:
        ZELLMessageBox(CString(L"The file cannot be opened:\n") + path, MB_ICONERROR, L"", 0);
        break;
    case ENStatusLogWrite::WriteFailed:
        ZELLMessageBox(CStatusLogFile::kWriteFailedText, 0, L"", 0);
        break;
    }
}

}  // namespace Corvane
