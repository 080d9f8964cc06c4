/* Every header whose functions the program may import. Nothing else is
   defined: UNICODE stays off so the A and W names are both declared as
   themselves, and WIN32_LEAN_AND_MEAN stays off so windows.h brings in all
   it can. */
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>
#include <commdlg.h>
#include <iphlpapi.h>
#include <mmsystem.h>
#include <objbase.h>
#include <psapi.h>
#include <richedit.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <uxtheme.h>
#include <wininet.h>
#include <winioctl.h>
#include <winver.h>
