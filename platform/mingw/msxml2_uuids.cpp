// Interface identifiers that <msxml2.h> declares and mingw-w64's uuid library does not define.
#include <msxml2.h>

// {ED8C108D-4349-11D2-91A4-00C04F7969E8}
extern "C" const IID IID_IXMLHTTPRequest = {
    0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
