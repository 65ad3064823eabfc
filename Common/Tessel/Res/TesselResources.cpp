// The library's texts in German, English and French, and its icons (our own
// art, drawn by DrawIcons.py).
#include "Common/Tessel/TesselResourceIds.h"

#include "Platform/Ui/ResourceTable.h"

#include "Embedded/Error16.png.h"
#include "Embedded/Error32.png.h"
#include "Embedded/Information16.png.h"
#include "Embedded/Information32.png.h"
#include "Embedded/Question16.png.h"
#include "Embedded/Question32.png.h"
#include "Embedded/Stop16.png.h"
#include "Embedded/Stop32.png.h"
#include "Embedded/Warning16.png.h"
#include "Embedded/Warning32.png.h"

namespace Tessel {

namespace {

using namespace Ui::Res;

const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {2000, L"About %s ..."},
    {2001, L"Files"},
    {2002, L"System"},
    {2003, L"Phone:"},
    {2004, L"Fax:"},
    {2005, L"Copyright \u00a9 Zell Software. All rights reserved."},
    {2006, L"support@zell-software.example"},
    {2007, L"<Please enter your text here.>"},
    {2008, L"Application Information"},
    {2009, L"System Informationen"},
    {2010, L"File Name"},
    {2011, L"File Version"},
    {2012, L"Creation Date"},
    {2013, L"Version"},
    {2014, L"&Close"},
    {IDS_MSGBOX_OK, L"OK"},
    {IDS_MSGBOX_CANCEL, L"&Cancel"},
    {IDS_MSGBOX_IGNORE, L"&Ignore"},
    {IDS_MSGBOX_RETRY, L"&Retry"},
    {IDS_MSGBOX_ABORT, L"&Abort"},
    {IDS_MSGBOX_HELP, L"&Help"},
    {IDS_MSGBOX_YES, L"&Yes"},
    {IDS_MSGBOX_NO, L"&No"},
    {IDS_MSGBOX_CONTINUE, L"&Continue"},
    {IDS_MSGBOX_DONT_ASK_AGAIN, L"Don't ask me again"},
    {IDS_MSGBOX_DONT_TELL_AGAIN, L"Don't tell me again"},
    {IDS_MSGBOX_DONT_SHOW_AGAIN, L"Don't show again"},
    {IDS_MSGBOX_YES_TO_ALL, L"Y&es to All"},
    {IDS_MSGBOX_NO_TO_ALL, L"N&o to All"},
    {IDS_MSGBOX_TRY_AGAIN, L"&Try Again"},
    {IDS_MSGBOX_REPORT, L"Re&port"},
    {IDS_MSGBOX_IGNORE_ALL, L"I&gnore All"},
    {IDS_MSGBOX_SKIP, L"&Skip"},
    {IDS_MSGBOX_SKIP_ALL, L"S&kip All"},
}};

const StringTable kGerman{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), {
    {2000, L"Info \u00fcber %s ..."},
    {2001, L"Dateien"},
    {2002, L"System"},
    {2003, L"Telefon:"},
    {2004, L"Fax:"},
    {2005, L"Copyright \u00a9 Zell Software. Alle Rechte vorbehalten."},
    {2006, L"support@zell-software.example"},
    {2007, L"<Bitte geben Sie hier Ihre Anfrage ein.>"},
    {2008, L"Anwendungsinformationen"},
    {2009, L"Systeminformationen"},
    {2010, L"Dateiname"},
    {2011, L"Dateiversion"},
    {2012, L"Erstelldatum"},
    {2013, L"Version"},
    {2014, L"Schlie\u00dfen"},
    {IDS_MSGBOX_OK, L"OK"},
    {IDS_MSGBOX_CANCEL, L"&Abbrechen"},
    {IDS_MSGBOX_IGNORE, L"&Ignorieren"},
    {IDS_MSGBOX_RETRY, L"&Wiederholen"},
    {IDS_MSGBOX_ABORT, L"Ab&bruch"},
    {IDS_MSGBOX_HELP, L"&Hilfe"},
    {IDS_MSGBOX_YES, L"&Ja"},
    {IDS_MSGBOX_NO, L"&Nein"},
    {IDS_MSGBOX_CONTINUE, L"&Weiter"},
    {IDS_MSGBOX_DONT_ASK_AGAIN, L"Nicht mehr fragen"},
    {IDS_MSGBOX_DONT_TELL_AGAIN, L"Nicht mehr mitteilen"},
    {IDS_MSGBOX_DONT_SHOW_AGAIN, L"Nicht mehr anzeigen"},
    {IDS_MSGBOX_YES_TO_ALL, L"J&a, alle"},
    {IDS_MSGBOX_NO_TO_ALL, L"N&ein, keine"},
    {IDS_MSGBOX_TRY_AGAIN, L"&Erneut versuchen"},
    {IDS_MSGBOX_REPORT, L"&Melden"},
    {IDS_MSGBOX_IGNORE_ALL, L"A&lle ignorieren"},
    {IDS_MSGBOX_SKIP, L"\u00dc&berspringen"},
    {IDS_MSGBOX_SKIP_ALL, L"Alle \u00fcbe&rspringen"},
}};

const StringTable kFrench{MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), {
    {2000, L"\u00c0 propos %s ..."},
    {2001, L"Fichiers"},
    {2002, L"Syst\u00e8me"},
    {2003, L"T\u00e9l\u00e9phone:"},
    {2004, L"Fax:"},
    {2005, L"Copyright \u00a9 Zell Software. Tous droits r\u00e9serv\u00e9s."},
    {2006, L"support@zell-software.example"},
    {2007, L"<Veuillez entrer votre texte ici.>"},
    {2008, L"Information de l'application"},
    {2009, L"Informations Syst\u00e8me"},
    {2010, L"Nom de fichier"},
    {2011, L"Version du fichier"},
    {2012, L"Date de cr\u00e9ation"},
    {2013, L"Version"},
    {2014, L"&Fermer"},
    {IDS_MSGBOX_OK, L"OK"},
    {IDS_MSGBOX_CANCEL, L"&Annuler"},
    {IDS_MSGBOX_IGNORE, L"&Ignorer"},
    {IDS_MSGBOX_RETRY, L"&R\u00e9essayer"},
    {IDS_MSGBOX_ABORT, L"A&bandonner"},
    {IDS_MSGBOX_HELP, L"A&ide"},
    {IDS_MSGBOX_YES, L"&Oui"},
    {IDS_MSGBOX_NO, L"&Non"},
    {IDS_MSGBOX_CONTINUE, L"&Continuer"},
    {IDS_MSGBOX_DONT_ASK_AGAIN, L"Ne plus me demander"},
    {IDS_MSGBOX_DONT_TELL_AGAIN, L"Ne plus m'informer"},
    {IDS_MSGBOX_DONT_SHOW_AGAIN, L"Ne plus afficher"},
    {IDS_MSGBOX_YES_TO_ALL, L"O&ui pour tout"},
    {IDS_MSGBOX_NO_TO_ALL, L"No&n pour tout"},
    {IDS_MSGBOX_TRY_AGAIN, L"R&ecommencer"},
    {IDS_MSGBOX_REPORT, L"Si&gnaler"},
    {IDS_MSGBOX_IGNORE_ALL, L"I&gnorer tout"},
    {IDS_MSGBOX_SKIP, L"&Passer"},
    {IDS_MSGBOX_SKIP_ALL, L"Passer &tout"},
}};

const Image kStop{ImageKind::Icon, IDI_ZELL_STOP, {Bytes(Stop16_png), Bytes(Stop32_png)}};
const Image kError{ImageKind::Icon, IDI_ZELL_ERROR, {Bytes(Error16_png), Bytes(Error32_png)}};
const Image kWarning{ImageKind::Icon, IDI_ZELL_WARNING, {Bytes(Warning16_png), Bytes(Warning32_png)}};
const Image kQuestion{ImageKind::Icon, IDI_ZELL_QUESTION, {Bytes(Question16_png), Bytes(Question32_png)}};
const Image kInformation{ImageKind::Icon, IDI_ZELL_INFORMATION, {Bytes(Information16_png), Bytes(Information32_png)}};

const ResourceTable kTable{
    .strings = {&kEnglish, &kGerman, &kFrench},
    .images = {&kStop, &kError, &kWarning, &kQuestion, &kInformation},
};
const Registration kRegistration{kTable};

}

}
