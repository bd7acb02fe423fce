// Resource ids of KvHtmlToPic.exe.
#pragma once

#define IDD_LOADING 100
// Hidden statics whose user data hold the browser and the event cookie.
#define IDC_BROWSER 10000
#define IDC_COOKIE 10001
// The usage text (Windows-1251), written beside the program in help mode.
#define IDCMD 101
