#include "Platform/Shell/ShellDialog.h"

#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Shell/PathConversion.h"

#include <filesystem>
#include <vector>

namespace ZELL::Shell {

INT_PTR CShellDialog::RunModal(HWND owner)
{
    if (!Controls::RegisterStandardControls())
        return -1;
    const std::vector<BYTE> image = Template().ToImage();
    if (image.empty())
        return -1;
    const INT_PTR answer = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), owner,
                                                   &CShellDialog::Procedure, reinterpret_cast<LPARAM>(this));
    m_dialog = nullptr;
    return answer;
}

INT_PTR CShellDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<CShellDialog*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<CShellDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CShellDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
    default:
        return OnOtherMessage(message, wParam, lParam) ? TRUE : FALSE;
    }
}

std::wstring CShellDialog::TextOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring CShellDialog::ItemText(int id) const { return TextOf(Item(id)); }

void CShellDialog::SetItemText(int id, const std::wstring& text) const { SetDlgItemTextW(m_dialog, id, text.c_str()); }

void CShellDialog::Warn(const std::wstring& text) const
{
    MessageBoxW(m_dialog, text.c_str(), TextOf(m_dialog).c_str(), MB_OK | MB_ICONWARNING);
}

bool CShellDialog::AskYesNo(const std::wstring& text) const
{
    return MessageBoxW(m_dialog, text.c_str(), TextOf(m_dialog).c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
           IDYES;
}

void CShellDialog::WarnAboutFolder(const std::wstring& folder, const wchar_t* what, const std::error_code& error) const
{
    Warn(folder + L"\n\nThe folder cannot be " + what + L": " + Text::Utf8ToWide(error.message()) + L".");
}

std::wstring CShellDialog::MakeNewFolderIn(const std::wstring& folder) const
{
    std::wstring name = L"New folder";
    std::error_code error;
    for (int n = 2; std::filesystem::exists(FsPath(ChildPath(folder, name)), error) && n < 1000; ++n)
        name = L"New folder (" + std::to_wstring(n) + L")";
    if (!std::filesystem::create_directory(FsPath(ChildPath(folder, name)), error)) {
        WarnAboutFolder(ChildPath(folder, name), L"made", error);
        return {};
    }
    return name;
}

std::wstring CShellDialog::ChildPath(const std::wstring& folder, const std::wstring& name)
{
    return folder == L"/" ? L"/" + name : folder + L"/" + name;
}

Ui::CDialogTemplate CShellDialog::Frame(const std::wstring& caption, short cx, short cy)
{
    Ui::CDialogTemplate frame;
    // No font of its own: the dialog takes the message font, as the system's boxes do.
    frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER;
    frame.caption = caption;
    frame.cx = cx;
    frame.cy = cy;
    return frame;
}

Ui::DialogItemTemplate CShellDialog::Control(Ui::NameOrOrdinal windowClass, const std::wstring& text, int id,
                                             DWORD style, short x, short y, short cx, short cy)
{
    return Ui::VisibleControl(std::move(windowClass), text, id, style, x, y, cx, cy);
}

}  // namespace ZELL::Shell
