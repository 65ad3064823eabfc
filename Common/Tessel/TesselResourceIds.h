#pragma once
// Numbers of the library's own resources.

namespace Tessel {

// Icons of the message kinds (group icons, 16 and 32 pixels).
constexpr int IDI_ZELL_STOP = 2004;
constexpr int IDI_ZELL_ERROR = 2005;
constexpr int IDI_ZELL_WARNING = 2006;
constexpr int IDI_ZELL_QUESTION = 2007;
constexpr int IDI_ZELL_INFORMATION = 2009;

// Texts of the about dialog.
constexpr unsigned IDS_ABOUT_CAPTION = 2000;
constexpr unsigned IDS_ABOUT_FILES = 2001;
constexpr unsigned IDS_ABOUT_SYSTEM = 2002;
constexpr unsigned IDS_ABOUT_PHONE = 2003;
constexpr unsigned IDS_ABOUT_FAX = 2004;
constexpr unsigned IDS_ABOUT_COPYRIGHT = 2005;
constexpr unsigned IDS_ABOUT_SUPPORT_ADDRESS = 2006;
constexpr unsigned IDS_ABOUT_MAIL_PROMPT = 2007;
constexpr unsigned IDS_ABOUT_APPLICATION_INFO = 2008;
constexpr unsigned IDS_ABOUT_SYSTEM_INFO = 2009;
// The file list's headers: name, version and date follow each other.
constexpr unsigned IDS_ABOUT_FILE_NAME = 2010;
constexpr unsigned IDS_ABOUT_VERSION = 2013;
constexpr unsigned IDS_ABOUT_CLOSE = 2014;

// Captions of the message box's buttons and check boxes.
constexpr unsigned IDS_MSGBOX_OK = 9001;
constexpr unsigned IDS_MSGBOX_CANCEL = 9002;
constexpr unsigned IDS_MSGBOX_IGNORE = 9003;
constexpr unsigned IDS_MSGBOX_RETRY = 9004;
constexpr unsigned IDS_MSGBOX_ABORT = 9005;
constexpr unsigned IDS_MSGBOX_HELP = 9006;
constexpr unsigned IDS_MSGBOX_YES = 9007;
constexpr unsigned IDS_MSGBOX_NO = 9008;
constexpr unsigned IDS_MSGBOX_CONTINUE = 9009;
constexpr unsigned IDS_MSGBOX_DONT_ASK_AGAIN = 9010;
constexpr unsigned IDS_MSGBOX_DONT_TELL_AGAIN = 9011;
constexpr unsigned IDS_MSGBOX_DONT_SHOW_AGAIN = 9012;
constexpr unsigned IDS_MSGBOX_YES_TO_ALL = 9013;
constexpr unsigned IDS_MSGBOX_NO_TO_ALL = 9014;
constexpr unsigned IDS_MSGBOX_TRY_AGAIN = 9015;
constexpr unsigned IDS_MSGBOX_REPORT = 9016;
constexpr unsigned IDS_MSGBOX_IGNORE_ALL = 9017;
constexpr unsigned IDS_MSGBOX_SKIP = 9018;
constexpr unsigned IDS_MSGBOX_SKIP_ALL = 9019;

}
