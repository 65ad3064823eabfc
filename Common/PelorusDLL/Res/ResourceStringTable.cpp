// The texts of the error handler. Details texts without a German version
// show in English under German as well.

#include "Common/PelorusDLL/ResourceStrings.h"

namespace Pelorus {

namespace {

const ResourceString kTable[] = {
    {6098, L"Errorcode: 0x%08X (%d)", L"Fehlercode: 0x%08X (%d)"},
    {6099, L"Unknown Error !", L"Unbekannter Fehler !"},
    {6101, L"Receive Queue Overflow Error", L"\u00dcberlauf des Empfangspuffer !"},
    {6102, L"Receive Overrun Error", L"\u00dcberlauf Fehler !"},
    {6103, L"Receive Parity Error", L"Falsche Parit\u00e4t !"},
    {6104, L"Receive Framing Error", L"Fehlerhafter Datenrahmen !"},
    {6105, L"RX Break Detected", L"Unterbrechung der Kommunikation !"},
    {6106, L"TX Queue is full", L"Der Sendepuffer ist voll !"},
    {6107, L"Timeout while connecting to fieldbus coupler !", L"Timeout beim Verbinden mit dem Buskoppler !"},
    {6108, L"Invalid response telegram !", L"Ung\u00fcltiges Antworttelegramm !"},
    {6119, L"Invalid checksum !", L"Falsche Pr\u00fcfsumme !"},
    {6121, L"An input buffer overflow has occurred. There is either no room in the input buffer, or a character "
           L"was received after the end-of-file (EOF) character.",
     nullptr},
    {6122, L"A character-buffer overrun has occurred. The next character is lost.", nullptr},
    {6123, L"The hardware detected a parity error.", nullptr},
    {6124, L"The hardware detected a framing error.", nullptr},
    {6125, L"The hardware detected a break condition.", nullptr},
    {6126, L"The application tried to transmit a character, but the output buffer was full.", nullptr},
    {6127, L"The fieldbus coupler (FBC) did not reply within a given time.\r\n\r\nPossible Reasons:\r\n- The "
           L"Fieldbus couplers power supply was interrupted.\r\n- The connection between your PC and the FBC was "
           L"interrupted.\r\n- Different communication settings for your PC and the FBC.",
     nullptr},
    {6128, L"Reason:\tInvalid number of bytes for the reponse data.", nullptr},
    {6129, L"Invaild STX for the response data.", nullptr},
    {6200, L"Communication Port Error", L"Schnittstellenfehler"},
    {6201, L"COM-Port not found !", L"Schnittstelle nicht gefunden !"},
    {6202, L"Acces denied !", L"Zugriff verweigert !"},
    {6203, L"Invalid handle value !", L"Ung\u00fcltiges Device-Handle !"},
    {6204, L"COM-Port not opened !", L"Keine Schnittstelle ge\u00f6ffnet !"},
    {6221, L"Reason:\t%s is not installed into your PC.\r\n\r\nRemedy:\tSelect another port.", nullptr},
    {6222, L"Reason:\t%s is already used by another application.\r\n\r\nRemedy:\t- Check serial interface settings "
           L"or \r\n\t- select another port or \r\n\t- close the other application.",
     nullptr},
    {6223, L"Reason:\tThe device handle for %s is invalid.", nullptr},
    {6224, L"Reason:\t%s is not opened.\r\n\r\nRemedy:\t- Open the serial interface again or \r\n\t- select another "
           L"serial interface.",
     nullptr},
    {6300, L"Terminal bus Error", L"Klemmenbusfehler"},
    {6301, L"Terminal bus reset failed !", L"Klemmenbusreset Fehler !"},
    {6302, L"ERROR_KB_LOOPBACK", L"ERROR_KB_LOOPBACK"},
    {6303, L"ERROR_KB_CHECKWIRE", L"ERROR_KB_CHECKWIRE"},
    {6304, L"Command Error !", L"Kommandofehler !"},
    {6305, L"Terminal bus interruption", L"Unterbrechung des Klemmenbus"},
    {6306, L"ERROR_KB_TESTDATA", L"Datentestfehler !"},
    {6307, L"Invalid process image !", L"Fehlerhaftes Proze\u00dfabbild !"},
    {6308, L"Moudule test failed !", L"Klemmentest Fehler !"},
    {6309, L"Type test failed !", L"Typentest Fehler !"},
    {6310, L"ERROR_KB_TESTPTP", L"Fehlerhafte Registerkommunikation !"},
    {6311, L"Invalid command !", L"Falsches Kommando !"},
    {6312, L"ERROR_KB_TEST_SELECT", L"ERROR_KB_TEST_SELECT"},
    {6313, L"ERROR_KB_TRNS_ALIGN_BITS", L"ERROR_KB_TRNS_ALIGN_BITS"},
    {6314, L"ERROR_KB_SIZE_AFTER_ALIGN", L"ERROR_KB_SIZE_AFTER_ALIGN"},
    {6315, L"Write protection not cleared !", L"Schreibschutz nicht aufgehoben !"},
    {6316, L"Write protection not set !", L"Schreibschutz nicht gesetzt !"},
    {6331, L"---", nullptr},
    {6332, L"---", nullptr},
    {6333, L"---", nullptr},
    {6334, L"A valid command was handled incorrect by module at position %d.", nullptr},
    {6335, L"Terminal bus interruption next to module at position %d.", nullptr},
    {6336, L"A test image was changed on the terminal bus.", nullptr},
    {6337, L"Invalid process image for module at position %d.", nullptr},
    {6338, L"Module testing for module at position %d failed.", nullptr},
    {6339, L"Type testing for module at position %d failed.", nullptr},
    {6340, L"Error during communication with module at position %d.", nullptr},
    {6341, L"An invalid command was send for module at position %d.", nullptr},
    {6342, L"---", nullptr},
    {6343, L"---", nullptr},
    {6344, L"---", nullptr},
    {6345, L"Failed to clear write protection for a complex module.", nullptr},
    {6346, L"Failed to set write protection for a complex module.", nullptr},
    {6360, L"Fieldbus Coupler Error", L"Buskopplerfehler"},
    {6361, L"Invalid table !", L"Ung\u00fcltiger Tabellenzugriff !"},
    {6362, L"Invalid register !", L"Ung\u00fcltiger Registerzugriff !"},
    {6363, L"Write access  disabled !", L"BK Schreibzugriff gesperrt !"},
    {6364, L"Write error !", L"Schreibfehler !"},
    {6365, L"Invalid number of arguments !", L"Falsche Argumentanzahl !"},
    {6366, L"Previous service is not yet ready !", L"Vorhergehender Dienst aktiv !"},
    {6367, L"Invalid service request !", L"Dienst nicht unterst\u00fctzt !"},
    {6368, L"Invalid argument !", L"Ung\u00fcltige Argumente !"},
    {6369, L"Service rejected !", L"Dienst abgewiesen !"},
    {6370, L"Invalid address range !", L"Unzul\u00e4ssiger Adressbereich !"},
    {6371, L"Invalid number of register requested !", L"Unzul\u00e4ssige Registeranzahl !"},
    {6381, L"Table %d is not used by the fieldbus coupler.", nullptr},
    {6382, L"Table %d does not contains register %d.", nullptr},
    {6383, L"Write protection must be cleared before changing register %d.", nullptr},
    {6384, L"Register %d could not be written.", nullptr},
    {6385, L"Invalid number of arguments for function '%s'.", nullptr},
    {6386, L"Function '%s' could not be served while another function is running.", nullptr},
    {6387, L"Function '%s' is not supported by the connetcted fieldbus coupler.", nullptr},
    {6388, L"Invalid arguments for function '%s'.", nullptr},
    {6389, L"Function '%s' was rejected by the fieldbus coupler.", nullptr},
    {6390, L"Acces out of table range.\r\nTable %d does not contains register %d.", nullptr},
    {6391, L"Table %d does not contain the requested number of register.", nullptr},
    {6400, L"Register Communication Error", L"Registerkommunikationsfehler"},
    {6401, L"Register communications not supported !", L"Registerkommunikation nicht unterst\u00fctzt !"},
    {6402, L"Register communication failed !", L"Keine Registerkommunikation !"},
    {6403, L"Timeout during register communication.", L"Timeout Fehler !"},
    {6404, L"Register communication failed !", L"Keine Registerkommunikation !"},
    {6421, L"Register communication not supported by module at position %d.", nullptr},
    {6422, L"Register communication failed for module at position %d (channel %d).\r\n\r\nPossible Reasons:\r\n- A "
           L"terminal bus error occured.\r\n- The module is not a processor module.\r\n- The requested channel is "
           L"out of channel range.\r\n- The logical channel does not exist.\r\n- The PTB Bit of the module is not "
           L"set.\r\n- Invalid bit offset for the module.",
     nullptr},
    {6423, L"The PTP state did not changed for n cycles.", nullptr},
    {6424, L"Invalid PTP state.", nullptr},
    {6460, L"Process image not running !", L"Proze\u00dfabbild nicht aktiv !"},
    {6461, L"The required process image will not be processed by the fieldbus coupler.", nullptr},
    {6462, L"Invalid process image length !", L"Ung\u00fcltige Proze\u00dfabbildl\u00e4nge !"},
    {6463, L"The fieldbus coupler does not have enough memory for preparing the process image.\nThe process image "
           L"will not be handle by the fieldbus coupler.",
     nullptr},
    {6464, L"Invalid process image !", L"Ung\u00fcltiges Proze\u00dfabbild !"},
    {6465, L"The required process image will not be processed correctly by the fieldbus coupler.", nullptr},
    {6466, L"Service '%s' rejected !", L"'%s' nicht ausgef\u00fchrt !"},
    {6467, L"The service '%s' was rejected by the fieldbus coupler.\r\n\r\nReason:\r\n-The connected fieldbus is "
           L"active.\n\nThe connected fieldbus is active.",
     nullptr},
    {6468, L"Service '%s' rejected !", L"'%s' nicht ausgef\u00fchrt !"},
    {6469, L"The service '%s' was rejected by the fieldbus coupler.\r\n\r\nReason:\tA Orbis application is "
           L"running.\r\n\r\nRemedy:\tTo stop programm processing change the \r\n\toperating mode switch from top to "
           L"middle position.",
     nullptr},
    {6470, L"Table protecetd !", L"Schreibzugriff auf BK Tabelle gesperrt !"},
    {6471, L"Table %d is write protected.\r\nIt is not possible to write register  %d.", nullptr},
    {6650, L"Terminal bus command error !", L"Klemmenbus-Kommandofehler !"},
    {6651, L"Error while transmitting input data after module %d !",
     L"Fehler beim \u00dcbertragen der Eingangsdaten nach Klemme %d !"},
    {6652, L"Error while transmitting output data after module %d !",
     L"Fehler beim \u00dcbertragen der Ausgangsdaten nach Klemme %d !"},
    {6653, L"Terminal bus timeout !", L"Klemmenbus-Timeout !"},
    {6654, L"Error following a termin bus reset !", L"Fehler nach einem Klemmenbusreset !"},
    {6700, L"Error", L"Fehler"},
    {6701, L"Invalid node configuration !", L"Ung\u00fcltige Knotenkonfiguration !"},
    {6702, L"The fieldbus coupler faild to read module data from the terminal bus.\r\n\r\nPossible Reasons:\r\n- "
           L"The terminal bus is interrupted.\r\n- The end module is missing.",
     nullptr},
    {6704, L"Protokollfehler", L"Protokollfehler"},
    {6705, L"Falsche Argumentanzhl vom Orbis!", L"Falsche Argumentanzhl vom Orbis!"},
    {6706, L"Der Orbis hat einen Dienst mit einer unzul\u00e4ssigen Argumentanzahl beantwortet.",
     L"Der Orbis hat einen Dienst mit einer unzul\u00e4ssigen Argumentanzahl beantwortet."},
    {6707, nullptr, L"Control-Modus nicht eingeschaltet!"},
    {6708, nullptr, L"Der Control-Modus konnte nicht eingeschaltet werden."},
    {6709, nullptr, L"Der Control-Modus kann nicht eingeschaltet werden, solange der Monitor-Modus eingeschaltet ist."},
    {6710, nullptr, L"Der Control-Modus kann nicht eingeschaltet werden, solange der Feldbus aktiv ist."},
    {6711, nullptr, L"Monitor-Modus nicht eingeschaltet!"},
    {6712, nullptr, L"Der Monitor-Modus konnte nicht eingeschaltet werden."},
    {6713, nullptr, L"Der Monitor-Modus kann nicht eingeschaltet werden, solange der Control-Modus eingeschaltet ist."},
    {6714, L"Malformed answer !", L"Fehlerhafte Antwort !"},
    {6715, L"The device answered, but the answer does not fit the protocol: its length, its header or its counts "
           L"are wrong.\r\n\r\nPossible Reasons:\r\n- Another program or device answers at this address and "
           L"port.\r\n- The device's firmware is faulty.",
     L"Das Ger\u00e4t hat geantwortet, aber die Antwort passt nicht zum Protokoll: ihre L\u00e4nge, ihr Kopf oder "
     L"ihre Z\u00e4hler sind falsch.\r\n\r\nM\u00f6gliche Ursachen:\r\n- Unter dieser Adresse und diesem Port "
     L"antwortet ein anderes Programm oder Ger\u00e4t.\r\n- Die Firmware des Ger\u00e4ts ist fehlerhaft."},
    {6716, L"Answer too long !", L"Antwort zu lang !"},
    {6717, L"The device announced an answer longer than any service gives; it was not fetched.",
     L"Das Ger\u00e4t hat eine Antwort angek\u00fcndigt, die l\u00e4nger ist als jede Dienstantwort; sie wurde nicht "
     L"abgeholt."},
};

}

const ResourceString* ResourceStringTable(std::size_t& count)
{
    count = sizeof(kTable) / sizeof(kTable[0]);
    return kTable;
}

}
